#include "dib/BmpWriter.h"

#include <cstring>
#include <new>

#include "platform/ResourceErrors.h"

namespace quorvex {

namespace {

void PutU16(std::uint8_t*& p, std::uint16_t v) {
  *p++ = static_cast<std::uint8_t>(v);
  *p++ = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t*& p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) *p++ = static_cast<std::uint8_t>(v >> (8 * i));
}

// The 40-byte information header followed by colours-used entries.
std::vector<std::uint8_t> HeaderAndTable(const DibRecord& record) {
  const BitmapInfoHeader& h = record.Header;
  std::vector<std::uint8_t> bytes(40 + 4 * std::size_t{h.ClrUsed});
  std::uint8_t* p = bytes.data();
  PutU32(p, h.Size);
  PutU32(p, static_cast<std::uint32_t>(h.Width));
  PutU32(p, static_cast<std::uint32_t>(h.Height));
  PutU16(p, h.Planes);
  PutU16(p, h.BitCount);
  PutU32(p, h.Compression);
  PutU32(p, h.SizeImage);
  PutU32(p, static_cast<std::uint32_t>(h.XPelsPerMeter));
  PutU32(p, static_cast<std::uint32_t>(h.YPelsPerMeter));
  PutU32(p, h.ClrUsed);
  PutU32(p, h.ClrImportant);
  for (std::uint32_t i = 0; i < h.ClrUsed; ++i) {
    const RgbQuad& q = record.Colors[i];
    *p++ = q.Blue;
    *p++ = q.Green;
    *p++ = q.Red;
    *p++ = q.Reserved;
  }
  return bytes;
}

}  // namespace

void WriteBmpFile(const DibRecord& record, Stream& stream) {
  const std::vector<std::uint8_t> info = HeaderAndTable(record);
  const std::uint32_t offset = 14 + static_cast<std::uint32_t>(info.size());
  std::uint8_t fileHeader[14];
  std::uint8_t* p = fileHeader;
  PutU16(p, 0x4D42);
  PutU32(p, offset + record.BitsSize());
  PutU16(p, 0);
  PutU16(p, 0);
  PutU32(p, offset);
  stream.WriteBuffer(fileHeader, sizeof fileHeader);
  stream.WriteBuffer(info.data(), static_cast<std::int64_t>(info.size()));
  stream.WriteBuffer(record.Bits.Data(), record.BitsSize());
}

MemoryBlock MakeClipboardDib(const DibRecord& record) {
  const std::vector<std::uint8_t> info = HeaderAndTable(record);
  MemoryBlock block;
  try {
    block.resize(info.size() + record.BitsSize());
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("TVxInternalDIB.SaveToClipboardFormat: Out Of Memory");
  }
  std::memcpy(block.data(), info.data(), info.size());
  if (record.BitsSize() > 0) std::memcpy(block.data() + info.size(), record.Bits.Data(), record.BitsSize());
  return block;
}

}  // namespace quorvex
