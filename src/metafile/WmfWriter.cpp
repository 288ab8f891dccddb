#include "metafile/WmfWriter.h"

#include <algorithm>

namespace quorvex {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void WmfWriter::Record(std::uint16_t function, std::initializer_list<std::int32_t> words) {
  std::vector<std::uint8_t> params;
  for (std::int32_t w : words) PutU16(params, static_cast<std::uint32_t>(w));
  RecordBytes(function, params);
}

void WmfWriter::RecordBytes(std::uint16_t function, std::span<const std::uint8_t> params) {
  const auto words = static_cast<std::uint32_t>(3 + (params.size() + 1) / 2);
  largestRecord_ = std::max(largestRecord_, words);
  PutU32(records_, words);
  PutU16(records_, function);
  records_.insert(records_.end(), params.begin(), params.end());
  if (params.size() % 2) records_.push_back(0);
}

int WmfWriter::FreeSlot() const {
  const auto free = std::find(used_.begin(), used_.end(), false);
  return static_cast<int>(free - used_.begin());
}

int WmfWriter::CreateObject(std::uint16_t function, std::span<const std::uint8_t> params) {
  const int slot = FreeSlot();
  if (slot == static_cast<int>(used_.size())) used_.push_back(false);
  used_[static_cast<std::size_t>(slot)] = true;
  objects_ = std::max(objects_, used_.size());
  RecordBytes(function, params);
  return slot;
}

int WmfWriter::CreateObject(std::uint16_t function, std::initializer_list<std::int32_t> words) {
  std::vector<std::uint8_t> params;
  for (std::int32_t w : words) PutU16(params, static_cast<std::uint32_t>(w));
  return CreateObject(function, params);
}

void WmfWriter::SelectObject(int slot) { Record(0x012D, {slot}); }

void WmfWriter::DeleteObject(int slot) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= used_.size()) return;
  Record(0x01F0, {slot});
  used_[static_cast<std::size_t>(slot)] = false;
}

std::vector<std::uint8_t> WmfWriter::Placeable(std::int16_t right, std::int16_t bottom,
                                               std::uint16_t unitsPerInch) const {
  std::vector<std::uint8_t> out;
  PutU32(out, 0x9AC6CDD7);
  PutU16(out, 0);  // handle
  for (std::int32_t v : {0, 0, static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)}) {
    PutU16(out, static_cast<std::uint32_t>(v));
  }
  PutU16(out, unitsPerInch);
  PutU32(out, 0);
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2) sum ^= static_cast<std::uint16_t>(out[i] | (out[i + 1] << 8));
  PutU16(out, sum);

  PutU16(out, 1);  // a metafile in memory
  PutU16(out, 9);
  PutU16(out, 0x0300);
  PutU32(out, static_cast<std::uint32_t>(9 + records_.size() / 2 + 3));
  PutU16(out, static_cast<std::uint32_t>(objects_));
  PutU32(out, largestRecord_);
  PutU16(out, 0);
  out.insert(out.end(), records_.begin(), records_.end());
  PutU32(out, 3);  // the end record
  PutU16(out, 0);
  return out;
}

}  // namespace quorvex
