#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core::profile {

// How a profile file is stored: UTF-8 or UTF-16 only when it starts with that
// form's byte-order mark, and in the 8-bit code page (Windows-1252)
// otherwise. This is how Wine's profile calls, which the simulator reads its
// files through, take a file. Windows' own calls take only the UTF-16 LE
// mark: they read a UTF-8 mark as three 8-bit characters, which hide the
// section header on the first line, and a UTF-16 BE file as 8-bit text, to
// which a write then appends 8-bit lines. Both would lose or damage a file
// saved by a text editor, so these marks are read as Wine reads them.
enum class Encoding : std::uint8_t { Cp1252, Utf8, Utf16Le, Utf16Be };

// The encoding a file's first bytes (up to three) tell, and the length of
// its mark.
Encoding encodingOf(std::string_view head);
std::size_t markLength(Encoding encoding);

// A name or value of the program (UTF-8) in the form the line parser reads
// for a file of the encoding, and text of that form as the program's
// well-formed UTF-8.
std::string parserForm(Encoding encoding, std::string_view utf8);
std::string programForm(Encoding encoding, std::string_view text);

// The first n characters of UTF-8 text, counted as UTF-16 counts them (a
// character beyond the first 65,536 takes two), as the Windows call's
// buffer holds them.
std::string firstUnits(std::string_view utf8, std::size_t n);

// A profile file's content in the form the line parser reads: an 8-bit
// file's own bytes, else UTF-8 without the mark (a UTF-16 file converted
// with nothing lost, so that lines a write does not touch go back to disk
// byte for byte). The file's bytes must outlive it.
class FileText {
 public:
  explicit FileText(std::string_view bytes);
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;

  std::string_view text() const { return text_; }

  // A name or value of the program (UTF-8) in the parser's form.
  std::string fromUtf8(std::string_view utf8) const;
  // Text of the parser's form as the program's well-formed UTF-8.
  std::string toUtf8(std::string_view text) const;
  // The bytes of the file with this text: same encoding and mark, and a
  // UTF-16 file's odd last byte kept at its end.
  std::string bytes(std::string_view text) const;

 private:
  Encoding encoding_ = Encoding::Cp1252;
  std::string_view text_;
  std::string decoded_;  // a UTF-16 file's text
  std::string_view oddByte_;
};

}  // namespace core::profile
