#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/controls.h"

namespace core {
class Context;
}

namespace manager {

class Catalogue;

// Modes of the editor list: the pressed button of the toolbar's group.
inline constexpr int AircraftMode = 1;
inline constexpr int PanelMode = 2;
inline constexpr int SoundMode = 3;

// The Editor tab over the catalogue: lists the aircraft variants, panels or
// sound sets one kind at a time and renames, opens and deletes them. Row i
// of editLst is row i of the mode's catalogue, and for panels and sounds
// position i + 1 of the choice list; every operation keeps it so.
class Editor {
 public:
  Editor(core::Context& ctx, Catalogue& catalogue);
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  core::ListView editLst;  // copies of catalogue rows; only the name shows
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
  core::ListView& source(int mode);
  void copyRows(const core::ListView& from);
  void selectRow(int index);
  void deleteEntry(const std::string& folder, bool aircraft);
  void changed() {
    if (onChanged) onChanged();
  }

  core::Context& ctx_;
  Catalogue& cat_;
};

}  // namespace manager
