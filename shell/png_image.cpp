#include "shell/png_image.h"

#include <png.h>

#include <utility>

namespace quenstrel {
namespace {

// libpng's simplified reader keeps its setjmp inside libpng; an error ends
// the call with a zero result and leaves the control struct to be freed.
class PngReader {
 public:
  PngReader() {
    image_.version = PNG_IMAGE_VERSION;
    image_.opaque = nullptr;
  }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  ~PngReader() { png_image_free(&image_); }

  bool Begin(std::string_view bytes) {
    return png_image_begin_read_from_memory(&image_, bytes.data(), bytes.size()) != 0;
  }
  png_uint_32 Width() const { return image_.width; }
  png_uint_32 Height() const { return image_.height; }
  bool FinishRgba(std::vector<std::uint8_t>& pixels) {
    image_.format = PNG_FORMAT_RGBA;
    pixels.resize(PNG_IMAGE_SIZE(image_));
    return png_image_finish_read(&image_, nullptr, pixels.data(), 0, nullptr) != 0;
  }

 private:
  png_image image_{};
};

// The reader stops after the last pixel row, so a file cut after its pixels
// would pass; a whole file ends with the IEND chunk, which has no data.
bool EndsWithEndChunk(std::string_view bytes) {
  constexpr std::string_view kEnd{"\0\0\0\0IEND\xAE\x42\x60\x82", 12};
  return bytes.size() >= kEnd.size() && bytes.substr(bytes.size() - kEnd.size()) == kEnd;
}

}  // namespace

bool DecodePng(std::string_view fileBytes, PngImage& image) {
  image = {};
  if (!EndsWithEndChunk(fileBytes)) return false;
  PngReader reader;
  if (!reader.Begin(fileBytes)) return false;
  const std::uint64_t pixels = std::uint64_t{reader.Width()} * reader.Height();
  if (pixels == 0 || pixels > kMaxPngPixels) return false;
  PngImage decoded;
  decoded.width = static_cast<int>(reader.Width());
  decoded.height = static_cast<int>(reader.Height());
  if (!reader.FinishRgba(decoded.rgba)) return false;
  image = std::move(decoded);
  return true;
}

}  // namespace quenstrel
