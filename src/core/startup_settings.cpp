#include "core/startup_settings.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "core/context.h"
#include "core/errors.h"
#include "core/settings.h"
#include "core/text.h"

namespace core {

namespace {

std::optional<double> toNumber(std::string_view text) {
  const std::string t = trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  double value = 0;
  bool digits = false;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, digits = true) value = value * 10 + (t[i] - '0');
  if (i < t.size() && t[i] == '.') {
    double scale = 0.1;
    for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, digits = true, scale /= 10)
      value += (t[i] - '0') * scale;
  }
  if (!digits || i != t.size()) return std::nullopt;
  return negative ? -value : value;
}

long long toWhole(std::string_view text, long long min, long long max) {
  auto number = toNumber(text);
  if (!number) throw RuntimeError(err::TypeMismatch);
  const double rounded = std::nearbyint(*number);  // the default rounding mode is half to even
  if (rounded < static_cast<double>(min) || rounded > static_cast<double>(max)) throw RuntimeError(err::Overflow);
  return static_cast<long long>(rounded);
}

}  // namespace

std::int16_t toInt16(std::string_view text) {
  return static_cast<std::int16_t>(
      toWhole(text, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::uint8_t toByte(std::string_view text) {
  return static_cast<std::uint8_t>(toWhole(text, 0, 255));
}

void LoadSettings(Context& ctx) {
  auto get = [&](std::string_view section, std::string_view key, std::string_view def) {
    return ctx.settings.get(kSettingsApp, section, key, def);
  };
  AppState& s = ctx.state;
  s.startupFolder = get("Main", "Startup Path", "c:");
  (void)get("Main", "App Path", "");
  s.simFolder = get("Main", "FS Path", "");
  s.sceneryFolder = get("Main", "Scenery Path", "c:");
  s.simVersion = toInt16(get("Options", "FS Version", "1"));
  s.optInstallDoc = static_cast<Option>(toByte(get("Options", "Install Doc", "0")));
  s.optFolderName = static_cast<Option>(toByte(get("Options", "Folder Name", "0")));
  s.optRunManager = static_cast<Option>(toByte(get("Options", "Run Manager", "0")));
  s.optAddonName = static_cast<Option>(toByte(get("Options", "Addon Name", "2")));
  s.optAssociate = static_cast<Option>(toByte(get("Options", "Associate", "0")));
}

bool FirstRun(Context& ctx) {
  return ctx.settings.get(kSettingsApp, "Options", "RunOnce", "0") == "0";
}

void MarkFirstRunDone(Context& ctx) {
  ctx.settings.save(kSettingsApp, "Options", "RunOnce", "1");
}

}  // namespace core
