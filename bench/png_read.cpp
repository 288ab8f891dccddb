// Decodes the same PNG files with our reader and with libpng in one run and
// prints the time ratios (ours / libpng). libpng writes the files, so both
// readers see data neither of them produced.
//
//   build/release-bench/png_read [repetitions] [part of an image name]

#include <png.h>

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Stream.h"
#include "png/QelPNG.h"
#include "png/QelPNGReadStream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
  const char* name;
  int width, height, depth, colorType, interlace;
};

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// A picture-like image: smooth gradients with a little noise, so that the
// filters and zlib see what screenshots and drawings give them.
Bytes Encode(const Case& c) {
  const int channels = c.colorType == 2 ? 3 : c.colorType == 6 ? 4 : c.colorType == 4 ? 2 : 1;
  const std::size_t rowBytes = (static_cast<std::size_t>(c.width) * channels * c.depth + 7) / 8;
  std::vector<Bytes> rows(static_cast<std::size_t>(c.height), Bytes(rowBytes));
  std::mt19937 random(7);
  for (int y = 0; y < c.height; ++y) {
    for (std::size_t i = 0; i < rowBytes; ++i) rows[y][i] = static_cast<std::uint8_t>((i / 3 + y) / 4 + random() % 4);
  }
  std::vector<png_bytep> pointers;
  for (Bytes& row : rows) pointers.push_back(row.data());
  std::vector<png_color> palette(256);
  for (int i = 0; i < 256; ++i) palette[i] = {static_cast<png_byte>(i), static_cast<png_byte>(255 - i), static_cast<png_byte>(i / 2)};
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, c.width, c.height, c.depth, c.colorType, c.interlace, 0, 0);
  if (c.colorType == 3) png_set_PLTE(png, info, palette.data(), 1 << c.depth);
  png_set_rows(png, info, pointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

struct Reader {
  const Bytes* data;
  std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (r->data->size() - r->pos < count) png_error(png, "short");
  std::memcpy(out, r->data->data() + r->pos, count);
  r->pos += count;
}

// libpng's own decode into its row buffers, samples as stored.
void DecodeWithLibpng(const Bytes& file) {
  Reader reader{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
}

void DecodeWithOurs(const Bytes& file) {
  quorvex::TQelPNG png;
  quorvex::MemoryStream stream(file);
  png.LoadFromStream(stream);
}

double MedianSeconds(const std::function<void()>& run, int repetitions) {
  std::vector<double> times;
  for (int i = 0; i < repetitions; ++i) {
    auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const Case cases[] = {
      {"RGB 8-bit 1600x1200", 1600, 1200, 8, 2, 0},      {"RGB 8-bit 1600x1200 Adam7", 1600, 1200, 8, 2, 1},
      {"RGBA 16-bit 800x600", 800, 600, 16, 6, 0},       {"palette 8-bit 1600x1200", 1600, 1200, 8, 3, 0},
      {"palette 4-bit 1600x1200 Adam7", 1600, 1200, 4, 3, 1}, {"grey 2-bit 1600x1200", 1600, 1200, 2, 0, 0},
  };
  std::printf("%-32s %10s %12s %12s %8s\n", "image", "file", "ours ms", "libpng ms", "ratio");
  for (const Case& c : cases) {
    if (argc > 2 && !std::strstr(c.name, argv[2])) continue;
    const Bytes file = Encode(c);
    double ours = MedianSeconds([&] { DecodeWithOurs(file); }, repetitions);
    double libpng = MedianSeconds([&] { DecodeWithLibpng(file); }, repetitions);
    std::printf("%-32s %10zu %12.2f %12.2f %8.2f\n", c.name, file.size(), ours * 1000, libpng * 1000, ours / libpng);
  }
  return 0;
}
