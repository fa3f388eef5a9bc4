#pragma once

// What every benchmark program prints after its table: each measurement
// against its reference, both measured in the same run, and the machine's
// load at the time, since on a shared machine the ratio is what can be
// compared from run to run. Where a benchmark counts its processor time
// ("cpu_s", this process's and that of the programs it ran), the ratio of
// those is printed too: on a machine busy with other work it shows the cost
// that the wall-clock time hides behind waiting for a processor.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace bench {

// Processor seconds, user and system, of this process and of the child
// processes it has waited for.
inline double cpuSeconds() {
  double total = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage usage{};
    getrusage(who, &usage);
    total += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
             double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  }
  return total;
}

// Runs work, adding its processor seconds to total.
template <class Work>
void countCpu(double& total, Work&& work) {
  const double start = cpuSeconds();
  work();
  total += cpuSeconds() - start;
}

// Sets the "cpu_s" counter of a benchmark to the mean of total over its
// iterations.
inline void reportCpu(benchmark::State& state, double total) {
  state.counters["cpu_s"] = benchmark::Counter(total, benchmark::Counter::kAvgIterations);
}

// Keeps each benchmark's mean real time and processor time, in seconds; a
// benchmark registered more than once (rounds taken in turn with those of
// its reference) counts with the mean of its runs.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0;
    double cpu = 0;  // 0 when not counted
    int runs = 0;
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      Times& t = times[run.benchmark_name()];
      const double n = t.runs++;
      const double real = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      t.real = (t.real * n + real) / (n + 1);
      if (auto cpu = run.counters.find("cpu_s"); cpu != run.counters.end())
        t.cpu = (t.cpu * n + cpu->second.value) / (n + 1);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The times of the benchmark whose name is name, or starts with name and
  // "/" (the options Google Benchmark appends); zero when it did not run.
  Times of(std::string_view name) const {
    for (const auto& [full, t] : times)
      if (full == name ||
          (full.size() > name.size() && full.compare(0, name.size(), name) == 0 && full[name.size()] == '/'))
        return t;
    return {};
  }
  double seconds(std::string_view name) const { return of(name).real; }

  // Prints "what: measured against reference = ratio", for the processor
  // time too where both count it, and returns the ratio of the real times
  // (0 when either did not run).
  double printRatio(std::string_view what, std::string_view measured, std::string_view reference) const {
    const Times m = of(measured), r = of(reference);
    if (m.real <= 0 || r.real <= 0) {
      std::printf("%.*s: not measured\n", int(what.size()), what.data());
      return 0;
    }
    std::printf("%.*s: %.4g ms against %.4g ms = %.2fx", int(what.size()), what.data(), m.real * 1e3, r.real * 1e3,
                m.real / r.real);
    if (m.cpu > 0 && r.cpu > 0)
      std::printf("; processor %.4g ms against %.4g ms = %.2fx", m.cpu * 1e3, r.cpu * 1e3, m.cpu / r.cpu);
    std::printf("\n");
    return m.real / r.real;
  }

  std::map<std::string, Times> times;
};

// The load averages of /proc/loadavg and the number of processors, for the
// summary.
inline void printLoad() {
  std::ifstream in("/proc/loadavg");
  double one = 0, five = 0, fifteen = 0;
  in >> one >> five >> fifteen;
  std::printf("load average %.2f, %.2f, %.2f on %u processors\n", one, five, fifteen,
              static_cast<unsigned>(std::thread::hardware_concurrency()));
}

}  // namespace bench
