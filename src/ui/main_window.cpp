#include "ui/main_window.h"

#include "core/association.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/leftovers.h"
#include "core/process.h"
#include "core/settings.h"
#include "core/simulator.h"
#include "core/single_instance.h"
#include "core/startup_settings.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "journal/store.h"
#include "scan/scan_form.h"
#include "ui/about_form.h"
#include "ui/desktop_open.h"
#include "ui/history_form.h"
#include "ui/option_form.h"
#include "ui/start_form.h"

namespace ui {

namespace {

struct TabInfo {
  const char* caption;
  const char* key;
  const char* windowCaption;
  const char* unzipCaption;
  std::uint8_t currentTab;
};
constexpr TabInfo kTabs[] = {
    {"Install", "ins", "Hangarpak 2000", "Un&Zip", 0},
    {"Aircraft", "man", "Hangarpak Aircraft Manager", "U&pdate", 1},
    {"Editor", "edi", "Hangarpak Addon Editor", "E&dit", 0},
};

}  // namespace

MainWindow::MainWindow(core::Context& ctx)
    : installFra(ctx, *this),
      managerFra(ctx),
      editFra(ctx, managerFra),
      waitFrm(ctx, *this),
      ctx_(ctx),
      host_(ctx, *this) {
  for (const auto& t : kTabs) tabs.push_back({t.caption, t.key});
  using Style = ToolButton::Style;
  toolButtons = {
      {Style::Group, "1", 0, true, "Aircraft"}, {Style::Group, "2", 0, false, "Panels"},
      {Style::Group, "3", 0, false, "Sounds"},  {Style::Placeholder, "", 0, false, ""},
      {Style::Plain, "4", 0, false, "Scan"},    {Style::Plain, "5", 0, false, "Delete"},
      {Style::Plain, "6", 0, false, "Edit"},
  };
  managerFra.onChanged = [this] { changed(); };
  editFra.onChanged = [this] { changed(); };
  editFra.onPopMenu = [this] { PopupMenu(); };
  ctx_.setWindowHost(&host_);
}

MainWindow::~MainWindow() {
  ctx_.setWindowHost(nullptr);
}

void MainWindow::adoptInstanceLock(std::unique_ptr<core::InstanceLock> lock) {
  lock_ = std::move(lock);
  guarded_ = true;
}

void MainWindow::Form_Load(std::string_view commandLine) {
  if (!guarded_) {
    lock_ = core::GuardSingleInstance(ctx_.locations, ctx_.dialogs);
    guarded_ = true;
  }
  try {
    startUp(commandLine);
  } catch (const core::RuntimeError&) {
    recover();
  }
  changed();
}

void MainWindow::startUp(std::string_view commandLine) {
  core::AppState& s = ctx_.state;
  core::LoadSettings(ctx_);
  core::RemoveLeftovers(ctx_);
  core::ClearTempZip(ctx_);

  if (!commandLine.empty()) {
    s.commandLineArchive = std::string(commandLine);
    s.commandLineInstall = true;
    if (commandLineInstaller)
      commandLineInstaller();
    else
      installFra.unzipCmd_Click();
  }

  s.catalogueStale = true;
  s.commandLineInstall = false;
  s.currentTab = 0;

  if (core::FirstRun(ctx_)) {
    StartForm greeting;
    ctx_.dialogs.runModal(greeting);
    OptionForm options(ctx_, *this);
    ctx_.dialogs.runModal(options);
    core::MarkFirstRunDone(ctx_);
  }

  if (core::isOn(s.optAssociate)) core::WriteAssociation(ctx_);

  core::FindSimulator(ctx_);

  imageListSize = 6;
  int image = 1;
  for (auto& button : toolButtons)
    if (button.style != ToolButton::Style::Placeholder) button.image = image++;

  installFra.ZipFileDrv.setDrive(core::left(s.startupFolder, 2));
  installFra.ZipFileDir.setPath(s.startupFolder);
}

void MainWindow::recover() {
  core::step([&] { installFra.ZipFileDrv.setDrive("c:\\"); });
  core::step([&] { installFra.ZipFileDir.setPath("c:\\"); });
}

void MainWindow::Form_Unload() {
  if (onSaveLayout) core::step([&] { onSaveLayout(); });
  ctx_.settings.save(core::kSettingsApp, "Main", "Startup Path", installFra.ZipFileDir.path());
  ctx_.settings.save(core::kSettingsApp, "Main", "App Path", ctx_.appFolder());
  core::ClearTempZip(ctx_);
  throw core::EndProgram{};
}

void MainWindow::selectTab(int index) {
  if (index < 1 || index > static_cast<int>(tabs.size())) return;
  selectedTab = index;
  TabStrip_Click();
}

void MainWindow::showInstalled(core::PackageKind kind, const std::string& folderName) {
  const std::string aircraftFolder = ctx_.state.simFolder + "\\aircraft\\";
  if (kind == core::PackageKind::Aircraft) {
    selectTab(2);
    managerFra.selectFolder(aircraftFolder + folderName + "\\");
  } else if (kind == core::PackageKind::Panel || kind == core::PackageKind::Sound) {
    const bool panel = kind == core::PackageKind::Panel;
    // The group's button of the kind, pressed as a click presses it.
    for (int button = 1; button <= 3; ++button)
      toolButtons[static_cast<std::size_t>(button - 1)].pressed = button == (panel ? PanelMode : SoundMode);
    selectTab(3);
    editFra.selectFolder(aircraftFolder + "fsfsconv\\" + (panel ? "panel." : "sound.") + folderName + "\\");
  }
  changed();
}

void MainWindow::TabStrip_Click() {
  const TabInfo& t = kTabs[selectedTab - 1];
  ctx_.state.currentTab = t.currentTab;
  installFra.visible = selectedTab == 1;
  managerFra.visible = selectedTab == 2;
  editFra.visible = selectedTab == 3;
  unzipCap.caption = t.unzipCaption;
  caption = t.windowCaption;
  changed();

  const std::string& key = selectedKey();
  if (key == "man") {
    if (ctx_.state.catalogueStale) managerFra.Search();
    if (managerFra.flyLst.count() >= 1) managerFra.UpdateAircraft();
  } else if (key == "edi") {
    if (ctx_.state.catalogueStale) managerFra.Search();
    editFra.FillEditList(editorMode());
  }
  changed();
}

int MainWindow::editorMode() const {
  return toolButtonPressed(1) ? 1 : toolButtonPressed(2) ? 2 : 3;
}

void MainWindow::ToolBar_ButtonClick(int button) {
  if (button < 1 || button > static_cast<int>(toolButtons.size())) return;
  ToolButton& clicked = toolButtons[static_cast<std::size_t>(button - 1)];
  if (clicked.style == ToolButton::Style::Group) {
    for (auto& b : toolButtons)
      if (b.style == ToolButton::Style::Group) b.pressed = (&b == &clicked);
    changed();
  }
  if (clicked.tag.empty()) return;
  switch (std::stoi(clicked.tag)) {
    case 1:
    case 2:
    case 3:
      editFra.FillEditList(std::stoi(clicked.tag));
      break;
    case 4:
      showScanDialog();
      break;
    case 5:
      editFra.delCap_Click();
      break;
    case 6:
      editFra.editCmd_Click();
      break;
    default:
      break;
  }
  changed();
}

void MainWindow::unzipCap_Click() {
  if (ctx_.state.currentTab == 1) {
    managerFra.Search();
  } else if (selectedKey() == "edi") {
    editFra.editCmd_Click();
  } else if (selectedKey() == "ins") {
    installFra.unzipCmd_Click();
  }
  changed();
}

void MainWindow::openCap_Click() {
  selectTab(1);
  installFra.chooseFolder();
  changed();
}

void MainWindow::OptCap_Click() {
  setEnabled(false);
  OptionForm options(ctx_, *this);
  ctx_.dialogs.runModal(options);
}

void MainWindow::historyCap_Click() {
  try {
    journal::Store store(journal::databasePath(ctx_.locations.appFolder));
    HistoryForm history(ctx_, store);
    ctx_.dialogs.runModal(history);
    // An uninstall changed what the open tab lists.
    if (ctx_.state.catalogueStale && selectedKey() != "ins") TabStrip_Click();
    installFra.archiveFolderChanged();  // the archives' marks
  } catch (const core::RuntimeError& e) {
    ctx_.dialogs.msgBox("The install journal cannot be read:\r\n" + std::string(e.what()), "History", core::Buttons::OK,
                        core::Icon::Exclamation);
  }
}

void MainWindow::aboutCap_Click() {
  setEnabled(false);
  AboutForm about(ctx_);
  ctx_.dialogs.runModal(about);
}

std::string MainWindow::helpFile() const {
  // Installed under <prefix>/share beside <prefix>/bin, and laid out the same
  // way in the build folder.
  return ctx_.locations.shareFolder + "/hangarpak/help/index.html";
}

void MainWindow::helpCap_Click() {
  const std::string file = helpFile();
  try {
    if (onShowHelp)
      onShowHelp(file);
    else
      core::OpenWithDesktop(ctx_, file);
  } catch (const core::RuntimeError& e) {
    ctx_.dialogs.msgBox("The help page " + file + " cannot be shown: " + e.what(), "Hangarpak", core::Buttons::OK,
                        core::Icon::Exclamation);
  }
}

std::string MainWindow::onlinePage() const {
  return ctx_.locations.shareFolder + "/hangarpak/help/online.html";
}

void MainWindow::homesiteCap_Click() {
  OpenOnDesktop(ctx_, onlinePage(), {"The page", "web browser"});
}

void MainWindow::delCap_Click() {
  editFra.delCap_Click();
  changed();
}

void MainWindow::editCap_Click() {
  editFra.editCap_Click();
  changed();
}

void MainWindow::renCap_Click() {
  editFra.renCap_Click();
  changed();
}

void MainWindow::scanCap_Click() {
  showScanDialog();
  changed();
}

void MainWindow::showScanDialog() {
  const auto view = scan::ScanViewFromToolbar(toolButtonPressed(1), toolButtonPressed(2), toolButtonPressed(3));
  scan::ShowScanDialog(ctx_, view, managerFra.catalogue);
}

std::string MainWindow::layout(std::string_view name) const {
  return ctx_.settings.get(core::kSettingsApp, "Window", name, "");
}

void MainWindow::keepLayout(std::string_view name, std::string_view value) {
  ctx_.settings.save(core::kSettingsApp, "Window", name, value);
}

void MainWindow::refreshCap_Click() {
  const std::string& key = selectedKey();
  if (key == "ins") {
    installFra.archiveFolderChanged();
  } else {
    managerFra.Search();
    if (key == "edi") editFra.FillEditList(editorMode());
  }
  changed();
}

void MainWindow::PopupMenu() {
  if (onPopMenu) onPopMenu();
}

void MainWindow::setVisible(bool shown) {
  visible = shown;
  changed();
}

void MainWindow::setEnabled(bool on) {
  enabled = on;
  changed();
}

}  // namespace ui
