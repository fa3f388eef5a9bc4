#pragma once

#include <string>

namespace install {

// Whether the members of a ZIP archive lie one after another, as every
// archiver writes them, or share bytes: an archive whose central directory
// points several members into the same compressed data (the overlapping
// bomb) inflates the same kernel again and again. The ZIP library does not
// tell where a member's data lies, so the central directory and the local
// headers are read here. An archive too damaged to read counts as Apart:
// the library then refuses it, and the byte bound of the extraction holds
// whatever it does.
enum class MemberLayout { Apart, Overlapping };

MemberLayout CheckMemberLayout(const std::string& hostPath);

}  // namespace install
