#include "support/zip_quine.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "support/zip_bytes.h"

namespace testsupport {

namespace {

// The member's deflate stream is a program for the inflater of two
// instructions: "print n" (a stored block: the n bytes after its header go
// out as they are) and "repeat n" (a fixed-Huffman block that copies the
// last n bytes out again). Each instruction takes kOp bytes, so that a count
// of instructions is a count of bytes, and the sequence in quine() prints the
// archive's head, the program itself and the archive's tail.
constexpr std::size_t kOp = 10;

class BitWriter {
 public:
  void bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      acc_ |= ((value >> i) & 1u) << filled_;
      if (++filled_ == 8) flush();
    }
  }
  // Huffman codes go out from their highest bit.
  void code(std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) bits(value >> i, 1);
  }
  std::string done() {
    if (filled_) flush();
    return out_;
  }

 private:
  void flush() {
    out_ += static_cast<char>(acc_);
    acc_ = 0, filled_ = 0;
  }
  std::string out_;
  std::uint32_t acc_ = 0;
  int filled_ = 0;
};

// The deflate code of a length (3..258) or a distance: its number, the base
// it adds to and how many extra bits follow.
struct Code {
  int number, base, extra;
};
Code lengthCode(std::size_t n) {
  static const int bases[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                              31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  int i = n == 258 ? 28 : 27;
  while (bases[i] > static_cast<int>(n)) --i;
  return {257 + i, bases[i], i < 8 || i == 28 ? 0 : (i - 4) / 4};
}
Code distanceCode(std::size_t d) {
  int i = 0, base = 1;
  for (;; ++i) {
    const int extra = i < 4 ? 0 : i / 2 - 1;
    if (static_cast<int>(d) < base + (1 << extra)) return {i, base, extra};
    base += 1 << extra;
  }
}

// "repeat n", copied in the given parts, followed by an empty stored block
// that brings the stream back to a whole byte; the last instruction marks
// that block final.
std::string repeat(std::size_t n, const std::vector<std::size_t>& parts, bool last) {
  BitWriter w;
  w.bits(0b010, 3);  // a block with the fixed codes, not the last
  for (const std::size_t part : parts) {
    const Code len = lengthCode(part), dist = distanceCode(n);
    if (len.number < 280)
      w.code(len.number - 256, 7);
    else
      w.code(0xc0 + len.number - 280, 8);
    w.bits(static_cast<std::uint32_t>(part - len.base), len.extra);
    w.code(dist.number, 5);
    w.bits(static_cast<std::uint32_t>(n - dist.base), dist.extra);
  }
  w.code(0, 7);  // end of block
  w.bits(last ? 1 : 0, 3);
  std::string op = w.done();
  le(op, 0xffff0000, 4);
  return op;
}

// "repeat n" in exactly kOp bytes: n split in one or two copies.
std::string repeatOp(std::size_t n) {
  for (std::size_t first = n; first >= 3; --first) {
    std::vector<std::size_t> parts{first};
    if (first < n) parts.push_back(n - first);
    if (first > 258 || parts.back() < 3 || parts.back() > 258) continue;
    if (std::string op = repeat(n, parts, false); op.size() == kOp) return op;
  }
  throw std::logic_error("no repeat instruction of the size");
}

// The last "repeat n", in copies of at most 258 bytes.
std::string lastRepeat(std::size_t n) {
  std::vector<std::size_t> parts;
  for (std::size_t left = n; left > 0;) {
    std::size_t part = std::min<std::size_t>(left, 258);
    if (left - part > 0 && left - part < 3) part -= 3;
    parts.push_back(part);
    left -= part;
  }
  return repeat(n, parts, true);
}

// "print n": an empty stored block, to take kOp bytes, then the header of
// the stored block of n bytes.
std::string print(std::size_t n) {
  std::string op("\0\0\0\xff\xff\0", 6);
  le(op, n, 2), le(op, n ^ 0xffff, 2);
  return op;
}

// The program that prints head, itself and tail, in that order.
std::string quine(const std::string& head, const std::string& tail, const std::string& last) {
  const std::size_t h = head.size() + kOp, t = last.size() + tail.size();
  const std::string printHead = print(h), repeatHead = repeatOp(h), print1 = print(kOp), print4 = print(4 * kOp),
                    repeat4 = repeatOp(4 * kOp), print0 = print(0), printTail = print(t);
  return printHead + head + printHead + repeatHead + print1 + repeatHead + print1 + print1 + print4 + repeatHead +
         print1 + print1 + print4 + repeat4 + print4 + repeat4 + print4 + repeat4 + print4 + repeat4 + print4 +
         repeat4 + print0 + print0 + printTail + repeat4 + print0 + print0 + printTail + last + tail + last;
}

std::uint32_t crc(const std::string& bytes) {
  return static_cast<std::uint32_t>(
      ::crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

}  // namespace

std::string zipQuine(const std::string& name, const ArchiveBuilder& others) {
  // The other members' local entries go between the quine's data and the
  // central directory, their central entries after the quine's own.
  const std::string rest = others.bytes();
  const std::size_t end = endRecord(rest);
  const std::size_t directory = getLe(rest, end + 16, 4), members = getLe(rest, end + 10, 2);
  const std::string otherLocal = rest.substr(0, directory);

  auto head = [&](std::uint32_t sum, std::size_t packed, std::size_t size) {
    std::string h;
    le(h, 0x04034b50, 4), le(h, 20, 2), le(h, 0, 2), le(h, 8, 2), le(h, 0, 2), le(h, 0x21, 2);
    le(h, sum, 4), le(h, packed, 4), le(h, size, 4), le(h, name.size(), 2), le(h, 0, 2);
    return h + name;
  };
  auto tail = [&](std::uint32_t sum, std::size_t packed, std::size_t size) {
    std::string central;
    le(central, 0x02014b50, 4), le(central, 20, 2), le(central, 20, 2), le(central, 0, 2), le(central, 8, 2);
    le(central, 0, 2), le(central, 0x21, 2), le(central, sum, 4), le(central, packed, 4), le(central, size, 4);
    le(central, name.size(), 2), le(central, 0, 12), le(central, 0, 4);
    central += name;
    const std::size_t shift = head(0, 0, 0).size() + packed;
    for (std::size_t at = directory; at < end;) {  // the others' entries, moved by the quine's member
      std::string entry =
          rest.substr(at, 46 + getLe(rest, at + 28, 2) + getLe(rest, at + 30, 2) + getLe(rest, at + 32, 2));
      putLe(entry, 42, getLe(entry, 42, 4) + shift, 4);
      central += entry;
      at += entry.size();
    }
    std::string t = otherLocal + central;
    le(t, 0x06054b50, 4), le(t, 0, 4), le(t, members + 1, 2), le(t, members + 1, 2), le(t, central.size(), 4);
    le(t, shift + otherLocal.size(), 4), le(t, 0, 2);
    return t;
  };

  // The last instruction repeats itself and the tail, so its size depends
  // on its own; a few rounds settle it.
  const std::size_t tailSize = tail(0, 0, 0).size();
  std::string last;
  for (int round = 0; round < 4; ++round) last = lastRepeat(last.size() + tailSize);
  const std::size_t packed = quine(head(0, 0, 0), tail(0, 0, 0), last).size();
  const std::size_t size = head(0, 0, 0).size() + packed + tailSize;
  auto archive = [&](std::uint32_t sum) {
    const std::string h = head(sum, packed, size), t = tail(sum, packed, size);
    return h + quine(h, t, last) + t;
  };

  // The archive holds its own check sum. CRC-32 is affine over GF(2), so the
  // sum that is its own fixed point solves 32 linear equations:
  // sum = crc(archive(0)) ^ (M * sum), M's columns from the single bits.
  const std::string zero = archive(0);
  const std::uint32_t base = crc(zero), empty = crc(std::string(zero.size(), '\0'));
  std::vector<std::pair<std::uint32_t, std::uint32_t>> rows;  // (I ^ M) column, the bits it combines
  for (int bit = 0; bit < 32; ++bit) {
    std::string flipped = archive(1u << bit);
    for (std::size_t i = 0; i < flipped.size(); ++i) flipped[i] ^= zero[i];
    rows.emplace_back(crc(flipped) ^ empty ^ (1u << bit), 1u << bit);
  }
  std::uint32_t want = base, sum = 0;
  for (int bit = 31; bit >= 0; --bit) {  // Gaussian elimination from the highest bit
    auto pivot = std::find_if(rows.begin(), rows.end(), [&](auto& r) { return r.first >> bit & 1; });
    if (pivot == rows.end()) continue;
    const auto p = *pivot;
    rows.erase(pivot);
    for (auto& r : rows)
      if (r.first >> bit & 1) r.first ^= p.first, r.second ^= p.second;
    if (want >> bit & 1) want ^= p.first, sum ^= p.second;
  }
  if (want != 0 || crc(archive(sum)) != sum) throw std::logic_error("no check sum is its own fixed point");
  return archive(sum);
}

}  // namespace testsupport
