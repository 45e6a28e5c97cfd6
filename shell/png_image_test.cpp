#include "shell/png_image.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quenstrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// 3 x 2, 8-bit RGBA: red, half-transparent green, transparent blue;
// (10,20,30,255), (200,100,50,255), (1,2,3,4).
const Bytes kRgbaPng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x9d, 0x74, 0x66,
    0x1a, 0x00, 0x00, 0x00, 0x23, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0xf0,
    0x9f, 0xe1, 0x3f, 0x43, 0x03, 0x03, 0xc3, 0x7f, 0x06, 0x06, 0x2e, 0x11, 0xb9, 0xff, 0x27, 0x52,
    0x8c, 0xfe, 0x33, 0x32, 0x31, 0xb3, 0x00, 0x00, 0x75, 0x76, 0x08, 0x1f, 0x2f, 0x12, 0xf6, 0x65,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

// 2 x 1, 1-bit palette (9,8,7), (250,240,230): the pixels are entries 1, 0.
const Bytes kPalettePng = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x01, 0x03, 0x00, 0x00, 0x00, 0xce,
    0xec, 0xed, 0xc9, 0x00, 0x00, 0x00, 0x06, 0x50, 0x4c, 0x54, 0x45, 0x09, 0x08, 0x07, 0xfa,
    0xf0, 0xe6, 0xca, 0x49, 0xcb, 0x89, 0x00, 0x00, 0x00, 0x0a, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9c, 0x63, 0x68, 0x00, 0x00, 0x00, 0x82, 0x00, 0x81, 0x77, 0xcd, 0x72, 0xb6, 0x00, 0x00,
    0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

constexpr std::size_t kIhdrData = 16;  // width, height, depth, colour type...
constexpr std::size_t kIhdrCrc = 29;

void PutBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
  }
}

// The RGBA file with another width and height, its IHDR checksum made good.
Bytes WithSize(std::uint32_t width, std::uint32_t height) {
  Bytes bytes = kRgbaPng;
  PutBigEndian(bytes, kIhdrData, width);
  PutBigEndian(bytes, kIhdrData + 4, height);
  const auto crc = crc32(0, &bytes[kIhdrData - 4], 17);  // the chunk type and its 13 bytes
  PutBigEndian(bytes, kIhdrCrc, static_cast<std::uint32_t>(crc));
  return bytes;
}

TEST(PngImage, DecodesEveryPixelAsStraightRgbaFromTheTopRow) {
  PngImage image;
  ASSERT_TRUE(DecodePng(Text(kRgbaPng), image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.rgba, (Bytes{255, 0,  0,  255, 0,   255, 0,  128, 0, 0, 255, 0,
                               10,  20, 30, 255, 200, 100, 50, 255, 1, 2, 3,   4}));
}

TEST(PngImage, GivesAPalettePictureOpaqueRgba) {
  PngImage image;
  ASSERT_TRUE(DecodePng(Text(kPalettePng), image));
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.rgba, (Bytes{250, 240, 230, 255, 9, 8, 7, 255}));
}

TEST(PngImage, RefusesAnythingButAWholeValidFile) {
  struct Case {
    std::string name;
    std::string bytes;
  };
  std::vector<Case> cases = {
      {"empty", ""},
      {"not a PNG", "GIF89a\x01\x00\x01\x00"},
      {"the signature alone", Text(kRgbaPng).substr(0, 8)},
      {"a zero width", Text(WithSize(0, 2))},
      // Far beyond the limit: refused before anything is allocated for it.
      {"65536 x 65536", Text(WithSize(65536, 65536))},
  };
  Bytes flipped = kRgbaPng;
  flipped[45] ^= 0x10;  // inside the compressed pixels: the chunk's checksum fails
  cases.push_back({"a changed pixel byte", Text(flipped)});
  Bytes badHeader = kRgbaPng;
  badHeader[kIhdrData + 9] = 7;  // no such colour type
  cases.push_back({"an unknown colour type", Text(badHeader)});
  for (std::size_t length = 9; length < kRgbaPng.size(); ++length) {
    cases.push_back({"cut to " + std::to_string(length), Text(kRgbaPng).substr(0, length)});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PngImage image{7, 7, {1, 2, 3}};
    EXPECT_FALSE(DecodePng(c.bytes, image));
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_TRUE(image.rgba.empty());
  }
}

}  // namespace
}  // namespace quenstrel
