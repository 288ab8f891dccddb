#include "support/MetafileProbe.h"

#include <algorithm>
#include <cstring>

#include "platform/Canvas.h"
#include "metafile/Metafile.h"

namespace quorvex::test {

std::unique_ptr<Bitmap> WhiteBitmap(int width, int height) {
  auto bitmap = std::make_unique<Bitmap>(width, height, PixelFormat::Bit24);
  for (int y = 0; y < height; ++y) {
    std::memset(bitmap->ScanLine(y), 0xFF, static_cast<std::size_t>(bitmap->RowBytes()));
  }
  return bitmap;
}

std::unique_ptr<Bitmap> PlayOnWhite(const std::vector<std::uint8_t>& placeable) {
  Metafile metafile(placeable);
  auto bitmap = WhiteBitmap(metafile.Width(), metafile.Height());
  metafile.Draw(*bitmap, 0, 0);
  return bitmap;
}

std::string Picture(const Bitmap& bitmap) {
  std::string out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      switch (bitmap.PixelColor(x, y)) {
        case RgbColor(255, 255, 255): out += '.'; break;
        case RgbColor(0, 0, 0): out += '#'; break;
        case RgbColor(255, 0, 0): out += 'r'; break;
        case RgbColor(0, 255, 0): out += 'g'; break;
        case RgbColor(0, 0, 255): out += 'b'; break;
        default: out += '?';
      }
    }
    out += '\n';
  }
  return out;
}

int InkPixels(const Bitmap& bitmap, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = std::max(top, 0); y < std::min(bottom, bitmap.Height()); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, bitmap.Width()); ++x) {
      if (bitmap.PixelColor(x, y) != RgbColor(255, 255, 255)) ++count;
    }
  }
  return count;
}

}  // namespace quorvex::test
