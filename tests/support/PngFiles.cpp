#include "support/PngFiles.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <random>

namespace quorvex::test {

int Channels(int colorType) {
  switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

static std::size_t RowBytes(const ReferencePng& png) {
  return (static_cast<std::size_t>(png.Width) * Channels(png.ColorType) * png.BitDepth + 7) / 8;
}

void FillNoise(ReferencePng& png, std::uint32_t seed) {
  std::mt19937 random(seed);
  png.Rows.assign(png.Height, std::vector<std::uint8_t>(RowBytes(png)));
  for (auto& row : png.Rows) {
    for (auto& byte : row) byte = static_cast<std::uint8_t>(random());
  }
  if (png.ColorType != 3 || png.Plte.empty()) return;
  // Palette indexes stay below the palette's size, or libpng refuses the row.
  for (std::uint32_t y = 0; y < png.Height; ++y) {
    for (std::uint32_t x = 0; x < png.Width; ++x) {
      int bit = static_cast<int>(x) * png.BitDepth;
      int shift = 8 - png.BitDepth - bit % 8;
      std::uint8_t& b = png.Rows[y][static_cast<std::size_t>(bit / 8)];
      int mask = ((1 << png.BitDepth) - 1) << shift;
      int index = static_cast<int>((b & mask) >> shift) % static_cast<int>(png.Plte.size());
      b = static_cast<std::uint8_t>((b & ~mask) | (index << shift));
    }
  }
}

int SampleAt(const ReferencePng& png, int x, int y, int channel) {
  const std::vector<std::uint8_t>& row = png.Rows.at(static_cast<std::size_t>(y));
  const int channels = Channels(png.ColorType);
  if (png.BitDepth < 8) {
    int bit = (x * channels + channel) * png.BitDepth;
    return (row.at(static_cast<std::size_t>(bit / 8)) >> (8 - png.BitDepth - bit % 8)) & ((1 << png.BitDepth) - 1);
  }
  std::size_t at = static_cast<std::size_t>((x * channels + channel) * (png.BitDepth / 8));
  return png.BitDepth == 8 ? row.at(at) : (row.at(at) << 8) | row.at(at + 1);
}

namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

void StoreError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

png_color_16 Colour16(int grey, const int rgb[3], int index) {
  png_color_16 c{};
  c.gray = static_cast<png_uint_16>(grey < 0 ? 0 : grey);
  c.red = static_cast<png_uint_16>(rgb[0] < 0 ? 0 : rgb[0]);
  c.green = static_cast<png_uint_16>(rgb[1] < 0 ? 0 : rgb[1]);
  c.blue = static_cast<png_uint_16>(rgb[2] < 0 ? 0 : rgb[2]);
  c.index = static_cast<png_byte>(index < 0 ? 0 : index);
  return c;
}

// Only plain data lives in this frame, as libpng leaves it by longjmp on errors.
bool Write(const ReferencePng& spec, std::vector<png_bytep>& rows, std::vector<png_color>& plte,
           std::vector<png_text>& texts, std::vector<std::uint8_t>* out, std::string* error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, StoreError, IgnoreWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendToVector, NoFlush);
  if (spec.IdatSize > 0) png_set_compression_buffer_size(png, spec.IdatSize);
  png_set_IHDR(png, info, spec.Width, spec.Height, spec.BitDepth, spec.ColorType,
               spec.Interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!plte.empty()) png_set_PLTE(png, info, plte.data(), static_cast<int>(plte.size()));
  const bool hasBackground = spec.BackgroundGrey >= 0 || spec.BackgroundRgb[0] >= 0 || spec.BackgroundIndex >= 0;
  if (hasBackground) {
    png_color_16 background = Colour16(spec.BackgroundGrey, spec.BackgroundRgb, spec.BackgroundIndex);
    png_set_bKGD(png, info, &background);
  }
  if (!spec.PaletteAlpha.empty()) {
    png_set_tRNS(png, info, spec.PaletteAlpha.data(), static_cast<int>(spec.PaletteAlpha.size()), nullptr);
  } else if (spec.TransparentGrey >= 0 || spec.TransparentRgb[0] >= 0) {
    png_color_16 transparent = Colour16(spec.TransparentGrey, spec.TransparentRgb, -1);
    png_set_tRNS(png, info, nullptr, 0, &transparent);
  }
  if (!texts.empty()) png_set_text(png, info, texts.data(), static_cast<int>(texts.size()));
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> WriteWithLibpng(const ReferencePng& spec) {
  std::vector<std::vector<std::uint8_t>> copies = spec.Rows;
  std::vector<png_bytep> rows;
  for (auto& row : copies) rows.push_back(row.data());
  std::vector<png_color> plte;
  for (const PaletteEntry& e : spec.Plte) plte.push_back({e.Red, e.Green, e.Blue});
  std::vector<std::string> keys(spec.Comments.size(), "Comment");
  std::vector<png_text> texts(spec.Comments.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
    texts[i].key = keys[i].data();
    texts[i].text = const_cast<char*>(spec.Comments[i].c_str());
  }
  std::vector<std::uint8_t> out;
  std::string error;
  EXPECT_TRUE(Write(spec, rows, plte, texts, &out, &error)) << "libpng: " << error;
  return out;
}

std::vector<std::uint8_t> Chunk(const std::string& type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out;
  auto put32 = [&](std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
  };
  put32(static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  put32(static_cast<std::uint32_t>(crc32(0, out.data() + 4, static_cast<uInt>(4 + data.size()))));
  return out;
}

std::vector<std::uint8_t> HeaderData(std::uint32_t width, std::uint32_t height, int depth, int colorType,
                                     int interlace, int compression, int filter) {
  std::vector<std::uint8_t> data;
  for (std::uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) data.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  for (int v : {depth, colorType, compression, filter, interlace}) data.push_back(static_cast<std::uint8_t>(v));
  return data;
}

std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> out(size);
  compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> PngOf(const std::vector<std::vector<std::uint8_t>>& chunks) {
  std::vector<std::uint8_t> out = {137, 80, 78, 71, 13, 10, 26, 10};
  for (const auto& c : chunks) out.insert(out.end(), c.begin(), c.end());
  return out;
}

}  // namespace quorvex::test
