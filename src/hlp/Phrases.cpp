#include "hlp/Phrases.h"

#include <algorithm>

#include "base/ByteReader.h"
#include "base/Lz77.h"

namespace quorvex {
namespace {

constexpr char kClassicName[] = "|Phrases";
constexpr char kIndexName[] = "|PhrIndex";
constexpr std::uint16_t kOneHundred = 0x0100;   // the second field of every |Phrases
constexpr std::uint16_t kMediaViewer = 0x0800;  // media viewer files put this first
constexpr std::size_t kMediaViewerGap = 30;
// LZ77 makes at most this many bytes of one; a larger size announced is a lie.
constexpr std::uint64_t kMaxLz77Growth = 9;

// Phrase offsets must climb and stay inside the image.
void CheckOffsets(const std::vector<std::uint32_t>& offsets, std::size_t imageSize, const char* name) {
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    if (offsets[i] > imageSize || (i > 0 && offsets[i] < offsets[i - 1])) {
      throw EHelpFileError(name, 0, "phrase " + DecimalText(static_cast<long long>(i)) + " lies outside the phrase text");
    }
  }
}

// Bits of |PhrIndex, lowest first within each byte (the file reads them as
// 32-bit little-endian words, lowest bit first, which is the same order).
class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Bit() {
    if (position_ >= bytes_.size() * 8) throw EHelpFileError(kIndexName, 28 + position_ / 8, "the phrase lengths run past the end");
    bool bit = (bytes_[position_ / 8] >> (position_ % 8)) & 1;
    ++position_;
    return bit;
  }
  std::size_t BitsLeft() const { return bytes_.size() * 8 - position_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace

PhraseTable::PhraseTable(Kind kind, std::vector<std::uint8_t> image, std::vector<std::uint32_t> offsets)
    : kind_(kind), image_(std::move(image)), offsets_(std::move(offsets)) {}

std::span<const std::uint8_t> PhraseTable::Phrase(std::size_t index) const {
  return std::span<const std::uint8_t>(image_).subspan(offsets_[index], offsets_[index + 1] - offsets_[index]);
}

void PhraseTable::Append(std::size_t index, std::size_t limit, std::vector<std::uint8_t>& out, bool& damaged) const {
  if (index >= Count()) {
    damaged = true;
    return;
  }
  auto phrase = Phrase(index);
  out.insert(out.end(), phrase.begin(), phrase.begin() + std::min(phrase.size(), limit - out.size()));
}

// A byte of 1 to 15 and the byte after it make a number; half of it is the
// phrase, and an odd number adds a blank after the phrase.
void PhraseTable::ExpandClassic(std::span<const std::uint8_t> text, std::size_t limit, std::vector<std::uint8_t>& out,
                                bool& damaged) const {
  for (std::size_t i = 0; i < text.size() && out.size() < limit; ++i) {
    const std::uint8_t c = text[i];
    if (c == 0 || c > 15) {
      out.push_back(c);
      continue;
    }
    if (++i >= text.size()) {
      damaged = true;
      return;
    }
    const std::size_t number = (c - 1u) * 256 + text[i];
    Append(number / 2, limit, out, damaged);
    if (number % 2 == 1 && out.size() < limit) out.push_back(' ');
  }
}

// The low bits of each byte say what it is: xxxxxxx0 a phrase of 0 to 127;
// xxxxxx01 and the next byte a phrase from 128 on; xxxxx011 that many + 1
// literal bytes follow; xxxx0111 that many + 1 blanks; xxxx1111 that many + 1 zeros.
void PhraseTable::ExpandHall(std::span<const std::uint8_t> text, std::size_t limit, std::vector<std::uint8_t>& out,
                             bool& damaged) const {
  for (std::size_t i = 0; i < text.size() && out.size() < limit; ++i) {
    const std::uint8_t c = text[i];
    if ((c & 1) == 0) {
      Append(c / 2, limit, out, damaged);
    } else if ((c & 3) == 1) {
      if (++i >= text.size()) {
        damaged = true;
        return;
      }
      Append(128 + (c >> 2) * 256u + text[i], limit, out, damaged);
    } else if ((c & 7) == 3) {
      std::size_t count = (c >> 3) + 1u;
      if (count > text.size() - i - 1) {
        damaged = true;
        count = text.size() - i - 1;
      }
      count = std::min(count, limit - out.size());
      out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(i + 1), text.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
      i += count;
    } else {
      const std::size_t count = std::min<std::size_t>((c >> 4) + 1u, limit - out.size());
      out.insert(out.end(), count, (c & 15) == 7 ? ' ' : 0);
    }
  }
}

std::vector<std::uint8_t> PhraseTable::Expand(std::span<const std::uint8_t> text, std::size_t limit, bool& damaged) const {
  std::vector<std::uint8_t> out;
  out.reserve(std::min<std::size_t>(limit, text.size() * 8));
  if (kind_ == Kind::Hall) {
    ExpandHall(text, limit, out, damaged);
  } else {
    ExpandClassic(text, limit, out, damaged);
  }
  return out;
}

PhraseTable ReadClassicPhrases(const InternalFile& file, const SystemInfo& system) {
  ByteReader reader(file.Bytes);
  try {
    std::uint16_t count = reader.U16LE();
    bool mediaViewer = false;
    if (count == kMediaViewer && file.Bytes.size() >= 6 && file.Bytes[4] == 0 && file.Bytes[5] == 1) {
      mediaViewer = true;
      count = reader.U16LE();
    }
    if (reader.U16LE() != kOneHundred) throw EHelpFileError(kClassicName, 2, "not a phrase table");
    std::uint32_t expandedSize = 0;
    if (!system.IsVersion30()) expandedSize = reader.U32LE();
    if (mediaViewer) reader.Skip(kMediaViewerGap);
    const std::size_t tableStart = reader.Position();
    ByteReader table = reader.Sub(2 * (std::uint64_t{count} + 1));
    std::vector<std::uint32_t> offsets(count + 1u);
    for (std::uint32_t& offset : offsets) offset = table.U16LE();
    const std::uint32_t base = offsets[0];
    for (std::uint32_t& offset : offsets) {
      if (offset < base) throw EHelpFileError(kClassicName, tableStart, "a phrase starts before the first one");
      offset -= base;
    }
    std::vector<std::uint8_t> image;
    auto rest = reader.Rest();
    if (system.IsVersion30()) {
      image.assign(rest.begin(), rest.end());
    } else {
      if (expandedSize > rest.size() * kMaxLz77Growth + 16) {
        throw EHelpFileError(kClassicName, 4, "the phrase text cannot expand to the size announced");
      }
      image = ExpandLz77(rest, expandedSize);
    }
    CheckOffsets(offsets, image.size(), kClassicName);
    return PhraseTable(PhraseTable::Kind::Classic, std::move(image), std::move(offsets));
  } catch (const EReadPastEnd&) {
    throw EHelpFileError(kClassicName, reader.Position(), "the phrase table is cut short");
  }
}

PhraseTable ReadHallPhrases(const InternalFile& index, const InternalFile& image) {
  ByteReader reader(index.Bytes);
  std::vector<std::uint32_t> offsets{0};
  std::uint32_t imageSize = 0, packedSize = 0;
  try {
    reader.Skip(4);  // magic
    const std::uint32_t count = reader.U32LE();
    reader.Skip(4);  // packed size of the index
    imageSize = reader.U32LE();
    packedSize = reader.U32LE();
    reader.Skip(4);
    const int bitCount = reader.U16LE() & 0x0F;
    reader.Skip(2);
    BitReader bits(reader.Rest());
    // Every length takes two bits at least: check before sizing the table.
    if (count > bits.BitsLeft() / 2) throw EHelpFileError(kIndexName, 4, "more phrases announced than the index can hold");
    offsets.reserve(count + 1u);
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint64_t length = 1;
      while (bits.Bit()) {
        length += std::uint64_t{1} << bitCount;
        if (length > imageSize) throw EHelpFileError(kIndexName, 28, "a phrase is longer than all phrases together");
      }
      for (int bit = 0; bit < bitCount; ++bit) {
        if (bits.Bit()) length += std::uint64_t{1} << bit;
      }
      offsets.push_back(static_cast<std::uint32_t>(std::min<std::uint64_t>(offsets.back() + length, UINT32_MAX)));
    }
  } catch (const EReadPastEnd&) {
    throw EHelpFileError(kIndexName, reader.Position(), "the phrase index is cut short");
  }
  std::vector<std::uint8_t> text;
  if (packedSize == imageSize) {
    text.assign(image.Bytes.begin(), image.Bytes.begin() + std::min<std::size_t>(imageSize, image.Bytes.size()));
  } else {
    if (imageSize > image.Bytes.size() * kMaxLz77Growth + 16) {
      throw EHelpFileError("|PhrImage", 0, "the phrases cannot expand to the size announced");
    }
    text = ExpandLz77(image.Bytes, imageSize);
  }
  CheckOffsets(offsets, text.size(), "|PhrImage");
  return PhraseTable(PhraseTable::Kind::Hall, std::move(text), std::move(offsets));
}

}  // namespace quorvex
