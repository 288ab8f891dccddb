// Text of an enhanced metafile: UTF-16 characters in the selected font's
// code page, advances per byte, the reference point mapped like any point.

#include <algorithm>
#include <cstdint>

#include "metafile/CharsetText.h"
#include "metafile/EmfTranslator.h"
#include "metafile/WmfRecords.h"

namespace quorvex {

namespace {

constexpr std::uint32_t kEtoGlyphIndex = 0x0010;
constexpr std::uint32_t kEtoPdy = 0x2000;
constexpr std::size_t kNoCharacter = SIZE_MAX;

// Text bytes and, for each byte, the character it starts (kNoCharacter for
// the second byte of a pair).
struct EncodedText {
  std::string Bytes;
  std::vector<std::size_t> Owner;
};

EncodedText Encode(std::span<const std::uint8_t> units, bool wide, int charset) {
  EncodedText out;
  ByteReader text(units);
  const std::size_t count = wide ? units.size() / 2 : units.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t first = i;
    std::string encoded;
    if (wide) {
      std::u16string one(1, static_cast<char16_t>(text.U16LE()));
      if (one[0] >= 0xD800 && one[0] < 0xDC00 && i + 1 < count) {
        one += static_cast<char16_t>(text.U16LE());
        ++i;
      }
      encoded = EncodeCharsetText(one, charset);
    } else {
      encoded = std::string(1, static_cast<char>(text.U8()));
    }
    for (std::size_t k = 0; k < encoded.size(); ++k) out.Owner.push_back(k == 0 ? first : kNoCharacter);
    out.Bytes += encoded;
  }
  return out;
}

// Advances per byte in output units from advances per character in logical
// units; cumulative positions are rounded once, so rounding never drifts.
std::vector<std::int32_t> ByteAdvances(const EncodedText& text, const std::vector<double>& logical, double scale) {
  std::vector<std::int32_t> dx;
  double sum = 0;
  std::int32_t placed = 0;
  for (std::size_t owner : text.Owner) {
    if (owner == kNoCharacter || owner >= logical.size()) {
      dx.push_back(0);
      continue;
    }
    sum += logical[owner] * scale;
    const std::int32_t at = ToShort(sum);
    dx.push_back(at - placed);
    placed = at;
  }
  return dx;
}

}  // namespace

void EmfTranslator::TextOut(ByteReader& r, std::span<const std::uint8_t> record, bool wide) {
  r.Skip(16 + 4 + 8);  // bounds, graphics mode, scales
  const double x = r.I32LE(), y = r.I32LE();
  const std::uint32_t chars = r.U32LE();
  const std::uint32_t offString = r.U32LE();
  const std::uint32_t options = r.U32LE();
  const double l = r.I32LE(), t = r.I32LE(), rt = r.I32LE(), b = r.I32LE();
  const std::uint32_t offDx = r.U32LE();
  if (options & kEtoGlyphIndex) return;  // glyph indexes name no characters
  const std::size_t unit = wide ? 2 : 1;
  if (chars > 32767 || offString > record.size() || std::size_t{chars} * unit > record.size() - offString) return;
  const EncodedText text = Encode(record.subspan(offString, std::size_t{chars} * unit), wide, state_.FontCharset);
  if (text.Bytes.size() > 32767) return;

  std::vector<std::int32_t> dx;
  const std::size_t stride = (options & kEtoPdy) ? 8 : 4;  // with vertical advances in between
  if (offDx != 0 && offDx <= record.size() && std::size_t{chars} * stride <= record.size() - offDx) {
    ByteReader advances(record.subspan(offDx, std::size_t{chars} * stride));
    std::vector<double> logical;
    for (std::uint32_t i = 0; i < chars; ++i) {
      logical.push_back(advances.I32LE());
      if (stride == 8) advances.I32LE();
    }
    dx = ByteAdvances(text, logical, ScaleAlongX());
  }

  const DPoint p = Map(x, y);
  std::vector<std::uint8_t> out;
  PutU16(out, static_cast<std::uint16_t>(ToShort(p.Y)));
  PutU16(out, static_cast<std::uint16_t>(ToShort(p.X)));
  PutU16(out, static_cast<std::uint32_t>(text.Bytes.size()));
  const std::uint16_t wmfOptions = static_cast<std::uint16_t>(options & 0x0006);  // opaque, clipped
  PutU16(out, wmfOptions);
  if (wmfOptions) {
    const DPoint a = Map(l, t), c = Map(rt, b);
    for (double v : {std::min(a.X, c.X), std::min(a.Y, c.Y), std::max(a.X, c.X), std::max(a.Y, c.Y)}) {
      PutU16(out, static_cast<std::uint16_t>(ToShort(v)));
    }
  }
  out.insert(out.end(), text.Bytes.begin(), text.Bytes.end());
  if (text.Bytes.size() % 2) out.push_back(0);
  for (std::int32_t d : dx) PutU16(out, static_cast<std::uint16_t>(d));
  if (state_.TextAlign & 1) {
    // Text that uses the current position starts where the lines left it.
    const DPoint cp = Map(state_.CurrentX, state_.CurrentY);
    out_.Record(wmf::kMoveTo, {ToShort(cp.Y), ToShort(cp.X)});
  }
  out_.RecordBytes(wmf::kExtTextOut, out);
}

}  // namespace quorvex
