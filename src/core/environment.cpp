#include "core/environment.h"

extern char** environ;

namespace core {

Environment Environment::fromProcess() {
  Environment env;
  for (char** p = environ; p && *p; ++p) {
    std::string entry(*p);
    auto eq = entry.find('=');
    if (eq != std::string::npos) env.vars_[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  return env;
}

std::optional<std::string> Environment::get(const std::string& name) const {
  auto it = vars_.find(name);
  if (it == vars_.end()) return std::nullopt;
  return it->second;
}

std::string Environment::getOr(const std::string& name, const std::string& fallback) const {
  auto v = get(name);
  return v && !v->empty() ? *v : fallback;
}

std::string Environment::home() const {
  return getOr("HOME", "/");
}

}  // namespace core
