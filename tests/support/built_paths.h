#pragma once

#include <string>

namespace testsupport {

// Where the build put the programs and files the tests start or read. They
// are compiled into built_paths.cpp alone, so that no other test object
// depends on the folder the project was cloned or built in, and a second
// clone reuses those objects from ccache.

// The built hangarpak-cli.
std::string cliProgram();
// The native program that records how it was started.
std::string argvRecorderProgram();
// The native stand-in of the outside programs.
std::string standinProgram();
// The zip quine of the extraction's fuzzing corpus.
std::string zipQuineFile();

// The cross-compiled Windows programs of the Wine tests; empty when the
// cross-compiler was not found at build time.
std::string windowsSceneryInstaller();
std::string windowsConverter();
std::string windowsProfileCalls();

}  // namespace testsupport
