#pragma once

#include <string>
#include <string_view>

namespace sample {

// Writes a host file, making its folders first. The sample writes thousands
// of files into a folder of its own, so no atomic replacement and no sync.
void writeHostFile(const std::string& hostPath, std::string_view bytes);

// Writes a host file into a folder that exists.
void writeHostFileInFolder(const std::string& hostPath, std::string_view bytes);

}  // namespace sample
