#include "support/EmfBuilder.h"

namespace quorvex::test {

EmfBuilder& EmfBuilder::Record(std::uint32_t type, std::initializer_list<std::int64_t> values) {
  Bytes body;
  for (std::int64_t v : values) Put32(body, static_cast<std::uint64_t>(v));
  return RecordBytes(type, body);
}

EmfBuilder& EmfBuilder::RecordBytes(std::uint32_t type, const Bytes& body) {
  Bytes padded = body;
  while (padded.size() % 4) padded.push_back(0);
  Put32(records_, type);
  Put32(records_, 8 + padded.size());
  records_.insert(records_.end(), padded.begin(), padded.end());
  ++count_;
  return *this;
}

EmfBuilder& EmfBuilder::Polygon(std::initializer_list<int> xy) {
  Bytes body(16, 0);  // bounds
  Put32(body, xy.size() / 2);
  for (int v : xy) Put32(body, static_cast<std::uint32_t>(v));
  return RecordBytes(3, body);
}

EmfBuilder& EmfBuilder::CreateFont(std::uint32_t handle, int height, int charset, const std::u16string& face) {
  Bytes body;
  Put32(body, handle);
  for (int v : {height, 0, 0, 0, 400}) Put32(body, static_cast<std::uint32_t>(v));
  body.insert(body.end(), {0, 0, 0, static_cast<std::uint8_t>(charset), 0, 0, 0, 0});
  for (int i = 0; i < 32; ++i) Put16(body, i < static_cast<int>(face.size()) ? face[i] : 0);
  return RecordBytes(82, body);
}

EmfBuilder& EmfBuilder::TextOut(int x, int y, const std::u16string& text, const std::vector<int>& dx) {
  Bytes body(16, 0);  // bounds
  Put32(body, 1);     // compatible graphics mode
  Put32(body, 0);     // scales
  Put32(body, 0);
  Put32(body, static_cast<std::uint32_t>(x));
  Put32(body, static_cast<std::uint32_t>(y));
  Put32(body, text.size());
  const std::size_t stringOffset = 8 + body.size() + 4 + 4 + 16 + 4;
  Put32(body, stringOffset);
  Put32(body, 0);  // options
  for (int i = 0; i < 4; ++i) Put32(body, 0);
  const std::size_t textBytes = (text.size() * 2 + 3) / 4 * 4;
  Put32(body, dx.empty() ? 0 : stringOffset + textBytes);
  for (char16_t c : text) Put16(body, c);
  while (body.size() % 4) body.push_back(0);
  for (int d : dx) Put32(body, static_cast<std::uint32_t>(d));
  return RecordBytes(84, body);
}

Bytes EmfBuilder::Build(int frameLeft, int frameTop, int frameRight, int frameBottom, int devicePixelsX,
                        int devicePixelsY, int deviceMmX, int deviceMmY) const {
  Bytes out;
  Put32(out, 1);
  Put32(out, 88);
  for (int v : {0, 0, devicePixelsX - 1, devicePixelsY - 1}) Put32(out, static_cast<std::uint32_t>(v));
  for (int v : {frameLeft, frameTop, frameRight, frameBottom}) Put32(out, static_cast<std::uint32_t>(v));
  Put32(out, 0x464D4520);
  Put32(out, 0x10000);
  Put32(out, 88 + records_.size() + 20);
  Put32(out, count_ + 2);
  Put16(out, 8);
  Put16(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int v : {devicePixelsX, devicePixelsY, deviceMmX, deviceMmY}) Put32(out, static_cast<std::uint32_t>(v));
  out.insert(out.end(), records_.begin(), records_.end());
  for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u}) Put32(out, v);
  return out;
}

}  // namespace quorvex::test
