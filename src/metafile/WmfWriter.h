#pragma once
// Writes Windows metafile records into memory and hands out object-table
// slots the way playback fills them (the first free one), for the
// translation of enhanced metafiles.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace quorvex {

class WmfWriter {
 public:
  /// A record of 16-bit parameter words, in record order.
  void Record(std::uint16_t function, std::initializer_list<std::int32_t> words);
  /// A record whose parameters are raw bytes (padded to an even count).
  void RecordBytes(std::uint16_t function, std::span<const std::uint8_t> params);

  /// Writes an object-creating record and returns the slot playback puts the object in.
  int CreateObject(std::uint16_t function, std::span<const std::uint8_t> params);
  int CreateObject(std::uint16_t function, std::initializer_list<std::int32_t> words);
  /// Writes the record that selects a slot's object.
  void SelectObject(int slot);
  /// Writes the record that deletes a slot's object and frees the slot.
  void DeleteObject(int slot);
  /// The first free slot (a slot no object occupies).
  int FreeSlot() const;

  /// A placeable metafile: the 22-byte header with the box 0, 0, right,
  /// bottom and the units per inch, the metafile header, the records and
  /// the end record.
  std::vector<std::uint8_t> Placeable(std::int16_t right, std::int16_t bottom, std::uint16_t unitsPerInch) const;

 private:
  std::vector<std::uint8_t> records_;
  std::vector<bool> used_;
  std::size_t objects_ = 0;
  std::uint32_t largestRecord_ = 3;
};

/// Appends little-endian values to a byte vector.
void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v);
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v);

}  // namespace quorvex
