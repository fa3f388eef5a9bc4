#include "app/cli_commands.h"

namespace app {

namespace {

const CliOption kJson{"--json", "print the result as JSON"};

const std::vector<CliCommand> kCommands = {
    {"cfg",
     cfgUsage,
     runCfg,
     "get prints the value of KEY in [SECTION] of the configuration file FILE, read the way the simulator reads it: "
     "section and key names without regard to case, blanks and quotes around the value removed, Windows-1252 text "
     "printed as UTF-8. A missing section or key prints DEFAULT (empty when not given); a missing file is an error. "
     "set writes VALUE as the value of KEY, adding the section, the key or the file when they are missing; every "
     "other byte of the file stays as it was, and the file is replaced in one step. FILE is a host path or a Windows "
     "path (C:\\FS2002\\Aircraft\\c182\\aircraft.cfg) on a drive of the drive table.",
     {{"--json", "get: print the file, section, key and value as a JSON object"},
      {"--", "every word after it is an argument, even one that begins with a dash"}}},
    {"install",
     installUsage,
     runInstall,
     "Installs each ARCHIVE the way the window program's Install button does: extracts it, decides what kind of "
     "add-on it holds and copies its files into the simulator's folders. ARCHIVE is a host path or a Windows path "
     "on a drive of the drive table. Messages go to standard error, and at the end a line for each archive that was "
     "not installed, saying why; the last line, on standard output, counts the archives installed. The window "
     "program must not be running at the same time.",
     {{"--dry-run", "install nothing: print what installing would do"},
      {"--json", "with --dry-run: print the plan as one JSON object"},
      {"--yes, --no",
       "answer every question Yes, or No; without either a question is asked on the terminal, and "
       "answered No when there is none"},
      {"--folder-name NAME", "the folder the add-on is installed into, where the program would ask for it"},
      {"--name NAME", "the add-on's name, where the program would ask for it"},
      {"--password TEXT", "the password of encrypted archives; without it the password is asked on the terminal"},
      {"--", "every word after it is an archive, even one that begins with a dash"}}},
    {"scan",
     scanUsage,
     runScan,
     "Checks every installed aircraft variant, panel or sound set for files that its configuration names but that "
     "are missing, as the Scan dialog of the window program does, and prints the report. The exit status is 1 when "
     "a file is missing.",
     {{"--json", "print the entries, the problems of each and the totals as a JSON object"}}},
    {"list",
     listUsage,
     runList,
     "Prints the catalogue the Aircraft tab shows, one row a line with tab-separated fields: name, folder and "
     "section number (aircraft) or relative folder (panels, sounds); for aircraft also active or hidden and the "
     "relative folders of the panel and sound set the variant uses, or ---Not Listed--- where the Aircraft tab "
     "shows it.",
     {{"--json",
       "print the rows as a JSON array of objects with the same fields; an aircraft's also has panelName "
       "and soundName, the names its panel and sound lists show"}}},
    {"hide",
     hideUsage,
     runHide,
     "Hides an aircraft variant from the simulator, as a double click in the Aircraft tab does. The variant is named "
     "by its title, or by its folder and section for titles that more than one variant has.",
     {{"--folder FOLDER", "the variant's folder, a Windows path"},
      {"--section N", "the variant's section fltsim.N in the folder's aircraft.cfg"}}},
    {"unhide",
     unhideUsage,
     runUnhide,
     "Brings a hidden aircraft variant back, as a double click in the Aircraft tab does. The variant is named by its "
     "title, or by its folder and section for titles that more than one variant has.",
     {{"--folder FOLDER", "the variant's folder, a Windows path"},
      {"--section N", "the variant's section fltsim.N in the folder's aircraft.cfg"}}},
    {"panel", panelUsage, runPanel,
     "Gives the aircraft variant titled AIRCRAFT another installed panel without copying files, as the panel list of "
     "the Aircraft tab does. ENTRY is the panel's relative folder as list panels prints it, or its display name. "
     "Picking the variant's own panel again undoes the change."},
    {"sound", soundUsage, runSound,
     "Gives the aircraft variant titled AIRCRAFT another installed sound set without copying files, as the sound "
     "list of the Aircraft tab does. ENTRY is the sound set's relative folder as list sounds prints it, or its "
     "display name. Picking the variant's own sound set again undoes the change."},
    {"where",
     whereUsage,
     runWhere,
     "Prints where things are, one \"name: value\" line each: the simulator version and its name, the simulator "
     "folder as a Windows path and as a host path, the Wine prefix and how it was found, each drive of the drive "
     "table, the settings file, the registry store and the application folder. Nothing is asked and nothing is "
     "written.",
     {kJson}},
    {"history",
     historyUsage,
     runHistory,
     "Prints the install journal, one line per installation, oldest first: its id, the time (UTC), the archive, the "
     "package kind, the folder, the files it created and overwrote, the keys it wrote and its state (refused for an "
     "archive that was not installed, failed for one that ended in an error). The manager's edits (hide, unhide, "
     "panel, sound, rename, delete) are rows too, of the kind edit or deletion, named by what they did and made or "
     "undone. With an ID, prints what that installation or edit did, in order.",
     {kJson}},
    {"uninstall",
     uninstallUsage,
     runUninstall,
     "Reverses the installation ID of the install journal, newest change first, each only while the files and keys "
     "still hold what the installation left. The manager's later edits of its files (a hide, a swap, a rename) are "
     "undone first; a file a later installation overwrote is left to that one, whose uninstall then puts back what "
     "was there before both. Whatever changed since is left alone and reported; the exit status is then 1. When "
     "aircraft elsewhere use the installation's panel or sound set through an alias, nothing is done and the exit "
     "status is 1, unless --force is given.",
     {{"--dry-run", "change nothing: print what uninstalling would do"},
      {"--force", "first point the aircraft that use its panel or sound set through an alias back to their own"},
      {"--json", "print the report as one JSON object"}}},
    {"sample",
     sampleUsage,
     runSample,
     "Writes a sample simulator and add-ons into the folder DIR, for trying Hangarpak without a simulator: DIR stands "
     "for a drive and receives the simulator's folder with a few aircraft, panels and sound sets, a stand-in for the "
     "scenery installer, and a folder Downloads with an archive of every kind the installer knows. A few files the "
     "configurations name are left out, so that every scan has something to report.",
     {{"--version 61|70|80", "the simulator: FS98, FS2000 or FS2002 (the default)"},
      {"--aircraft N", "write N aircraft folders in all (at least 4), for trying the catalogue on thousands"},
      {"--register",
       "also record the sample in the registry store, so that Hangarpak finds it; DIR must lie on a "
       "drive of the drive table"}}},
    {"stand-in", standInUsage, runStandIn,
     "Acts as the outside program whose file is PROGRAM (the converter or the scenery installer). The sample's "
     "stand-in programs run this through their #! line; it is not meant to be typed."},
    {"help", helpUsage, runHelp,
     "Without COMMAND, lists the commands and their arguments; with it, explains COMMAND and its options."},
};

}  // namespace

std::span<const CliCommand> cliCommands() {
  return kCommands;
}

}  // namespace app
