#include "core/profile_text.h"

#include "core/codepage.h"

namespace core::profile {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool isUtf16(Encoding e) {
  return e == Encoding::Utf16Le || e == Encoding::Utf16Be;
}

std::string_view markOf(Encoding e) {
  switch (e) {
    case Encoding::Utf8:
      return kUtf8Mark;
    case Encoding::Utf16Le:
      return kUtf16LeMark;
    case Encoding::Utf16Be:
      return kUtf16BeMark;
    case Encoding::Cp1252:
      break;
  }
  return {};
}

}  // namespace

Encoding encodingOf(std::string_view head) {
  if (head.substr(0, kUtf8Mark.size()) == kUtf8Mark) return Encoding::Utf8;
  if (head.substr(0, 2) == kUtf16LeMark) return Encoding::Utf16Le;
  if (head.substr(0, 2) == kUtf16BeMark) return Encoding::Utf16Be;
  return Encoding::Cp1252;
}

std::size_t markLength(Encoding encoding) {
  return markOf(encoding).size();
}

std::string parserForm(Encoding encoding, std::string_view utf8) {
  return encoding == Encoding::Cp1252 ? utf8ToCp1252(utf8) : std::string(utf8);
}

std::string programForm(Encoding encoding, std::string_view text) {
  return encoding == Encoding::Cp1252 ? cp1252ToUtf8(text) : wellFormedUtf8(text);
}

std::string firstUnits(std::string_view utf8, std::size_t n) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if ((b & 0xC0) == 0x80) continue;
    units += b >= 0xF0 ? 2 : 1;
    if (units > n) return std::string(utf8.substr(0, i));
  }
  return std::string(utf8);
}

FileText::FileText(std::string_view bytes) : encoding_(encodingOf(bytes)) {
  bytes.remove_prefix(markLength(encoding_));
  if (!isUtf16(encoding_)) {
    text_ = bytes;
    return;
  }
  if (bytes.size() % 2 != 0) {
    oddByte_ = bytes.substr(bytes.size() - 1);
    bytes.remove_suffix(1);
  }
  decoded_ = utf16ToUtf8(bytes, encoding_ == Encoding::Utf16Be);
  text_ = decoded_;
}

std::string FileText::fromUtf8(std::string_view utf8) const {
  return parserForm(encoding_, utf8);
}

std::string FileText::toUtf8(std::string_view text) const {
  return programForm(encoding_, text);
}

std::string FileText::bytes(std::string_view text) const {
  std::string out(markOf(encoding_));
  if (isUtf16(encoding_))
    out += utf8ToUtf16(text, encoding_ == Encoding::Utf16Be);
  else
    out += text;
  out += oddByte_;
  return out;
}

}  // namespace core::profile
