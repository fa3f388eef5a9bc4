#pragma once

#include <map>
#include <optional>
#include <string>

namespace core {

// The process environment as the program sees it, captured once by main()
// so that no code below src/app reads getenv() and tests build their own.
class Environment {
 public:
  Environment() = default;
  static Environment fromProcess();

  std::optional<std::string> get(const std::string& name) const;
  std::string getOr(const std::string& name, const std::string& fallback) const;
  void set(const std::string& name, const std::string& value) { vars_[name] = value; }
  void unset(const std::string& name) { vars_.erase(name); }
  const std::map<std::string, std::string>& all() const { return vars_; }

  std::string home() const;  // $HOME, else "/"

 private:
  std::map<std::string, std::string> vars_;
};

}  // namespace core
