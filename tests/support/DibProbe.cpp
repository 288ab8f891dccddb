#include "support/DibProbe.h"

#include <stdexcept>

namespace quorvex::test {

namespace {

// Where pixel (x, y from the top) of the DIB lies.
const std::uint8_t* RowOf(const TVxDIB& dib, int y) {
  const DibRecord& record = dib.InternalDIB().Dib();
  if (record.Header.Compression != 0) throw std::logic_error("DibProbe reads plain DIBs only");
  const std::int64_t rows = record.Rows();
  const std::int64_t memoryRow = record.Header.Height > 0 ? rows - 1 - y : y;
  return record.Bits.Data() + memoryRow * record.RowBytes();
}

}  // namespace

Bytes BmpOf(int bitCount, int width, int height, const std::vector<Rgb3>& colors,
            const std::vector<std::uint32_t>& values) {
  std::vector<Bytes> rows;
  for (int y = height - 1; y >= 0; --y) {
    Bytes row(static_cast<std::size_t>((width * bitCount + 7) / 8));
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = values.at(static_cast<std::size_t>(y * width + x));
      switch (bitCount) {
        case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 == 0 ? 4 : 0)); break;
        case 8: row[x] = static_cast<std::uint8_t>(v); break;
        default:
          row[3 * x] = static_cast<std::uint8_t>(v >> 16);
          row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
          row[3 * x + 2] = static_cast<std::uint8_t>(v);
      }
    }
    rows.push_back(row);
  }
  BmpBuilder bmp;
  bmp.Width = width;
  bmp.Height = height;
  bmp.BitCount = static_cast<std::uint16_t>(bitCount);
  bmp.ClrUsed = static_cast<std::uint32_t>(colors.size());
  bmp.Colors = colors;
  bmp.Pixels = PadRows(rows);
  return bmp.Build();
}

std::unique_ptr<TVxDIB> LoadDib(const Bytes& file) {
  auto dib = std::make_unique<TVxDIB>();
  MemoryStream stream(file);
  dib->LoadFromStream(stream);
  return dib;
}

Bytes SaveDib(const TVxDIB& dib) {
  MemoryStream stream;
  dib.SaveToStream(stream);
  return stream.Bytes();
}

int IndexOf(const TVxDIB& dib, int x, int y) {
  const std::uint8_t* row = RowOf(dib, y);
  switch (dib.BitCount()) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
    case 8: return row[x];
    default: throw std::logic_error("IndexOf needs a palette DIB");
  }
}

Color ColorOf(const TVxDIB& dib, int x, int y) {
  if (dib.BitCount() == 24) {
    const std::uint8_t* p = RowOf(dib, y) + 3 * x;
    return RgbColor(p[2], p[1], p[0]);
  }
  const RgbQuad& q = dib.InternalDIB().Dib().Colors.at(static_cast<std::size_t>(IndexOf(dib, x, y)));
  return RgbColor(q.Red, q.Green, q.Blue);
}

}  // namespace quorvex::test
