#pragma once

#include <QIcon>
#include <QPixmap>

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

// The window icon.
QIcon appIcon();

}  // namespace qt
