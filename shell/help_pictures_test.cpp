// The two help pictures as the panel receives them: their files, and what a
// user sees in them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "resources/resources.h"
#include "shell/png_image.h"

namespace quenstrel {
namespace {

struct Rgb {
  std::uint8_t red, green, blue;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb kMarkRed{251, 56, 56};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kDescriptionBlue{0, 96, 192};
constexpr Rgb kListBlue{0, 136, 255};
constexpr Rgb kSelectionBlue{0, 120, 215};
constexpr Rgb kCaptionViolet{144, 0, 255};

struct Area {
  int left, top, right, bottom;  // right and bottom exclusive
};

// Where a colour occurs in a picture, and how often.
struct Occurrence {
  int count = 0;
  Area bounds{1 << 30, 1 << 30, -1, -1};
};

class Picture {
 public:
  explicit Picture(std::string_view file) { decoded_ = DecodePng(file, image_); }
  bool decoded() const { return decoded_; }
  int width() const { return image_.width; }
  int height() const { return image_.height; }
  Rgb At(int x, int y) const {
    const std::uint8_t* p = Pixel(x, y);
    return {p[0], p[1], p[2]};
  }
  std::uint8_t AlphaAt(int x, int y) const { return Pixel(x, y)[3]; }
  Occurrence Find(Rgb colour, Area area) const {
    Occurrence found;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (At(x, y) != colour) continue;
        ++found.count;
        found.bounds = {std::min(found.bounds.left, x), std::min(found.bounds.top, y),
                        std::max(found.bounds.right, x + 1), std::max(found.bounds.bottom, y + 1)};
      }
    }
    return found;
  }
  Occurrence Find(Rgb colour) const { return Find(colour, {0, 0, width(), height()}); }

 private:
  const std::uint8_t* Pixel(int x, int y) const {
    return &image_.rgba[(static_cast<std::size_t>(y) * image_.width + x) * 4];
  }
  PngImage image_;
  bool decoded_ = false;
};

std::uint32_t BigEndianAt(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

TEST(HelpPictures, AreOpaqueEightBitRgbaPngsOfTheirSizes) {
  struct Case {
    const char* name;
    std::string_view file;
    int width, height;
  };
  const Case cases[] = {{"format", FormatPicture(), 324, 128},
                        {"delete", DeletePicture(), 101, 193}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GT(c.file.size(), 33u);
    EXPECT_EQ(c.file.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndianAt(c.file, 16), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(BigEndianAt(c.file, 20), static_cast<std::uint32_t>(c.height));
    EXPECT_EQ(c.file[24], 8);  // bits per channel
    EXPECT_EQ(c.file[25], 6);  // red, green, blue and alpha
    const Picture picture(c.file);
    ASSERT_TRUE(picture.decoded());
    ASSERT_EQ(picture.width(), c.width);
    ASSERT_EQ(picture.height(), c.height);
    int translucent = 0;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) translucent += picture.AlphaAt(x, y) != 255;
    }
    EXPECT_EQ(translucent, 0);
  }
}

TEST(HelpPictures, TheFormatPictureMarksTheFirstLineOfTheDescriptionBox) {
  const Picture picture(FormatPicture());
  ASSERT_TRUE(picture.decoded());
  ASSERT_EQ(picture.width(), 324);
  // The red marks stay in the top 90 rows; each caption is where its arrow's tail is.
  const Occurrence red = picture.Find(kMarkRed);
  EXPECT_GT(red.count, 300);
  EXPECT_LE(red.bounds.bottom, 90);
  EXPECT_GT(picture.Find(kMarkRed, {0, 30, 40, 90}).count, 20) << "指令 under MOV";
  EXPECT_GT(picture.Find(kMarkRed, {40, 50, 130, 90}).count, 20) << "空格 under the gap";
  EXPECT_GT(picture.Find(kMarkRed, {162, 0, 320, 20}).count, 20) << "指令说明 right of the middle";
  EXPECT_EQ(picture.Find(kMarkRed, {130, 24, 324, 128}).count, 0);

  // The record on the first line: MOV at the far left, its description after the gap.
  const Occurrence mov = picture.Find(kDescriptionBlue, {0, 0, 30, 20});
  EXPECT_GT(mov.count, 0);
  EXPECT_LE(mov.bounds.left, 12);
  EXPECT_GT(picture.Find(kDescriptionBlue, {40, 0, 130, 20}).count, 0);

  // The box's frame line along the top and left, white inside, and a sliver
  // of scroll bar at the right edge.
  const Rgb frame = picture.At(0, 0);
  EXPECT_EQ(picture.Find(frame, {0, 0, 1, 128}).count, 128);
  EXPECT_EQ(picture.Find(frame, {0, 0, 320, 1}).count, 320);
  EXPECT_TRUE(frame.red == frame.green && frame.green == frame.blue && frame.red < 200);
  EXPECT_EQ(picture.Find(kWhite, {1, 90, 320, 128}).count, 319 * 38);
  EXPECT_EQ(picture.Find(kWhite, {322, 20, 324, 110}).count, 0);
}

TEST(HelpPictures, TheDeletePictureMarksTheSelectedItemAtTheTopOfTheList) {
  const Picture picture(DeletePicture());
  ASSERT_TRUE(picture.decoded());
  ASSERT_EQ(picture.height(), 193);
  const Occurrence red = picture.Find(kMarkRed);
  EXPECT_GT(red.count, 100);
  EXPECT_LE(red.bounds.bottom, 145);

  // The group caption above, then AAA selected: one item's bar, 13 rows high.
  const Occurrence bar = picture.Find(kSelectionBlue);
  EXPECT_GT(bar.count, 700);
  EXPECT_EQ(bar.bounds.bottom - bar.bounds.top, 13);
  EXPECT_LT(bar.bounds.top, 40);
  EXPECT_LT(picture.Find(kCaptionViolet).bounds.bottom, bar.bounds.top);
  // The further items go on below the marks, to the rows the panel never shows.
  EXPECT_GT(picture.Find(kListBlue, {0, bar.bounds.bottom, 101, 60}).count, 0);
  EXPECT_GT(picture.Find(kListBlue, {0, 152, 101, 193}).count, 0);
  EXPECT_EQ(picture.Find(kListBlue, {0, 0, 101, bar.bounds.top}).count, 0);
}

}  // namespace
}  // namespace quenstrel
