#pragma once

#include <string>
#include <string_view>

namespace core {

class Context;
struct Locations;

// The program's command on the ZIP file type, under the classes root.
inline constexpr std::string_view kShellKey = "WinZip\\Shell\\Hangarpak";
inline constexpr std::string_view kShellCommandKey = "WinZip\\Shell\\Hangarpak\\command";

// The command as the registry keeps it, all lower case:
// "c:\...\hangarpak.exe" %1 with the program's folder as a Windows path.
std::string AssociationCommand(Context& ctx);

// File managers on this platform offer a program for a file type through a
// desktop entry; this is the one that offers Hangarpak for ZIP archives.
std::string desktopEntryPath(const Locations& locations);
std::string desktopEntryText(const std::string& programHostPath);

// Writes the shell command (WriteReg) and the desktop entry. The entry only
// adds Hangarpak to the programs that can open a ZIP archive; the default
// program for ZIP archives stays what the user chose.
void WriteAssociation(Context& ctx);
// Deletes the shell key with its "command" sub-key and the desktop entry;
// failures are not reported.
void RemoveAssociation(Context& ctx);

}  // namespace core
