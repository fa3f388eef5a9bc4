#include "sample/bitmap.h"

namespace sample {

namespace {
void put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xff);
  out += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}
}  // namespace

std::string bitmap(int width, int height, std::uint32_t rgb) {
  const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
  const std::uint32_t rowBytes = (w * 3 + 3) / 4 * 4;  // rows are padded to four bytes
  const std::uint32_t pixelBytes = rowBytes * h;
  std::string out;
  out.reserve(54 + pixelBytes);
  // BITMAPFILEHEADER
  out += "BM";
  put32(out, 54 + pixelBytes);
  put32(out, 0);
  put32(out, 54);
  // BITMAPINFOHEADER
  put32(out, 40);
  put32(out, w);
  put32(out, h);
  put16(out, 1);   // planes
  put16(out, 24);  // bits per pixel
  put32(out, 0);   // no compression
  put32(out, pixelBytes);
  put32(out, 2835);  // 72 dots per inch
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  const char blue = static_cast<char>(rgb & 0xff), green = static_cast<char>((rgb >> 8) & 0xff),
             red = static_cast<char>((rgb >> 16) & 0xff);
  for (std::uint32_t y = 0; y < h; ++y) {
    std::uint32_t x = 0;
    for (; x < w; ++x) {
      const bool stripe = (x + y) % 8 < 2;
      out += stripe ? '\xff' : blue;
      out += stripe ? '\xff' : green;
      out += stripe ? '\xff' : red;
    }
    out.append(rowBytes - w * 3, '\0');
  }
  return out;
}

}  // namespace sample
