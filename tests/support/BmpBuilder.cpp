#include "support/BmpBuilder.h"

namespace quorvex::test {

Bytes BmpBuilder::Build() const {
  Bytes info;
  Put32(info, HeaderSize);
  if (HeaderSize == 12) {
    Put16(info, static_cast<std::uint32_t>(Width));
    Put16(info, static_cast<std::uint32_t>(Height));
    Put16(info, Planes);
    Put16(info, BitCount);
  } else {
    Put32(info, static_cast<std::uint32_t>(Width));
    Put32(info, static_cast<std::uint32_t>(Height));
    Put16(info, Planes);
    Put16(info, BitCount);
    Put32(info, Compression);
    Put32(info, SizeImage);
    Put32(info, static_cast<std::uint32_t>(XPelsPerMeter));
    Put32(info, static_cast<std::uint32_t>(YPelsPerMeter));
    Put32(info, ClrUsed);
    Put32(info, ClrImportant);
    while (info.size() < HeaderSize) info.push_back(0);
  }
  for (std::uint32_t mask : Masks) Put32(info, mask);
  for (const Rgb3& c : Colors) {
    info.push_back(c.Blue);
    info.push_back(c.Green);
    info.push_back(c.Red);
    if (HeaderSize != 12) info.push_back(0);
  }
  info.insert(info.end(), Gap.begin(), Gap.end());

  const auto offset = static_cast<std::uint32_t>(14 + info.size());
  const auto size = static_cast<std::uint32_t>(offset + Pixels.size());
  Bytes file;
  Put16(file, Type);
  Put32(file, FileSize.value_or(size));
  Put16(file, 0);
  Put16(file, 0);
  Put32(file, PixelOffset.value_or(offset));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), Pixels.begin(), Pixels.end());
  return file;
}

Bytes PadRows(const std::vector<Bytes>& rows) {
  Bytes block;
  for (const Bytes& row : rows) {
    block.insert(block.end(), row.begin(), row.end());
    while (block.size() % 4 != 0) block.push_back(0);
  }
  return block;
}

std::vector<Rgb3> GreyColors(int count) {
  std::vector<Rgb3> colors;
  for (int i = 0; i < count; ++i) {
    auto v = static_cast<std::uint8_t>(count > 1 ? i * 255 / (count - 1) : 0);
    colors.push_back({v, v, v});
  }
  return colors;
}

}  // namespace quorvex::test
