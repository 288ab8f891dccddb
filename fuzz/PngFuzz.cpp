// libFuzzer target: any bytes through the PNG reader, with and without a
// target bitmap; what decodes is saved again through the PNG writer, and small
// images also go the whole way through TQelPNG.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "png/QelPNG.h"
#include "png/QelPNGReadStream.h"

using namespace quorvex;

namespace {

// Images the fuzzer may decode: enough for every interlace pass and row
// filter, small enough that no input can exhaust memory.
constexpr std::int64_t kMaxImageBytes = std::int64_t{1} << 24;

// The width and height an IHDR right after the signature claims.
bool ClaimsSmallImage(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 24) return true;
  auto be32 = [&](std::size_t at) {
    return (std::uint64_t{bytes[at]} << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) | bytes[at + 3];
  };
  return be32(16) * be32(20) <= (1u << 20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  try {
    TQelPNGReadStream headerOnly;
    MemoryStream stream(bytes);
    headerOnly.LoadBitmap(nullptr, stream, 0);
  } catch (const Exception&) {
  }
  try {
    Bitmap image, alpha;
    TQelPNGReadStream reader;
    reader.AlphaTarget = &alpha;
    reader.MaxImageBytes = kMaxImageBytes;
    reader.OnReadRow = [](TQelPNGReadStream&, std::uint8_t* row, const ByteString&, std::int32_t, std::int32_t n) {
      for (std::int32_t i = 0; i < n; ++i) row[i] ^= 0x5A;
    };
    reader.RowKey = "k";
    MemoryStream stream(bytes);
    reader.LoadBitmap(&image, stream, 0);
    TQelPNGWriteStream writer;
    writer.AlphaBitmap = &alpha;
    writer.TransparentColor = reader.TransparentColor;
    writer.BackgroundColor = reader.BackgroundColor;
    MemoryStream out;
    writer.SaveBitmap(image, out);
  } catch (const Exception&) {
  }
  if (ClaimsSmallImage(bytes)) {
    try {
      TQelPNG png;
      MemoryStream stream(bytes);
      png.LoadFromStream(stream);
      MemoryStream out;
      png.SaveToStream(out);
    } catch (const Exception&) {
    }
  }
  return 0;
}
