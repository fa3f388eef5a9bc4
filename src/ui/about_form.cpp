#include "ui/about_form.h"

#include "core/context.h"

namespace ui {

AboutForm::AboutForm(core::Context& ctx) : ctx_(ctx) {
  caption = "About";
  featureLbls = {
      {"Hangarpak 2000 extract ZIP files containing aircraft, panel, sound, scenery and adventure for "
       "FS98/FS2000/FS2002 and automatically copies the files into the correct directories."},
      {"Hangarpak 2000 has got an inbuilt aircraft/sound/panel manager."},
      {"Hangarpak 2000 allows you to easily edit, scan, rename and delete your installed add-on files."},
      {"Hangarpak 2000 has got a new and upgraded scenery installer."},
  };
}

void AboutForm::Form_Unload() {
  ctx_.windows().setMainWindowEnabled(true);
}

}  // namespace ui
