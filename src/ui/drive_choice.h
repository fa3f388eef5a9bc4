#pragma once

#include <string_view>

namespace core {
class Context;
class DriveList;
class FolderList;
}  // namespace core

namespace ui {

// The user picked a drive in a drive list that steers a folder list (the
// options dialog's scenery path, the Install tab's browser): the folder
// list moves to the drive. A drive whose host folder is missing shows
// "Drive not available" and the previous drive comes back with the folder
// list left where it was; any other failure shows the error's description
// and ends the program.
void ChangeDrive(core::Context& ctx, core::DriveList& drives, core::FolderList& folders, std::string_view picked);

// The user opened a folder of a folder list; a folder that vanished
// meanwhile leaves the list where it was.
void OpenFolder(core::FolderList& folders, std::string_view path);

}  // namespace ui
