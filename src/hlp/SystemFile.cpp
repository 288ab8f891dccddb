#include "hlp/SystemFile.h"

#include "base/ByteReader.h"

namespace quorvex {
namespace {

constexpr char kName[] = "|SYSTEM";
constexpr std::uint16_t kMagic = 0x036C;

enum RecordType : std::uint16_t {
  kTitle = 1,
  kCopyright = 2,
  kContents = 3,
  kConfig = 4,
  kWindow = 6,
  kLanguage = 9,
  kContentsFile = 10,
  kCharset = 11,
  kDefaultFont = 12,
};

// Bit 8 of a window's flags: its colour is given.
constexpr std::uint16_t kWindowColorGiven = 0x0100;

ByteString Text(std::span<const std::uint8_t> bytes) {
  ByteString text;
  for (std::uint8_t c : bytes) {
    if (c == 0) break;
    text.push_back(static_cast<char>(c));
  }
  return text;
}

HelpWindow ReadWindow(ByteReader& data) {
  HelpWindow window;
  const std::uint16_t flags = data.U16LE();
  window.Type = Text(data.Bytes(10));
  window.Name = Text(data.Bytes(9));
  window.Caption = Text(data.Bytes(51));
  data.Skip(10);  // position, size, maximize flag
  auto rgb = data.Bytes(4);
  if (flags & kWindowColorGiven) window.Background = (std::uint32_t{rgb[0]} << 16) | (rgb[1] << 8) | rgb[2];
  return window;
}

// The language record holds several 16-bit fields; the help compiler writes
// the language id into the last one that is set.
int ReadLanguage(ByteReader& data) {
  int language = 0;
  while (data.Remaining() >= 2) {
    std::uint16_t value = data.U16LE();
    if (value != 0) language = value;
  }
  return language;
}

void ReadRecord(SystemInfo& info, std::uint16_t type, ByteReader& data) {
  switch (type) {
    case kTitle: info.Title = Text(data.Rest()); break;
    case kCopyright: info.Copyright = Text(data.Rest()); break;
    case kContents: info.ContentsOffset = data.U32LE(); break;
    case kConfig: info.Macros.push_back(Text(data.Rest())); break;
    case kWindow: info.Windows.push_back(ReadWindow(data)); break;
    case kLanguage: info.Language = ReadLanguage(data); break;
    case kContentsFile: info.ContentsFileName = Text(data.Rest()); break;
    case kCharset:
      if (data.Size() == 2) info.Charset = data.U16LE();
      break;
    case kDefaultFont:
      data.Skip(1);  // height
      if (info.Charset < 0) info.Charset = data.U8();
      break;
    default: break;  // icons, citations, groups, ...: nothing a page shows
  }
}

}  // namespace

SystemInfo ReadSystem(const InternalFile& file, ReadProblems& problems) {
  SystemInfo info;
  ByteReader reader(file.Bytes);
  try {
    if (reader.U16LE() != kMagic) throw EHelpFileError(kName, 0, "not a |SYSTEM file");
    info.Minor = reader.U16LE();
    reader.Skip(6);  // major version, date
    info.Flags = reader.U16LE();
  } catch (const EReadPastEnd&) {
    throw EHelpFileError(kName, reader.Position(), "the header is cut short");
  }
  if (info.IsVersion30()) {
    info.Title = Text(reader.Rest());
    return info;
  }
  while (reader.Remaining() >= 4) {
    const std::size_t start = reader.Position();
    const std::uint16_t type = reader.U16LE();
    const std::uint16_t size = reader.U16LE();
    if (size > reader.Remaining()) {
      problems.Report(EHelpFileError(kName, start, "a record runs past the end of the file"));
      break;
    }
    ByteReader data = reader.Sub(size);
    try {
      ReadRecord(info, type, data);
    } catch (const EReadPastEnd&) {
      problems.Report(EHelpFileError(kName, start, "record " + DecimalText(type) + " is cut short"));
    }
  }
  return info;
}

}  // namespace quorvex
