// Encodes the same bitmaps with our PNG writer and with libpng in one run and
// prints time ratios (ours / libpng), file sizes, and the peak heap memory
// each encoder takes beyond the bitmap itself.
//
//   build/release-bench/png_write [repetitions]

#include <malloc.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Stream.h"
#include "png/QelPNG.h"

// ---------------------------------------------------------------- heap accounting
// Every allocation of the process passes through these, so the peak covers our
// writer, zlib and libpng alike.

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
void* __libc_memalign(size_t, size_t);
}

namespace {
std::atomic<long long> heapNow{0};
std::atomic<long long> heapPeak{0};

void Account(void* p, long long sign) {
  if (!p) return;
  long long now = heapNow += sign * static_cast<long long>(malloc_usable_size(p));
  long long peak = heapPeak.load();
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
}
}  // namespace

extern "C" {
void* malloc(size_t n) {
  void* p = __libc_malloc(n);
  Account(p, 1);
  return p;
}
void* calloc(size_t a, size_t b) {
  void* p = __libc_calloc(a, b);
  Account(p, 1);
  return p;
}
void* realloc(void* old, size_t n) {
  Account(old, -1);
  void* p = __libc_realloc(old, n);
  if (p) Account(p, 1);
  else Account(old, 1);
  return p;
}
void free(void* p) {
  Account(p, -1);
  __libc_free(p);
}
void* memalign(size_t alignment, size_t n) {
  void* p = __libc_memalign(alignment, n);
  Account(p, 1);
  return p;
}
void* aligned_alloc(size_t alignment, size_t n) { return memalign(alignment, n); }
int posix_memalign(void** out, size_t alignment, size_t n) {
  *out = memalign(alignment, n);
  return *out ? 0 : ENOMEM;
}
}

namespace quorvex {
namespace {

// A destination that only counts, so neither encoder pays for storing output.
class CountingStream : public Stream {
 public:
  std::int64_t Read(void*, std::int64_t) override { return 0; }
  std::int64_t Write(const void*, std::int64_t count) override {
    size_ += count;
    return count;
  }
  std::int64_t Seek(std::int64_t, SeekOrigin) override { return size_; }
  std::int64_t Bytes() const { return size_; }

 private:
  std::int64_t size_ = 0;
};

// ---------------------------------------------------------------- test pictures

void FillRect(Bitmap& b, int x0, int y0, int w, int h, Color c) {
  for (int y = std::max(y0, 0); y < std::min(y0 + h, b.Height()); ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = std::max(x0, 0); x < std::min(x0 + w, b.Width()); ++x) {
      row[3 * x] = static_cast<std::uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
  }
}

// Windows with title-bar gradients, flat panels and lines of "text" drawn from
// a small glyph set, as a screenshot of a help window looks.
std::unique_ptr<Bitmap> ScreenshotBitmap(int width, int height) {
  auto b = std::make_unique<Bitmap>(width, height, PixelFormat::Bit24);
  std::mt19937 random(42);
  FillRect(*b, 0, 0, width, height, 0x6E5A3A);  // desktop
  std::vector<std::vector<std::uint16_t>> glyphs(64, std::vector<std::uint16_t>(12));
  for (auto& glyph : glyphs) {
    for (auto& line : glyph) line = static_cast<std::uint16_t>(random() & random() & 0x7F);
  }
  for (int window = 0; window < 6; ++window) {
    int x0 = static_cast<int>(random() % (width / 2)), y0 = static_cast<int>(random() % (height / 2));
    int w = width / 3 + static_cast<int>(random() % (width / 2)), h = height / 3 + static_cast<int>(random() % (height / 2));
    FillRect(*b, x0, y0, w, h, 0xF0F0F0);
    for (int x = 0; x < w && x0 + x < width; ++x) {  // title bar gradient
      Color c = (0x80 + x * 0x7F / w) | (0x40 << 8) | (0x20 << 16);
      FillRect(*b, x0 + x, y0, 1, 24, c);
    }
    FillRect(*b, x0 + 8, y0 + 32, std::min(180, w / 4), h - 40, 0xFFFFFF);  // side panel
    for (int line = y0 + 40; line + 12 < y0 + h - 8; line += 18) {
      int length = static_cast<int>(random() % static_cast<unsigned>(std::max(w - 220, 1)));
      for (int gx = x0 + 200; gx < x0 + 200 + length - 8; gx += 8) {
        if (random() % 7 == 0) continue;  // a space
        const auto& glyph = glyphs[random() % glyphs.size()];
        for (int gy = 0; gy < 12; ++gy) {
          for (int bit = 0; bit < 7; ++bit) {
            if ((glyph[gy] >> bit) & 1) FillRect(*b, gx + bit, line + gy, 1, 1, 0x000000);
          }
        }
      }
    }
  }
  return b;
}

std::unique_ptr<Bitmap> NoiseBitmap(PixelFormat format, int width, int height) {
  auto b = std::make_unique<Bitmap>(width, height, format);
  std::mt19937 random(7);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b->ScanLine(y);
    for (int i = 0; i < b->RowBytes(); ++i) row[i] = static_cast<std::uint8_t>(random());
  }
  return b;
}

// An 8-bit picture of flat areas and dithered ramps with a 256-entry palette.
std::unique_ptr<Bitmap> PaletteBitmap(int width, int height) {
  auto b = std::make_unique<Bitmap>(width, height, PixelFormat::Bit8);
  Palette palette(256);
  for (int i = 0; i < 256; ++i) {
    palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(255 - i), 0};
  }
  b->SetPalette(palette);
  std::mt19937 random(3);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b->ScanLine(y);
    for (int x = 0; x < width; ++x) {
      int region = (x / 300 + y / 250) % 4;
      row[x] = region == 0 ? 17 : region == 1 ? static_cast<std::uint8_t>((x + y) / 16 + random() % 3)
               : region == 2 ? 200 : static_cast<std::uint8_t>(random() % 8);
    }
  }
  return b;
}

// A scanned-page-like 1-bit picture: white with black strokes.
std::unique_ptr<Bitmap> OneBitBitmap(int width, int height) {
  auto b = std::make_unique<Bitmap>(width, height, PixelFormat::Bit1);
  b->SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
  std::mt19937 random(11);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b->ScanLine(y);
    for (int i = 0; i < b->RowBytes(); ++i) {
      bool ink = (y / 20) % 3 == 1 && random() % 4 == 0;
      row[i] = ink ? static_cast<std::uint8_t>(random()) : 0xFF;
    }
  }
  return b;
}

// ---------------------------------------------------------------- the two encoders

struct Result {
  double seconds = 0;
  std::int64_t bytes = 0;
  long long peakExtra = 0;
};

template <typename F>
Result Measure(F&& encode) {
  long long before = heapNow.load();
  heapPeak = before;
  auto start = std::chrono::steady_clock::now();
  std::int64_t bytes = encode();
  auto stop = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(stop - start).count(), bytes, heapPeak.load() - before};
}

std::int64_t EncodeOurs(Bitmap& bitmap, bool adaptive) {
  TQelPNG png;
  png.ImageRef = &bitmap;
  png.FilterMode = adaptive ? kFilterAdaptive : kFilterNone;
  CountingStream out;
  png.SaveToStream(out);
  return out.Bytes();
}

void CountBytes(png_structp png, png_bytep, png_size_t count) {
  *static_cast<std::int64_t*>(png_get_io_ptr(png)) += static_cast<std::int64_t>(count);
}
void NoFlush(png_structp) {}

// libpng with the same zlib level and chunk size, fed the same DIB rows.
std::int64_t EncodeLibpng(const Bitmap& bitmap, bool adaptive) {
  std::int64_t bytes = 0;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fprintf(stderr, "libpng failed\n");
    std::exit(1);
  }
  png_set_write_fn(png, &bytes, CountBytes, NoFlush);
  png_set_compression_level(png, Z_DEFAULT_COMPRESSION);
  png_set_compression_buffer_size(png, 32768);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, adaptive ? PNG_ALL_FILTERS : PNG_FILTER_NONE);
  int bits = bitmap.BitsPerPixel();
  bool palette = bits <= 8;
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()), static_cast<png_uint_32>(bitmap.Height()),
               palette ? bits : 8, palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  std::vector<png_color> plte;
  for (const PaletteEntry& e : bitmap.GetPalette()) plte.push_back({e.Red, e.Green, e.Blue});
  if (palette) png_set_PLTE(png, info, plte.data(), static_cast<int>(plte.size()));
  png_write_info(png, info);
  if (!palette) png_set_bgr(png);
  for (int y = 0; y < bitmap.Height(); ++y) png_write_row(png, const_cast<png_bytep>(bitmap.ScanLine(y)));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

// The median of `repetitions` alternating runs of each encoder.
void Compare(const char* name, Bitmap& bitmap, bool adaptive, int repetitions) {
  std::vector<double> ours, theirs;
  Result a, b;
  for (int i = 0; i < repetitions; ++i) {
    a = Measure([&] { return EncodeOurs(bitmap, adaptive); });
    b = Measure([&] { return EncodeLibpng(bitmap, adaptive); });
    ours.push_back(a.seconds);
    theirs.push_back(b.seconds);
  }
  std::sort(ours.begin(), ours.end());
  std::sort(theirs.begin(), theirs.end());
  double oursMedian = ours[ours.size() / 2], theirsMedian = theirs[theirs.size() / 2];
  std::printf("%-34s %-9s time ours/libpng %5.2f   size ours %10lld  libpng %10lld  (%.3f)\n", name,
              adaptive ? "adaptive" : "none", oursMedian / theirsMedian, static_cast<long long>(a.bytes),
              static_cast<long long>(b.bytes), static_cast<double>(a.bytes) / static_cast<double>(b.bytes));
}

void MemoryPeaks() {
  std::printf("\npeak heap beyond the bitmap (24-bit screenshot, filter none):\n");
  for (int side : {1000, 4000}) {
    auto bitmap = ScreenshotBitmap(side, side);
    Result a = Measure([&] { return EncodeOurs(*bitmap, false); });
    Result b = Measure([&] { return EncodeLibpng(*bitmap, false); });
    std::printf("  %4d x %-4d  ours %8lld bytes   libpng %8lld bytes   (bitmap %lld bytes)\n", side, side, a.peakExtra,
                b.peakExtra, static_cast<long long>(bitmap->RowBytes()) * side);
  }
}

}  // namespace
}  // namespace quorvex

int main(int argc, char** argv) {
  using namespace quorvex;
  int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("png_write: our PNG writer against libpng %s, zlib %s, level default, 32768-byte IDAT, median of %d\n\n",
              PNG_LIBPNG_VER_STRING, zlibVersion(), repetitions);
  auto screenshot = ScreenshotBitmap(3000, 2000);
  auto noise = NoiseBitmap(PixelFormat::Bit24, 3000, 2000);
  auto palette = PaletteBitmap(3000, 2000);
  auto oneBit = OneBitBitmap(4000, 4000);
  for (bool adaptive : {false, true}) {
    Compare("24-bit 3000x2000 screenshot-like", *screenshot, adaptive, repetitions);
    Compare("24-bit 3000x2000 noise", *noise, adaptive, repetitions);
    Compare("8-bit palette 3000x2000", *palette, adaptive, repetitions);
    Compare("1-bit 4000x4000", *oneBit, adaptive, repetitions);
  }
  MemoryPeaks();
  return 0;
}
