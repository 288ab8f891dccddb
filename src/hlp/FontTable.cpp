#include "hlp/FontTable.h"

#include "base/ByteReader.h"

namespace quorvex {
namespace {

constexpr char kName[] = "|FONT";
constexpr std::size_t kDescriptorSize = 11;
// Media viewer files put more fields in front of the face names, and write
// descriptors of another form.
constexpr std::uint16_t kMediaViewerFaceNames = 12;

enum Attribute : std::uint8_t { kBold = 0x01, kItalic = 0x02 };

// The compilers write (1, 1, 0) or black for text left in the default colour.
std::optional<std::uint32_t> ColorOf(std::span<const std::uint8_t> rgb) {
  if (rgb[0] <= 1 && rgb[1] <= 1 && rgb[2] <= 1) return std::nullopt;
  return (std::uint32_t{rgb[0]} << 16) | (rgb[1] << 8) | rgb[2];
}

}  // namespace

std::vector<HelpFont> ReadFonts(const InternalFile& file, ReadProblems& problems) {
  std::vector<HelpFont> fonts;
  ByteReader reader(file.Bytes);
  try {
    const std::uint16_t faceCount = reader.U16LE();
    const std::uint16_t descriptorCount = reader.U16LE();
    const std::uint16_t facesAt = reader.U16LE();
    const std::uint16_t descriptorsAt = reader.U16LE();
    if (facesAt >= kMediaViewerFaceNames) {
      problems.Note(kName, 4, "fonts of a media viewer file are not read; the text keeps plain formatting");
      return fonts;
    }
    if (faceCount == 0 || descriptorsAt < facesAt) throw EHelpFileError(kName, 0, "no face names");
    const std::size_t nameLength = (descriptorsAt - facesAt) / faceCount;
    std::vector<ByteString> faces;
    reader.Seek(facesAt);
    for (std::uint16_t i = 0; i < faceCount; ++i) {
      ByteString face;
      for (std::uint8_t c : reader.Bytes(nameLength)) {
        if (c == 0) break;
        face.push_back(static_cast<char>(c));
      }
      faces.push_back(face);
    }
    reader.Seek(descriptorsAt);
    // The descriptors must be there before the table is sized for them.
    ByteReader descriptors = reader.Sub(std::uint64_t{descriptorCount} * kDescriptorSize);
    fonts.reserve(descriptorCount);
    for (std::uint16_t i = 0; i < descriptorCount; ++i) {
      HelpFont font;
      const std::uint8_t attributes = descriptors.U8();
      font.Bold = attributes & kBold;
      font.Italic = attributes & kItalic;
      font.HalfPoints = descriptors.U8();
      descriptors.Skip(1);  // family
      const std::uint16_t face = descriptors.U16LE();
      if (face < faces.size()) font.FaceName = faces[face];
      font.Color = ColorOf(descriptors.Bytes(3));
      descriptors.Skip(3);  // background, unused
      fonts.push_back(font);
    }
  } catch (const EReadPastEnd&) {
    problems.Report(EHelpFileError(kName, reader.Position(), "the font table is cut short"));
  }
  return fonts;
}

}  // namespace quorvex
