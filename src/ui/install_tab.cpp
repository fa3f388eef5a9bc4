#include "ui/install_tab.h"

#include "core/context.h"
#include "ui/drive_choice.h"

namespace ui {

InstallTab::InstallTab(core::Context& ctx, MainWindow& main)
    : ZipFileDrv(ctx.drives), ZipFileDir(ctx.fs), ZipFileLst(ctx.fs), FilesLst(ctx.fs), ctx_(ctx), main_(main) {
  ZipFileLst.pattern = "*.zip;*.sif";
  ZipFileLst2.columns = {"file", "path"};
  ZipFileLst2.multiSelect = true;
  ZipFileDir.onChange = [this] { ZipFileDir_Change(); };
  (void)main_;
}

void InstallTab::ZipFileDrv_Change(std::string_view picked) {
  ChangeDrive(ctx_, ZipFileDrv, ZipFileDir, picked);
}

void InstallTab::ZipFileDir_Change() {}

void InstallTab::ZipFileLst2_DblClick() {
  unzipCmd_Click();
}

void InstallTab::unzipCmd_Click() {}

}  // namespace ui
