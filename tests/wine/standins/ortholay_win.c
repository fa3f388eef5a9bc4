/* Windows stand-in for the scenery installer, run under Wine. Like the real
 * one it reads the package to install from "QX Start" in its settings (the
 * current user's VB and VBA Program Settings\Ortholay\General) and opens the
 * package through that path. Each run appends one line to ortholay.log
 * beside it:  QX Start=<path>|bytes=<n>|text=<first line of the package>
 * (bytes=-1 when the package could not be opened). */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(void) {
  char folder[MAX_PATH], log[MAX_PATH + 16], path[1024] = "", text[256] = "";
  GetModuleFileNameA(NULL, folder, MAX_PATH);
  *strrchr(folder, '\\') = 0;
  snprintf(log, sizeof log, "%s\\ortholay.log", folder);

  HKEY key;
  DWORD size = sizeof path - 1;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Ortholay\\General", 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    RegQueryValueExA(key, "QX Start", NULL, NULL, (BYTE*)path, &size);
    RegCloseKey(key);
  }
  long bytes = -1;
  FILE* package = fopen(path, "rb");
  if (package) {
    bytes = (long)fread(text, 1, sizeof text - 1, package);
    text[bytes] = 0;
    text[strcspn(text, "\r\n")] = 0;
    fclose(package);
  }
  FILE* out = fopen(log, "ab");
  if (!out) return 2;
  fprintf(out, "QX Start=%s|bytes=%ld|text=%s\n", path, bytes, text);
  fclose(out);
  return package ? 0 : 1;
}
