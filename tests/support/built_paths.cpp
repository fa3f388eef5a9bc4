#include "support/built_paths.h"

// The build defines the Windows programs' paths only when it makes them.
#ifndef HANGARPAK_WIN_ORTHOLAY
#define HANGARPAK_WIN_ORTHOLAY ""
#endif
#ifndef HANGARPAK_WIN_CONVERTER
#define HANGARPAK_WIN_CONVERTER ""
#endif
#ifndef HANGARPAK_WIN_PROFILE_CALLS
#define HANGARPAK_WIN_PROFILE_CALLS ""
#endif

namespace testsupport {

std::string cliProgram() {
  return HANGARPAK_CLI_PROGRAM;
}
std::string argvRecorderProgram() {
  return HANGARPAK_ARGV_RECORDER;
}
std::string standinProgram() {
  return HANGARPAK_STANDIN;
}
std::string zipQuineFile() {
  return HANGARPAK_ZIP_QUINE;
}
std::string windowsSceneryInstaller() {
  return HANGARPAK_WIN_ORTHOLAY;
}
std::string windowsConverter() {
  return HANGARPAK_WIN_CONVERTER;
}
std::string windowsProfileCalls() {
  return HANGARPAK_WIN_PROFILE_CALLS;
}

}  // namespace testsupport
