#pragma once

#include <zip.h>

#include <string>

namespace install {

// An archive file opened for the ZIP library to read through a window of
// its bytes: the small members that follow one another in it are read
// with one read of the file for many, where the library's own file source
// seeks and reads for each. nullptr, with error set, when the file cannot
// be opened; a file that is not a plain file is not opened here (nullptr
// with no error set), for the library to open itself.
zip_source_t* OpenArchiveSource(const std::string& hostPath, zip_error_t& error);

}  // namespace install
