#include "support/PngOracle.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "support/TempDir.h"

namespace quorvex::test {

std::uint32_t BE32(const std::vector<std::uint8_t>& d, std::size_t o) {
  return (std::uint32_t{d.at(o)} << 24) | (d.at(o + 1) << 16) | (d.at(o + 2) << 8) | d.at(o + 3);
}

std::uint32_t BE16(const std::vector<std::uint8_t>& d, std::size_t o) { return (d.at(o) << 8) | d.at(o + 1); }

std::vector<PngChunk> ParseChunks(const std::vector<std::uint8_t>& png) {
  static const std::uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  std::vector<PngChunk> chunks;
  if (png.size() < 8 || std::memcmp(png.data(), signature, 8) != 0) {
    ADD_FAILURE() << "no PNG signature";
    return chunks;
  }
  std::size_t pos = 8;
  while (pos < png.size()) {
    if (png.size() - pos < 12) {
      ADD_FAILURE() << "chunk header runs past the end at " << pos;
      break;
    }
    std::uint32_t length = BE32(png, pos);
    if (png.size() - pos - 12 < length) {
      ADD_FAILURE() << "chunk data runs past the end at " << pos;
      break;
    }
    PngChunk chunk;
    chunk.Type.assign(reinterpret_cast<const char*>(&png[pos + 4]), 4);
    chunk.Data.assign(png.begin() + static_cast<long>(pos + 8), png.begin() + static_cast<long>(pos + 8 + length));
    uLong crc = crc32(0, &png[pos + 4], 4 + length);
    chunk.CrcOk = crc == BE32(png, pos + 8 + length);
    chunks.push_back(std::move(chunk));
    pos += 12 + length;
  }
  return chunks;
}

std::vector<std::string> ChunkTypes(const std::vector<PngChunk>& chunks) {
  std::vector<std::string> types;
  for (const PngChunk& c : chunks) types.push_back(c.Type);
  return types;
}

const PngChunk* FindChunk(const std::vector<PngChunk>& chunks, const std::string& type) {
  for (const PngChunk& c : chunks) {
    if (c.Type == type) return &c;
  }
  return nullptr;
}

std::vector<std::uint8_t> InflateImageData(const std::vector<PngChunk>& chunks) {
  std::vector<std::uint8_t> compressed;
  for (const PngChunk& c : chunks) {
    if (c.Type == "IDAT") compressed.insert(compressed.end(), c.Data.begin(), c.Data.end());
  }
  std::vector<std::uint8_t> out;
  z_stream z{};
  inflateInit(&z);
  z.next_in = compressed.data();
  z.avail_in = static_cast<uInt>(compressed.size());
  std::uint8_t buffer[16384];
  int result = Z_OK;
  while (result == Z_OK) {
    z.next_out = buffer;
    z.avail_out = sizeof buffer;
    result = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
  }
  inflateEnd(&z);
  EXPECT_EQ(result, Z_STREAM_END) << "image data does not inflate completely";
  return out;
}

int DecodedPng::Sample(int x, int y, int channel) const {
  const std::vector<std::uint8_t>& row = Rows.at(static_cast<std::size_t>(y));
  if (BitDepth < 8) {
    int bitPos = x * BitDepth;
    int shift = 8 - BitDepth - bitPos % 8;
    return (row.at(static_cast<std::size_t>(bitPos / 8)) >> shift) & ((1 << BitDepth) - 1);
  }
  int bytes = BitDepth / 8;
  std::size_t at = static_cast<std::size_t>((x * Channels + channel) * bytes);
  return bytes == 1 ? row.at(at) : (row.at(at) << 8) | row.at(at + 1);
}

namespace {

struct MemoryReader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (reader->size - reader->pos < count) png_error(png, "read past the end of the data");
  std::memcpy(out, reader->data + reader->pos, count);
  reader->pos += count;
}

void StoreError(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  *error = message;
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Only plain data lives in this frame, as libpng leaves it by longjmp on errors.
bool ReadRaw(const std::vector<std::uint8_t>& bytes, DecodedPng* out, std::string* error) {
  MemoryReader reader{bytes.data(), bytes.size(), 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, error, StoreError, IgnoreWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  out->Width = png_get_image_width(png, info);
  out->Height = png_get_image_height(png, info);
  out->BitDepth = png_get_bit_depth(png, info);
  out->ColorType = png_get_color_type(png, info);
  out->Interlace = png_get_interlace_type(png, info);
  out->Channels = png_get_channels(png, info);
  png_size_t rowBytes = png_get_rowbytes(png, info);
  png_bytepp rows = png_get_rows(png, info);
  out->Rows.resize(out->Height);
  for (png_uint_32 y = 0; y < out->Height; ++y) out->Rows[y].assign(rows[y], rows[y] + rowBytes);
  png_colorp plte = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &plte, &count) & PNG_INFO_PLTE) {
    for (int i = 0; i < count; ++i) out->Plte.push_back({plte[i].red, plte[i].green, plte[i].blue, 0});
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

DecodedPng DecodeWithLibpng(const std::vector<std::uint8_t>& png) {
  DecodedPng decoded;
  decoded.Ok = ReadRaw(png, &decoded, &decoded.Error);
  return decoded;
}

ToolResult RunPngcheck(const std::vector<std::string>& paths) {
  std::string command = "pngcheck -v";
  for (const std::string& path : paths) command += " '" + path + "'";
  command += " 2>&1";
  ToolResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Output.append(buffer, n);
  int status = pclose(pipe);
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string CheckValidPng(const std::vector<std::uint8_t>& png) {
  DecodedPng decoded = DecodeWithLibpng(png);
  if (!decoded.Ok) return "libpng: " + decoded.Error;
  TempDir dir;
  dir.Write("check.png", std::string(png.begin(), png.end()));
  ToolResult check = RunPngcheck({dir.Native() + "/check.png"});
  if (check.Status != 0) return "pngcheck: " + check.Output;
  return "";
}

}  // namespace quorvex::test
