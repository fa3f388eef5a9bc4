#pragma once

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

// The Aircraft tab's frame managerFra: the aircraft list flyLst with its
// hide and unhide toggle, and the panel and sound choice lists that swap
// the selected variant's entry. It owns the catalogue (Search builds it)
// and renders its controls from it: row i of flyLst is variant i, position
// i + 1 of a choice list is entry i, and "---Not Listed---" is position 0.
class AircraftTab {
 public:
  // Small icons of flyLst rows.
  static constexpr int ActiveIcon = 1;
  static constexpr int HiddenIcon = 2;

  explicit AircraftTab(core::Context& ctx);
  AircraftTab(const AircraftTab&) = delete;
  AircraftTab& operator=(const AircraftTab&) = delete;

  manager::Catalogue catalogue;

  bool visible = false;     // the frame
  core::ListView flyLst;    // the aircraft variants
  core::ComboBox panelCom;  // "Panel:" choice
  core::ComboBox lydCom;    // "Sound:" choice
  core::Label flyLbl{"Aircraft:"};
  core::Label fly2Lbl{"Active: Total:"};
  core::Label panelLbl{"Panel:"};
  core::Label panel2Lbl{"Total:"};
  core::Label lydLbl{"Sound:"};
  core::Label lyd2Lbl{"Total:"};
  core::Button updateCmd{"&Update"};
  core::Button lukk2Cmd{"E&xit"};
  bool flyLstHasFocus = false;

  // Tells the view that controls changed.
  std::function<void()> onChanged;

  // Rebuilds the catalogue and every control from it, then selects the
  // first aircraft.
  void Search();
  // Shows the panel and sound the selected variant uses in the choice
  // lists (selecting from code, so their Click handlers ignore it).
  void UpdateAircraft();

  void updateCmd_Click() { Search(); }
  // Selects the first variant of the folder (with trailing "\\"), as a
  // click would; false when the catalogue lists none there.
  bool selectFolder(const std::string& folder);
  void flyLst_ItemClick(int index);
  void flyLst_MouseDown(int button);
  void flyLst_DblClick();
  // The list's context menu: hides the selected variant when it is active,
  // unhides it when hidden. hideCaption names which ("" with nothing
  // selected).
  void hideCap_Click();
  std::string hideCaption() const;
  void panelCom_Click();
  void lydCom_Click();

  // Renders every control from the catalogue anew after another tab
  // changed it, keeping the selected variant selected.
  void refresh();
  // The variant of the selected row; nullptr when none is selected.
  const manager::AircraftVariant* selectedVariant() const;

 private:
  void render();
  core::ListItem rowOf(const manager::AircraftVariant& variant) const;
  void countAircraft();
  void swap(manager::EntryKind kind);
  // Says why an edit did not happen.
  void report(const manager::EditResult& result);
  core::ComboBox& choiceList(manager::EntryKind kind) { return kind == manager::EntryKind::Panel ? panelCom : lydCom; }
  void changed() {
    if (onChanged) onChanged();
  }

  core::Context& ctx_;
  // The variant UpdateAircraft last showed, which a refresh selects again
  // wherever an edit moved it.
  std::optional<manager::VariantRef> shown_;
};

// The variant as the catalogue's edits name it.
inline manager::VariantRef refOf(const manager::AircraftVariant& variant) {
  return {variant.folder, variant.section};
}

}  // namespace ui
