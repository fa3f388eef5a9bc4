#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>

namespace qt {

// The pictures of the program, drawn in code so that no image file has to
// travel with it.

// img2Lst, the toolbar's images 1 to 6: aircraft, panels, sounds, scan,
// delete, edit. Image 0 is none.
QIcon toolbarImage(int image);

// ImgLst, the list icons: 1 aircraft, 2 panel, 3 sound, 4 hidden aircraft,
// 5 ZIP archive, 6 SIF scenery package.
QIcon listImage(int image);

// The logo of the main window and the small dialogs.
QPixmap logoPicture(int width, int height);

// The application's icon, set on the application so that every window
// shows it: the installed one (<share>/icons/hicolor/*/apps), the same that
// the desktop shows; the logo drawn here when none is installed.
QIcon appIcon(const std::string& shareFolder);

}  // namespace qt
