#include "core/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "core/errors.h"
#include "support/built_paths.h"
#include "support/error_number.h"
#include "support/sim_fixture.h"

namespace {

namespace fsys = std::filesystem;
using Args = std::vector<std::string>;
using testsupport::errorNumberOf;
using testsupport::hostExists;
using testsupport::readHostFile;

TEST(SplitCommandLine, FollowsTheWindowsRuntimeRules) {
  struct Case {
    const char* name;
    const char* line;
    Args args;
  };
  const Case cases[] = {
      {"blanks and tabs separate, repeated or not", "  p \t a   b  ", {"p", "a", "b"}},
      {"quotes group blanks", R"(p "C:\Program Files\x.sif" y)", {"p", R"(C:\Program Files\x.sif)", "y"}},
      {"quotes in the middle of a word", R"(p a"b c"d)", {"p", "ab cd"}},
      {"backslashes not before a quote are literal", R"(p C:\a\\b\)", {"p", R"(C:\a\\b\)"}},
      {"2n backslashes before a quote give n", R"(p "a\\" b)", {"p", R"(a\)", "b"}},
      {"2n+1 backslashes give n and a quote", R"(p a\\\"b)", {"p", R"(a\"b)"}},
      {"doubled quote inside a quoted run", R"(p "a""b" c)", {"p", R"(a"b)", "c"}},
      {"unclosed quote runs to the end", R"(p "a b)", {"p", "a b"}},
      {"program name: quotes vanish, backslashes stay", R"("C:\Tools\\" x)", {R"(C:\Tools\\)", "x"}},
      {"program name quoted in part", R"(C:\"Program Files"\o.exe /s)", {R"(C:\Program Files\o.exe)", "/s"}},
      {"shell characters are ordinary", "p a;b $(c) `d` |e &f", {"p", "a;b", "$(c)", "`d`", "|e", "&f"}},
      {"nothing", "  \t ", {}},
  };
  for (const auto& k : cases) EXPECT_EQ(core::splitCommandLine(k.line), k.args) << k.name;
}

TEST(QuoteCommandLineArgument, SplitsBackToTheSameArgument) {
  const char* const args[] = {
      "plain",   "",          "two words",      R"(C:\Program Files\)",      R"(ends in two\\)", R"(it's "quoted")",
      R"(a\"b)", "tab\there", "$(touch x);`y`", R"(\\server\share\a b.zip)",
  };
  for (const char* arg : args) {
    SCOPED_TRACE(arg);
    const std::string line = "prog " + core::quoteCommandLineArgument(arg) + " next";
    EXPECT_EQ(core::splitCommandLine(line), (Args{"prog", arg, "next"}));
  }
  EXPECT_EQ(core::quoteCommandLineArgument(R"(C:\FS\x.sif)"), R"(C:\FS\x.sif)");
}

class ProcessTest : public testsupport::SimFixture {
 protected:
  // A copy of the test program that records how it was started, at a
  // Windows path of the simulated tree; returns its host path.
  std::string installRecorder(std::string_view windowsPath) {
    const std::string target = host(windowsPath);
    fsys::create_directories(fsys::path(target).parent_path());
    fsys::copy_file(testsupport::argvRecorderProgram(), target, fsys::copy_options::overwrite_existing);
    fsys::permissions(target, fsys::perms(0755));
    return target;
  }

  // Every run the recorder at hostPath saw, each as its argv.
  static std::vector<Args> runsOf(const std::string& hostPath) {
    std::vector<Args> runs;
    if (!hostExists(hostPath + ".args")) return runs;
    std::istringstream fields(readHostFile(hostPath + ".args"));
    for (std::string field; std::getline(fields, field, '\0');)
      if (field == "RUN")
        runs.emplace_back();
      else
        runs.back().push_back(field);
    return runs;
  }

  // Every file under the test's tree whose name starts with "pwned".
  std::vector<std::string> markers() const {
    std::vector<std::string> found;
    for (const auto& e : fsys::recursive_directory_iterator(root))
      if (e.path().filename().string().rfind("pwned", 0) == 0) found.push_back(e.path().string());
    return found;
  }

  void usePath(const std::string& path) { ctx().env.set("PATH", path); }
};

TEST_F(ProcessTest, AFileNameWithShellCharactersIsOneArgumentAndRunsNothingElse) {
  const std::string program = installRecorder("C:\\Tools\\Ortholay.exe");
  // Quoted only when it holds blanks or quotes.
  const char* const names[] = {
      "a;touch pwned1;b.sif",
      "$(touch pwned2).sif",
      "it's \"quoted\" & | > pwned4 .sif",
      "$HOME ${IFS}touch${IFS}pwned7 *.sif",
      "$(touch${IFS}pwned8);`touch${IFS}pwned9`.sif",
  };
  for (const char* name : names) {
    SCOPED_TRACE(name);
    fsys::remove(program + ".args");
    const std::string file = std::string("C:\\Addons\\") + name;
    writeFile(file, "scenery");
    core::ShellAndWait(ctx(), "C:\\Tools\\Ortholay.exe " + core::quoteCommandLineArgument(file));
    EXPECT_EQ(runsOf(program), (std::vector<Args>{{program, file}}));
  }
  EXPECT_EQ(markers(), std::vector<std::string>{});
  EXPECT_TRUE(dialogs.messages().empty());
}

// An unquoted program path with blanks is tried at each blank, shortest
// first, in any spelling, a folder being no program; native programs run
// directly and other .exe files through the wine found on PATH. A line that
// names no program it can start fails with its error number.
TEST_F(ProcessTest, CommandLinesFindTheirProgramAndRunExeFilesThroughWine) {
  const std::string ortholay = installRecorder("C:\\Program Files\\Ortholay\\Ortholay.exe");
  fsys::create_directories(root + "/c/Program Files/Ortholay/Ortholay");
  const std::string wine = installRecorder("Z:\\bin\\wine");
  writeFile("C:\\FS2002\\aafconv.exe", std::string("MZ\x90\0\3\0", 6));
  writeFile("C:\\FS2002\\convert.EXE", "#!/bin/sh\nexit 0\n");
  fsys::permissions(host("C:\\FS2002\\convert.EXE"), fsys::perms(0755));
  writeFile("C:\\FS2002\\norun.exe",
            "\x7f"
            "ELF");
  writeFile("C:\\FS2002\\readme.txt", "text");
  const std::string exe = host("C:\\FS2002\\aafconv.exe");
  const std::string line = "C:\\Program Files\\Ortholay\\Ortholay.exe /quiet C:\\My Addons\\x.sif";
  usePath("relative/bin::" + root + "/bin:/usr/bin");
  const struct {
    std::string line;
    Args argv;
    int error = 0;
  } cases[] = {
      {line, {ortholay, "/quiet", "C:\\My", "Addons\\x.sif"}},
      {"c:\\PROGRAM FILES\\ortholay\\ORTHOLAY.EXE", {ortholay}},
      {"\"C:\\Program Files\\Ortholay\\Ortholay.exe\" a", {ortholay, "a"}},
      {"C:\\No Such\\x.exe a", {}, core::err::FileNotFound},
      {"Q:\\x.exe", {}, core::err::FileNotFound},
      {"C:\\FS2002\\aafconv.exe C:\\FS2002\\aafconv.cfg", {wine, exe, "C:\\FS2002\\aafconv.cfg"}},
      {"c:\\fs2002\\AAFCONV", {wine, exe}},
      {"C:\\FS2002\\convert.exe x", {host("C:\\FS2002\\convert.EXE"), "x"}},
      {"wine --version", {wine, "--version"}},
      {"C:\\FS2002\\norun.exe", {}, core::err::PermissionDenied},
      {"C:\\FS2002\\readme.txt", {}, core::err::InvalidProcedureCall},
      {"", {}, core::err::InvalidProcedureCall},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    if (!c.error) {
      EXPECT_EQ(core::requestForCommandLine(ctx(), c.line).argv, c.argv);
      continue;
    }
    // ShellAndWait shows the failure and returns.
    dialogs.expectMessage("ShellAndWait error " + std::to_string(c.error), "Error", core::Buttons::OK,
                          core::Icon::Exclamation);
    core::ShellAndWait(ctx(), c.line);
    EXPECT_TRUE(dialogs.done());
  }
  EXPECT_EQ(core::requestForCommandLine(ctx(), line).workingFolder, root + "/c/Program Files/Ortholay");

  // A file of the shorter name wins, as on the simulator's system; so does
  // that name with ".exe" added.
  const std::string programExe = installRecorder("C:\\Program.exe");
  EXPECT_EQ(core::requestForCommandLine(ctx(), line).argv,
            (Args{programExe, "Files\\Ortholay\\Ortholay.exe", "/quiet", "C:\\My", "Addons\\x.sif"}));
  const std::string program = installRecorder("C:\\Program");
  EXPECT_EQ(core::requestForCommandLine(ctx(), line).argv.front(), program);

  // Through the stand-in wine, end to end.
  core::ShellAndWait(ctx(), "C:\\FS2002\\aafconv.exe C:\\FS2002\\aafconv.cfg");
  EXPECT_EQ(runsOf(wine), (std::vector<Args>{{wine, exe, "C:\\FS2002\\aafconv.cfg"}}));
  EXPECT_EQ(readHostFile(wine + ".cwd"), root + "/c/FS2002");

  usePath(root + "/nothing");
  EXPECT_EQ(errorNumberOf([&] { core::requestForCommandLine(ctx(), "C:\\FS2002\\aafconv.exe"); }),
            core::err::FileNotFound);
}

TEST_F(ProcessTest, WaitingKeepsPaintingAndGivesTheExitStatus) {
  int ticks = 0;
  core::ProcessRequest sleep;
  sleep.argv = {"sleep", "0.4"};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(launcher->runAndWait(sleep, [&] { ++ticks; }), 0);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(400));
  EXPECT_GE(ticks, 4);
  EXPECT_LE(ticks, 12);

  const std::string program = installRecorder("C:\\Tools\\rec");
  // The recorder exits with its argument count, at once.
  core::ProcessRequest three;
  three.argv = {program, "x", "y", "z"};
  const auto quick = std::chrono::steady_clock::now();
  EXPECT_EQ(launcher->runAndWait(three, {}), 3);
  EXPECT_LT(std::chrono::steady_clock::now() - quick, std::chrono::milliseconds(1000));

  core::ProcessRequest missing;
  missing.argv = {root + "/no-such-program"};
  EXPECT_EQ(errorNumberOf([&] { launcher->runAndWait(missing, {}); }), core::err::FileNotFound);
}

TEST_F(ProcessTest, TheProgramsOwnDescriptorsStayBehind) {
  const std::string program = installRecorder("C:\\Tools\\rec");
  // Like the single-instance lock file: a descriptor opened without
  // close-on-exec.
  const int fd = ::open((root + "/app/lock").c_str(), O_CREAT | O_RDWR, 0644);
  ASSERT_GE(fd, 3);
  core::ShellAndWait(ctx(), "C:\\Tools\\rec");
  ::close(fd);
  // Only the standard ones (those the test runner gave) reach the program.
  std::istringstream fds(readHostFile(program + ".fds"));
  for (std::string line; std::getline(fds, line);) EXPECT_LT(std::stoi(line), 3) << "descriptor " << line;
}

TEST_F(ProcessTest, StartProgramDoesNotWait) {
  const std::string program = installRecorder("C:\\Tools\\viewer");
  writeFile("C:\\Tools\\slow", "#!/bin/sh\nexec sleep 3\n");
  fsys::permissions(host("C:\\Tools\\slow"), fsys::perms(0755));
  const auto start = std::chrono::steady_clock::now();
  core::StartProgram(ctx(), "C:\\Tools\\slow");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  core::StartProgram(ctx(), "C:\\Tools\\viewer C:\\help\\hangarpak.html");
  for (int i = 0; i < 200 && runsOf(program).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(runsOf(program), (std::vector<Args>{{program, "C:\\help\\hangarpak.html"}}));
  EXPECT_EQ(errorNumberOf([&] { core::StartProgram(ctx(), "C:\\Tools\\none"); }), core::err::FileNotFound);
}

}  // namespace
