#include "manager/catalogue.h"

#include <algorithm>
#include <cstdint>

#include "core/text.h"

namespace manager {

bool textOrderLess(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

namespace {

std::string variantKey(std::string_view folder, int section) {
  return core::lower(folder) + "|" + std::to_string(section);
}

const std::string& textOf(const AircraftVariant& v) {
  return v.title;
}
const std::string& textOf(const Entry& e) {
  return e.name;
}

// A row's place in the sort: the first 16 bytes of its text, letters
// folded, as two numbers that compare as textOrderLess compares those
// bytes (a shorter text padded with zero bytes, which order it first as
// textOrderLess does), and the row. Most rows are placed by the numbers
// alone, without a look at the texts themselves.
struct SortKey {
  std::uint64_t high = 0, low = 0;
  std::size_t row = 0;
};

SortKey sortKeyOf(std::string_view text, std::size_t row) {
  SortKey key{.row = row};
  for (std::size_t i = 0; i < 16; ++i) {
    auto byte = static_cast<unsigned char>(i < text.size() ? text[i] : 0);
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<unsigned char>(byte - 'A' + 'a');
    std::uint64_t& half = i < 8 ? key.high : key.low;
    half = half << 8 | byte;
  }
  return key;
}

// Sorts by text, equal texts in their order: the rows are moved once, to
// their places, after their keys are sorted.
template <class Row>
void sortRows(std::vector<Row>& rows) {
  std::vector<SortKey> keys;
  keys.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) keys.push_back(sortKeyOf(textOf(rows[i]), i));
  std::stable_sort(keys.begin(), keys.end(), [&rows](const SortKey& a, const SortKey& b) {
    if (a.high != b.high) return a.high < b.high;
    if (a.low != b.low) return a.low < b.low;
    return textOrderLess(textOf(rows[a.row]), textOf(rows[b.row]));
  });
  std::vector<Row> sorted;
  sorted.reserve(rows.size());
  for (const SortKey& key : keys) sorted.push_back(std::move(rows[key.row]));
  rows = std::move(sorted);
}

// Moves a row whose text changed to where adding it to the sorted list
// would put it: after the rows of equal text.
template <class Row>
std::size_t resort(std::vector<Row>& rows, std::size_t index) {
  Row row = std::move(rows.at(index));
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
  const auto pos = std::upper_bound(rows.begin(), rows.end(), textOf(row), [](const std::string& text, const Row& r) {
    return textOrderLess(text, textOf(r));
  });
  return static_cast<std::size_t>(rows.insert(pos, std::move(row)) - rows.begin());
}

}  // namespace

Catalogue::Catalogue(std::vector<AircraftVariant> variants, std::vector<PanelEntry> panels,
                     std::vector<SoundEntry> sounds)
    : variants_(std::move(variants)), panels_(std::move(panels)), sounds_(std::move(sounds)) {
  sortRows(variants_);
  sortRows(panels_);
  sortRows(sounds_);
  indexVariants();
  for (const EntryKind kind : kEntryKinds) indexEntries(kind);
}

void Catalogue::indexVariants() {
  variantIndex_.clear();
  variantIndex_.reserve(variants_.size());
  for (std::size_t i = 0; i < variants_.size(); ++i)
    variantIndex_.try_emplace(variantKey(variants_[i].folder, variants_[i].section), i);
}

void Catalogue::indexEntries(EntryKind kind) {
  auto& index = entryIndex_[static_cast<int>(kind)];
  index.clear();
  index.reserve(entryCount(kind));
  for (std::size_t i = 0; i < entryCount(kind); ++i) index.try_emplace(entry(kind, i).relative, i);
}

int Catalogue::activeCount() const {
  return static_cast<int>(std::ranges::count_if(variants_, [](const AircraftVariant& v) { return !v.hidden; }));
}

std::optional<std::size_t> Catalogue::findVariant(std::string_view folder, int section) const {
  const auto it = variantIndex_.find(variantKey(folder, section));
  return it == variantIndex_.end() ? std::nullopt : std::optional(it->second);
}

std::optional<std::size_t> Catalogue::findEntry(EntryKind kind, std::string_view relative) const {
  const auto& index = entryIndex_[static_cast<int>(kind)];
  const auto it = index.find(relative);
  return it == index.end() ? std::nullopt : std::optional(it->second);
}

const Entry* Catalogue::usedEntry(const AircraftVariant& variant, EntryKind kind) const {
  const auto& relative = variant.uses(kind);
  if (!relative) return nullptr;
  const auto index = findEntry(kind, *relative);
  return index ? &entry(kind, *index) : nullptr;
}

std::string Catalogue::shownEntry(const AircraftVariant& variant, EntryKind kind) const {
  const Entry* used = usedEntry(variant, kind);
  return used ? used->relative : std::string(NotListed);
}

void Catalogue::setUses(std::size_t variant, EntryKind kind, std::optional<std::string> relative) {
  variants_.at(variant).uses(kind) = std::move(relative);
}

std::size_t Catalogue::setTitle(std::size_t variant, std::string title) {
  variants_.at(variant).title = std::move(title);
  const std::size_t moved = resort(variants_, variant);
  indexVariants();
  return moved;
}

std::size_t Catalogue::setEntryName(EntryKind kind, std::size_t index, std::string name) {
  std::size_t moved;
  if (kind == EntryKind::Panel) {
    panels_.at(index).name = std::move(name);
    moved = resort(panels_, index);
  } else {
    sounds_.at(index).name = std::move(name);
    moved = resort(sounds_, index);
  }
  indexEntries(kind);
  return moved;
}

void Catalogue::removeEntry(EntryKind kind, std::size_t index) {
  const std::string relative = entry(kind, index).relative;
  if (kind == EntryKind::Panel)
    panels_.erase(panels_.begin() + static_cast<std::ptrdiff_t>(index));
  else
    sounds_.erase(sounds_.begin() + static_cast<std::ptrdiff_t>(index));
  indexEntries(kind);
  // Another entry of the same folder (a second file spelled in other
  // capitals) keeps the variants that use it.
  if (findEntry(kind, relative)) return;
  for (auto& v : variants_)
    if (v.uses(kind) == relative) v.uses(kind).reset();
}

void Catalogue::removeFolder(std::string_view folder) {
  std::erase_if(variants_, [&](const AircraftVariant& v) { return core::iequals(v.folder, folder); });
  indexVariants();
}

}  // namespace manager
