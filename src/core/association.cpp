#include "core/association.h"

#include <unistd.h>

#include "core/atomic_file.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/registry.h"
#include "core/text.h"

namespace core {

namespace {

std::string programHostPath(Context& ctx) {
  return ctx.locations.programFolder + "/" + ctx.exeName;
}

// One argument of an Exec line: quoted, with the characters the quoting
// rule reserves escaped, then the string-value escaping of backslashes on
// top (so one literal backslash is written as four).
std::string execArgument(const std::string& arg) {
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  std::string out;
  for (char c : quoted) {
    if (c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string AssociationCommand(Context& ctx) {
  auto folder = ctx.drives.toWindows(ctx.locations.programFolder);
  const std::string programFolder = folder ? *folder : ctx.appFolder();
  return lower("\"" + joinPath(programFolder, ctx.exeName) + ".exe\" %1");
}

std::string desktopEntryPath(const Locations& locations) {
  return locations.dataHome + "/applications/hangarpak.desktop";
}

std::string desktopEntryText(const std::string& programHostPath) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Hangarpak\n"
         "Comment=Install flight simulator add-ons from ZIP archives\n"
         "Exec=" +
         execArgument(programHostPath) +
         " %f\n"
         "MimeType=application/zip;\n"
         "NoDisplay=true\n"
         "Terminal=false\n";
}

void WriteAssociation(Context& ctx) {
  WriteReg(ctx, "CR", kShellCommandKey, "", AssociationCommand(ctx));
  const std::string entry = desktopEntryPath(ctx.locations);
  step([&] {
    makeHostFolders(parentPath(entry));
    writeFileAtomically(entry, desktopEntryText(programHostPath(ctx)));
  });
}

void RemoveAssociation(Context& ctx) {
  step([&] { ctx.registry.deleteKey(Hive::ClassesRoot, kShellKey); });
  ::unlink(desktopEntryPath(ctx.locations).c_str());
}

}  // namespace core
