/* The Windows profile calls, run under Wine, for comparison with the
 * program's own profile reads and writes. It reads a script of calls, one a
 * line, and writes one line of results for each:
 *   ra|rw FILE SECTION KEY DEFAULT  GetPrivateProfileStringA/W into a buffer
 *                                   of 200 characters: "<count> <text>"
 *   wa|ww FILE SECTION KEY VALUE    WritePrivateProfileStringA/W: "1" or "0"
 * Every field is hex ("-" when empty): bytes of the code page for the A
 * calls, UTF-8 for the W calls, whose text is turned into UTF-16 here and
 * back. The last line is "acp <code page of the A calls>". */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

enum { FieldSize = 16384 };

static int unhex(const char* in, char* out) {
  size_t n = 0;
  if (strcmp(in, "-") == 0) in = "";
  for (; in[0] && in[1] && n + 1 < FieldSize; in += 2) {
    unsigned v;
    if (sscanf(in, "%2x", &v) != 1) return -1;
    out[n++] = (char)v;
  }
  out[n] = 0;
  return (int)n;
}

static void puthex(FILE* out, const char* bytes, size_t n) {
  if (n == 0) fputc('-', out);
  for (size_t i = 0; i < n; ++i) fprintf(out, "%02x", (unsigned char)bytes[i]);
}

static WCHAR* wide(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
  WCHAR* w = malloc(sizeof(WCHAR) * (size_t)n);
  if (w) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w, n);
  return w;
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  FILE* in = fopen(argv[1], "rb");
  FILE* out = fopen(argv[2], "wb");
  if (!in || !out) return 3;
  static char line[5 * 2 * FieldSize], op[8], hex[4][2 * FieldSize], arg[4][FieldSize];
  while (fgets(line, sizeof line, in)) {
    if (sscanf(line, "%7s %32767s %32767s %32767s %32767s", op, hex[0], hex[1], hex[2], hex[3]) != 5) return 4;
    for (int i = 0; i < 4; ++i)
      if (unhex(hex[i], arg[i]) < 0) return 5;
    const char *file = arg[0], *section = arg[1], *key = arg[2], *text = arg[3];
    if (strcmp(op, "ra") == 0) {
      char buffer[200];
      DWORD n = GetPrivateProfileStringA(section, key, text, buffer, sizeof buffer, file);
      fprintf(out, "%lu ", (unsigned long)n);
      puthex(out, buffer, strlen(buffer));
    } else if (strcmp(op, "rw") == 0) {
      WCHAR buffer[200];
      char utf8[800];
      WCHAR *f = wide(file), *s = wide(section), *k = wide(key), *d = wide(text);
      DWORD n = GetPrivateProfileStringW(s, k, d, buffer, 200, f);
      int length = WideCharToMultiByte(CP_UTF8, 0, buffer, -1, utf8, sizeof utf8, NULL, NULL);
      fprintf(out, "%lu ", (unsigned long)n);
      puthex(out, utf8, length > 0 ? (size_t)length - 1 : 0);
      free(f), free(s), free(k), free(d);
    } else if (strcmp(op, "wa") == 0) {
      fputc(WritePrivateProfileStringA(section, key, text, file) ? '1' : '0', out);
    } else if (strcmp(op, "ww") == 0) {
      WCHAR *f = wide(file), *s = wide(section), *k = wide(key), *v = wide(text);
      fputc(WritePrivateProfileStringW(s, k, v, f) ? '1' : '0', out);
      free(f), free(s), free(k), free(v);
    } else {
      return 6;
    }
    fputc('\n', out);
  }
  fprintf(out, "acp %u\n", GetACP());
  return fclose(out) == 0 ? 0 : 7;
}
