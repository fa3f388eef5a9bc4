#include "core/list_input.h"

#include "core/codepage.h"
#include "core/text.h"

namespace core {

namespace {

bool isSeparator(char c) {
  return c == ',' || c == '\r' || c == '\n';
}

// Reads the field at pos and moves pos past it, up to its separator.
std::string readField(std::string_view text, std::size_t& pos) {
  const std::size_t n = text.size();
  while (pos < n && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  if (pos < n && text[pos] == '"') {
    const std::size_t close = text.find('"', pos + 1);
    if (close == std::string_view::npos) {
      std::string field(text.substr(pos + 1));
      pos = n;
      return field;
    }
    std::string field(text.substr(pos + 1, close - pos - 1));
    pos = close + 1;
    while (pos < n && !isSeparator(text[pos])) ++pos;  // text after the closing quote is dropped
    return field;
  }
  const std::size_t start = pos;
  while (pos < n && !isSeparator(text[pos])) ++pos;
  std::size_t end = pos;
  while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return std::string(text.substr(start, end - start));
}

}  // namespace

std::vector<std::string> splitListInput(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (pos < text.size()) {
    fields.push_back(readField(text, pos));
    if (pos >= text.size()) break;
    if (text[pos] == ',') {
      ++pos;
      if (pos == text.size()) fields.emplace_back();  // a comma at the end leaves an empty field
    } else {
      pos += text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    }
  }
  return fields;
}

std::string firstListInputField(std::string_view text) {
  std::size_t pos = 0;
  return readField(text, pos);
}

std::vector<std::string> listInputFieldsOfFile(std::string_view cp1252Bytes) {
  return splitListInput(cp1252ToUtf8(cp1252Bytes));
}

std::string listInputValue(std::string_view field) {
  const auto eq = field.find('=');
  return trim(eq == std::string_view::npos ? field : field.substr(eq + 1));
}

}  // namespace core
