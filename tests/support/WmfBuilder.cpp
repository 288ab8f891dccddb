#include "support/WmfBuilder.h"

namespace quorvex::test {

namespace {

void PutText(Bytes& out, const std::string& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
  if (bytes.size() % 2) out.push_back(0);
}

}  // namespace

WmfBuilder& WmfBuilder::Record(std::uint16_t function, std::initializer_list<int> words) {
  Bytes params;
  for (int w : words) Put16(params, static_cast<std::uint32_t>(w));
  return RecordBytes(function, params);
}

WmfBuilder& WmfBuilder::RecordBytes(std::uint16_t function, const Bytes& params) {
  const std::size_t words = 3 + (params.size() + 1) / 2;
  Put32(records_, static_cast<std::uint32_t>(words));
  Put16(records_, function);
  records_.insert(records_.end(), params.begin(), params.end());
  if (params.size() % 2) records_.push_back(0);
  return *this;
}

WmfBuilder& WmfBuilder::CreateFont(int height, int charset, const std::string& face, int weight, int escapement) {
  Bytes p;
  Put16(p, static_cast<std::uint32_t>(height));
  Put16(p, 0);
  Put16(p, static_cast<std::uint32_t>(escapement));
  Put16(p, static_cast<std::uint32_t>(escapement));
  Put16(p, static_cast<std::uint32_t>(weight));
  p.insert(p.end(), {0, 0, 0, static_cast<std::uint8_t>(charset), 0, 0, 0, 0});
  Bytes name(32, 0);
  for (std::size_t i = 0; i < face.size() && i < 31; ++i) name[i] = static_cast<std::uint8_t>(face[i]);
  p.insert(p.end(), name.begin(), name.end());
  return RecordBytes(0x02FB, p);
}

WmfBuilder& WmfBuilder::Polygon(std::initializer_list<int> xy) {
  Bytes p;
  Put16(p, static_cast<std::uint32_t>(xy.size() / 2));
  for (int v : xy) Put16(p, static_cast<std::uint32_t>(v));
  return RecordBytes(0x0324, p);
}

WmfBuilder& WmfBuilder::Polyline(std::initializer_list<int> xy) {
  Bytes p;
  Put16(p, static_cast<std::uint32_t>(xy.size() / 2));
  for (int v : xy) Put16(p, static_cast<std::uint32_t>(v));
  return RecordBytes(0x0325, p);
}

WmfBuilder& WmfBuilder::TextOut(int x, int y, const std::string& bytes) {
  Bytes p;
  Put16(p, static_cast<std::uint32_t>(bytes.size()));
  PutText(p, bytes);
  Put16(p, static_cast<std::uint32_t>(y));
  Put16(p, static_cast<std::uint32_t>(x));
  return RecordBytes(0x0521, p);
}

WmfBuilder& WmfBuilder::ExtTextOut(int x, int y, int options, const std::string& bytes, const std::vector<int>& dx) {
  Bytes p;
  Put16(p, static_cast<std::uint32_t>(y));
  Put16(p, static_cast<std::uint32_t>(x));
  Put16(p, static_cast<std::uint32_t>(bytes.size()));
  Put16(p, static_cast<std::uint32_t>(options));
  PutText(p, bytes);
  for (int d : dx) Put16(p, static_cast<std::uint32_t>(d));
  return RecordBytes(0x0A32, p);
}

WmfBuilder& WmfBuilder::StretchDib(const Bytes& dib, int x, int y, int w, int h, int srcW, int srcH) {
  Bytes p;
  Put32(p, 0x00CC0020);
  Put16(p, 0);  // RGB colours
  for (int v : {srcH, srcW, 0, 0, h, w, y, x}) Put16(p, static_cast<std::uint32_t>(v));
  p.insert(p.end(), dib.begin(), dib.end());
  return RecordBytes(0x0F43, p);
}

Bytes WmfBuilder::Records() const {
  Bytes out;
  Put16(out, 1);  // in memory
  Put16(out, 9);
  Put16(out, 0x0300);
  const std::size_t words = 9 + records_.size() / 2 + 3;
  Put32(out, static_cast<std::uint32_t>(words));
  Put16(out, static_cast<std::uint32_t>(Objects));
  Put32(out, 0);  // largest record, not used by the player
  Put16(out, 0);
  out.insert(out.end(), records_.begin(), records_.end());
  Put32(out, 3);
  Put16(out, 0);
  return out;
}

Bytes PlaceableHeader(int left, int top, int right, int bottom, int unitsPerInch) {
  Bytes out;
  Put32(out, 0x9AC6CDD7);
  Put16(out, 0);
  for (int v : {left, top, right, bottom, unitsPerInch}) Put16(out, static_cast<std::uint32_t>(v));
  Put32(out, 0);
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2) sum ^= static_cast<std::uint16_t>(out[i] | (out[i + 1] << 8));
  Put16(out, sum);
  return out;
}

Bytes WmfBuilder::Placeable(int left, int top, int right, int bottom, int unitsPerInch) const {
  Bytes out = PlaceableHeader(left, top, right, bottom, unitsPerInch);
  Bytes records = Records();
  out.insert(out.end(), records.begin(), records.end());
  return out;
}

}  // namespace quorvex::test
