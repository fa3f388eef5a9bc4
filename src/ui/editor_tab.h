#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/controls.h"
#include "manager/catalogue.h"
#include "manager/edits.h"

namespace core {
class Context;
}

namespace ui {

class AircraftTab;

// Modes of the editor list: the pressed button of the toolbar's group.
inline constexpr int AircraftMode = 1;
inline constexpr int PanelMode = 2;
inline constexpr int SoundMode = 3;

// Mouse buttons as the list handlers receive them.
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;

// The Editor tab's frame editFra: the aircraft variants, panels or sound
// sets of the Aircraft tab's catalogue, one kind at a time, with rename,
// open and delete. Row i of editLst is item i of the mode's list in the
// catalogue; every edit goes through the catalogue, and the Aircraft tab is
// rendered anew after it. The toolbar and popMenu live in the main window
// and call the handlers.
class EditorTab {
 public:
  EditorTab(core::Context& ctx, AircraftTab& aircraft);
  EditorTab(const EditorTab&) = delete;
  EditorTab& operator=(const EditorTab&) = delete;

  bool visible = false;    // the frame
  core::ListView editLst;  // only the name shows
  core::Label nameLbl{"Name:"};
  core::TextBox nameTxt;
  core::Label pathLbl{"Path:"};
  core::TextBox pathTxt;
  core::Button editCmd{"E&dit"};
  core::Button lukk3Cmd{"E&xit"};
  bool editLstHasFocus = false;

  // The mode of the pressed toolbar button, as the last FillEditList set it.
  int mode = AircraftMode;
  // 1 after a right-button mouse-down on editLst, 0 after any other; 5 once
  // the context menu has been shown for it.
  std::uint8_t editRightButton = 0;

  // The view: controls changed; show popMenu at the pointer; start the
  // in-place edit of a row's name.
  std::function<void()> onChanged;
  std::function<void()> onPopMenu;
  std::function<void(int row)> onStartLabelEdit;

  // Fills editLst from the catalogue of mode (1 aircraft, 2 panel, 3 sound;
  // any other fills nothing), rebuilding the catalogue first when stale.
  void FillEditList(int mode);

  // Selects the row of the folder (with trailing "\\"); false when the list
  // has none there.
  bool selectFolder(const std::string& folder);

  void editLst_MouseDown(int button);
  void editLst_ItemClick(int index);
  // The in-place edit ended with newString (not called when it was
  // abandoned).
  void editLst_AfterLabelEdit(bool& cancel, const std::string& newString);
  // Renames the selected entry to nameTxt's text; the file is written at
  // every key release.
  void nameTxt_KeyUp(int keyCode, int shift);
  // Opens the selected entry's folder in the desktop's file manager.
  void editCmd_Click();
  void editCap_Click() { editCmd_Click(); }
  void renCap_Click();
  void delCap_Click();

 private:
  // The selected row's folder (with trailing "\") and name.
  std::string folderOf(int row) const;
  void render();
  void selectRow(int index);
  manager::EntryKind entryKind() const {
    return mode == PanelMode ? manager::EntryKind::Panel : manager::EntryKind::Sound;
  }
  void changed() {
    if (onChanged) onChanged();
  }

  core::Context& ctx_;
  AircraftTab& aircraft_;
};

}  // namespace ui
