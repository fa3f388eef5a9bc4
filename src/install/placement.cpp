#include "install/placement.h"

#include "core/codepage.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/list_input.h"
#include "core/text.h"
#include "install/temp_zip.h"

namespace install {

const PlacementRule* FirstMatch(const std::vector<PlacementRule>& rules, std::string_view name) {
  const std::string lowered = core::lower(name);
  for (const auto& rule : rules) {
    switch (rule.test) {
      case PlacementRule::Test::WholeName:
        if (lowered == rule.text) return &rule;
        break;
      case PlacementRule::Test::EndsWith:
        if (core::right(lowered, rule.text.size()) == rule.text) return &rule;
        break;
      case PlacementRule::Test::Anything:
        return &rule;
    }
  }
  return nullptr;
}

void PlaceFiles(core::Context& ctx, const std::vector<PlacementRule>& rules) {
  const std::string prefix = TempZipPrefix(ctx);
  for (const auto& name : ctx.fs.listFiles(TempZipFolder(ctx))) {
    const PlacementRule* rule = FirstMatch(rules, name);
    if (rule && rule->target) ctx.fs.copyFile(prefix + name, *rule->target + name);
  }
}

std::vector<std::string> ReadListInputFields(core::Context& ctx, const std::string& path) {
  std::string bytes;
  if (!core::step([&] { bytes = ctx.fs.readFile(path); })) return {};
  return core::splitListInput(core::cp1252ToUtf8(bytes));
}

std::string ValueOfField(std::string_view field) {
  auto eq = field.find('=');
  return std::string(eq == std::string_view::npos ? field : field.substr(eq + 1));
}

bool AskAddonName(core::Context& ctx, std::uint8_t mode) {
  auto& windows = ctx.windows();
  ctx.state.namePromptMode = mode;
  windows.hideProgress();
  windows.setMainWindowEnabled(false);
  windows.showNamePrompt();
  windows.showProgress();
  windows.repaintProgress();
  return ctx.state.namePromptMode == 10;
}

}  // namespace install
