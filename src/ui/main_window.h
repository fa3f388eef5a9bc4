#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "ui/aircraft_tab.h"
#include "ui/editor_tab.h"
#include "ui/install_tab.h"
#include "ui/shell_host.h"
#include "ui/wait_form.h"

namespace core {
class Context;
class InstanceLock;
}  // namespace core

namespace ui {

struct Tab {
  std::string caption;
  std::string key;  // "ins", "man", "edi"
};

struct ToolButton {
  enum class Style { Group, Placeholder, Plain };
  Style style = Style::Plain;
  std::string tag;
  int image = 0;  // 1-based in img2Lst; 0 = none
  bool pressed = false;
  std::string toolTip;
};

struct MenuItem {
  std::string caption;
  bool enabled = true;
  bool visible = true;
};

// The main window mainFrm: the tab strip with the three frames, the menus,
// the pop-up menu, the Editor tab's toolbar, start-up (Form_Load) and
// shutdown (Form_Unload). Constructing it makes it the context's window
// host, so the installers and the catalogue reach its progress dialog.
class MainWindow {
 public:
  explicit MainWindow(core::Context& ctx);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  std::string caption = "Hangarpak 2000";
  bool visible = true;
  bool enabled = true;

  std::vector<Tab> tabs;  // TabStrip, tab 1 to 3
  int selectedTab = 1;
  InstallTab installFra;
  AircraftTab managerFra;
  EditorTab editFra;

  std::vector<ToolButton> toolButtons;  // ToolBar, button 1 to 7
  int imageListSize = 0;                // img2Lst given to the toolbar (6 images)

  MenuItem unzipCap{"Un&Zip"};
  MenuItem openCap{"&Open Folder..."};  // Ctrl+O: a folder of archives
  MenuItem historyCap{"&History..."};   // the install journal
  MenuItem previewCap{"Preview..."};    // ZipFileLst2's context menu
  MenuItem refreshCap{"&Refresh"};      // F5: lists the open tab anew
  MenuItem exitCap{"E&xit"};
  MenuItem OptCap{"&Options..."};
  MenuItem helpCap{"Help &Topics..."};
  MenuItem homesiteCap{"Hangarpak Online"};
  MenuItem aboutCap{"&About..."};
  MenuItem delCap{"Delete"};  // popMenu
  MenuItem editCap{"Edit"};
  MenuItem renCap{"Rename"};
  MenuItem scanCap{"Scan"};

  WaitForm waitFrm;

  // The view: re-render, show popMenu at the pointer, show the help page.
  std::function<void()> onChange;
  std::function<void()> onPopMenu;
  std::function<void(const std::string& hostFile)> onShowHelp;
  // The view hands over its layout (size and place, splitters, column
  // widths) through keepLayout; shutdown asks for it first.
  std::function<void()> onSaveLayout;
  // Runs the Install tab's command for a command-line archive; a test puts
  // its own in place of the real install.
  std::function<void()> commandLineInstaller;

  // Start-up. The lock of an instance guard main() already passed.
  void adoptInstanceLock(std::unique_ptr<core::InstanceLock> lock);
  void Form_Load(std::string_view commandLine);
  // Shutdown: saves the two settings, clears TempZip, ends the program.
  [[noreturn]] void Form_Unload();

  void selectTab(int index);  // by the user or by code; runs TabStrip_Click
  // After an install: opens the Aircraft tab on the installed aircraft's
  // first variant, or the Editor on the installed panel or sound set (its
  // kind's list, the new entry selected). Where the folder lists nothing,
  // the tab opens as selectTab opens it.
  void showInstalled(core::PackageKind kind, const std::string& folderName);
  void TabStrip_Click();
  const std::string& selectedKey() const { return tabs.at(static_cast<std::size_t>(selectedTab - 1)).key; }
  void ToolBar_ButtonClick(int button);
  bool toolButtonPressed(int button) const { return toolButtons.at(static_cast<std::size_t>(button - 1)).pressed; }
  // The Editor tab's view: 1 aircraft, 2 panels, 3 sounds (which of the
  // group is pressed).
  int editorMode() const;

  void unzipCap_Click();
  // The Install tab comes up and asks for a folder of archives to show.
  void openCap_Click();
  [[noreturn]] void exitCap_Click() { Form_Unload(); }
  [[noreturn]] void lukkCmd_Click() { Form_Unload(); }
  [[noreturn]] void lukk2Cmd_Click() { Form_Unload(); }
  [[noreturn]] void lukk3Cmd_Click() { Form_Unload(); }
  void OptCap_Click();
  void helpCap_Click();
  void homesiteCap_Click();
  void aboutCap_Click();
  // The journal's installations, with Uninstall.
  void historyCap_Click();
  // Lists the open tab anew from the disk: the folder's archives, or the
  // catalogue rebuilt.
  void refreshCap_Click();

  void delCap_Click();
  void editCap_Click();
  void renCap_Click();
  void scanCap_Click();
  void PopupMenu();
  // Disables the main window and shows scanFrm modally on the catalogue of
  // the toolbar's view; scanFrm enables the main window again when it
  // unloads.
  void showScanDialog();

  // A part of the window's layout by name, as the view wrote it (empty when
  // never kept), in the settings store's section "Window".
  std::string layout(std::string_view name) const;
  void keepLayout(std::string_view name, std::string_view value);

  // The help page installed beside the program.
  std::string helpFile() const;
  // The page "Hangarpak Online" opens: shipped beside the help page.
  std::string onlinePage() const;

  bool busyCursor() const { return host_.busyCursor(); }
  void setVisible(bool shown);
  void setEnabled(bool on);
  void changed() {
    if (onChange) onChange();
  }

 private:
  void startUp(std::string_view commandLine);
  void recover();

  core::Context& ctx_;
  ShellHost host_;
  std::unique_ptr<core::InstanceLock> lock_;
  bool guarded_ = false;
};

}  // namespace ui
