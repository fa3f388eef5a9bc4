#include "manager/catalogue.h"

#include "core/context.h"

namespace manager {

Catalogue::Catalogue(core::Context& ctx) : ctx_(ctx) {
  flyLst.sorted = panelLst.sorted = lydLst.sorted = true;
  flyLst.columns = {"name", "path"};
  panelLst.columns = lydLst.columns = {"name", "path", "path2"};
  panelLst.visible = lydLst.visible = false;
  panelCom.sorted = lydCom.sorted = true;
  panelCom.pinnedTop = lydCom.pinnedTop = 1;
  // Selecting a position from code raises Click as a user's pick does; the
  // handlers tell the two apart by catalogueBusy.
  panelCom.onClick = [this] { panelCom_Click(); };
  lydCom.onClick = [this] { lydCom_Click(); };
}

}  // namespace manager
