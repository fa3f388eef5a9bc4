/* Windows stand-in for the Flight Shop converter, run under Wine. It reads
 * AircraftInputPath from section "Options" of the .cfg beside it, named like
 * itself, and converts every *.air found there into aircraft\NAME\NAME.air
 * beside itself. Each run appends one line to <name>.log beside it:
 *   aircraft=<path>|air=<names, comma-separated> */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(void) {
  char self[MAX_PATH], folder[MAX_PATH], cfg[MAX_PATH + 8], log[MAX_PATH + 8], input[1024], pattern[1100];
  GetModuleFileNameA(NULL, self, MAX_PATH);
  strcpy(folder, self);
  *strrchr(folder, '\\') = 0;
  *strrchr(self, '.') = 0;
  snprintf(cfg, sizeof cfg, "%s.cfg", self);
  snprintf(log, sizeof log, "%s.log", self);
  GetPrivateProfileStringA("Options", "AircraftInputPath", "", input, sizeof input, cfg);
  snprintf(pattern, sizeof pattern, "%s*.air", input);

  char names[2048] = "";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      char name[MAX_PATH], from[1400], to[1400];
      strcpy(name, found.cFileName);
      *strrchr(name, '.') = 0;
      snprintf(from, sizeof from, "%s%s", input, found.cFileName);
      snprintf(to, sizeof to, "%s\\aircraft", folder);
      CreateDirectoryA(to, NULL);
      snprintf(to, sizeof to, "%s\\aircraft\\%s", folder, name);
      CreateDirectoryA(to, NULL);
      snprintf(to, sizeof to, "%s\\aircraft\\%s\\%s.air", folder, name, name);
      CopyFileA(from, to, FALSE);
      if (strlen(names) + strlen(found.cFileName) + 2 < sizeof names) {
        if (names[0]) strcat(names, ",");
        strcat(names, found.cFileName);
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  FILE* out = fopen(log, "ab");
  if (!out) return 2;
  fprintf(out, "aircraft=%s|air=%s\n", input, names);
  fclose(out);
  return names[0] ? 0 : 1;
}
