#include "support/PngFiles.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <random>

namespace quorvex::test {

ReferencePng::ReferencePng(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace,
                           std::uint32_t seed, Palette plte)
    : Width(width), Height(height), BitDepth(depth), ColorType(colorType), Interlace(interlace), Plte(std::move(plte)) {
  std::mt19937 random(seed);
  const std::size_t rowBytes = (std::size_t{width} * Channels() * depth + 7) / 8;
  Rows.assign(height, std::vector<std::uint8_t>(rowBytes));
  for (auto& row : Rows) {
    for (auto& byte : row) byte = static_cast<std::uint8_t>(random());
  }
  if (Plte.empty()) return;
  for (auto& row : Rows) {
    for (std::uint32_t x = 0; x < width; ++x) {
      int bit = static_cast<int>(x) * depth, shift = 8 - depth - bit % 8, mask = ((1 << depth) - 1) << shift;
      std::uint8_t& b = row[static_cast<std::size_t>(bit / 8)];
      int index = ((b & mask) >> shift) % static_cast<int>(Plte.size());
      b = static_cast<std::uint8_t>((b & ~mask) | (index << shift));
    }
  }
}

int ReferencePng::Channels() const { return ColorType == 2 ? 3 : ColorType == 4 ? 2 : ColorType == 6 ? 4 : 1; }

int ReferencePng::Sample(int x, int y, int channel) const {
  const std::vector<std::uint8_t>& row = Rows.at(static_cast<std::size_t>(y));
  if (BitDepth < 8) {
    int bit = (x * Channels() + channel) * BitDepth;
    return (row.at(static_cast<std::size_t>(bit / 8)) >> (8 - BitDepth - bit % 8)) & ((1 << BitDepth) - 1);
  }
  std::size_t at = static_cast<std::size_t>((x * Channels() + channel) * (BitDepth / 8));
  return BitDepth == 8 ? row.at(at) : (row.at(at) << 8) | row.at(at + 1);
}

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void StoreError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}

// Only plain data lives in this frame, as libpng leaves it by longjmp on errors.
bool WritePng(const ReferencePng& reference, png_bytep* rows, const png_color* plte, const png_byte* alphas,
              const png_color_16* colour, std::vector<std::uint8_t>* out, std::string* error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, StoreError, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, Append, nullptr);
  png_set_IHDR(png, info, reference.Width, reference.Height, reference.BitDepth, reference.ColorType, reference.Interlace, 0, 0);
  if (!reference.Plte.empty()) png_set_PLTE(png, info, plte, static_cast<int>(reference.Plte.size()));
  if (!reference.Transparency.empty()) {
    png_set_tRNS(png, info, alphas, static_cast<int>(reference.Transparency.size()), colour);
  }
  if (reference.ImageDataChunk > 0) png_set_compression_buffer_size(png, reference.ImageDataChunk);
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> ReferencePng::Write() const {
  std::vector<std::vector<std::uint8_t>> copies = Rows;
  std::vector<png_bytep> rows;
  for (auto& row : copies) rows.push_back(row.data());
  std::vector<png_color> plte;
  for (const PaletteEntry& e : Plte) plte.push_back({e.Red, e.Green, e.Blue});
  std::vector<png_byte> alphas(Transparency.begin(), Transparency.end());
  png_color_16 colour{};
  if (ColorType == 0 && !Transparency.empty()) colour.gray = static_cast<png_uint_16>(Transparency[0]);
  if (ColorType == 2 && Transparency.size() == 3) {
    colour.red = static_cast<png_uint_16>(Transparency[0]);
    colour.green = static_cast<png_uint_16>(Transparency[1]);
    colour.blue = static_cast<png_uint_16>(Transparency[2]);
  }
  std::vector<std::uint8_t> out;
  std::string error;
  EXPECT_TRUE(WritePng(*this, rows.data(), plte.data(), ColorType == 3 ? alphas.data() : nullptr,
                       ColorType == 3 ? nullptr : &colour, &out, &error))
      << "libpng: " << error;
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
