#pragma once
// Decodes a PNG file held in memory, for the help-picture panel.
#include <cstdint>
#include <string_view>
#include <vector>

namespace quenstrel {

struct PngImage {
  int width = 0, height = 0;
  // 8-bit red, green, blue, alpha (not premultiplied), rows from the top.
  std::vector<std::uint8_t> rgba;
};

// Any PNG libpng reads, converted to 8-bit RGBA. False, with `image` left
// empty, for bytes that are not a whole, valid PNG, or for a picture of more
// than kMaxPngPixels pixels.
bool DecodePng(std::string_view fileBytes, PngImage& image);

inline constexpr std::uint64_t kMaxPngPixels = 1u << 24;

}  // namespace quenstrel
