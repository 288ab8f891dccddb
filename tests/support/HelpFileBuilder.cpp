#include "support/HelpFileBuilder.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "base/ContextHash.h"

namespace quorvex::test {
namespace {

constexpr std::size_t kBlockSize = 4096;
constexpr std::size_t kBlockHeader = 12;
constexpr std::size_t kPackedUnit = 16384;
constexpr std::size_t kRecordHeader = 21;

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

void PutAt32(Bytes& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::string Lower(std::string text) {
  for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return text;
}

}  // namespace

Bytes Str(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes Z(std::string_view text) {
  Bytes bytes = Str(text);
  bytes.push_back(0);
  return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) Append(out, part);
  return out;
}

void PutCompressedUnsignedWord(Bytes& out, std::uint32_t value) {
  if (value < 128) {
    out.push_back(static_cast<std::uint8_t>(value << 1));
  } else {
    Put16(out, (value << 1) | 1);
  }
}

void PutCompressedSignedWord(Bytes& out, std::int32_t value) {
  if (value >= -64 && value < 64) {
    out.push_back(static_cast<std::uint8_t>((value + 64) << 1));
  } else {
    Put16(out, (static_cast<std::uint32_t>(value + 16384) << 1) | 1);
  }
}

void PutCompressedSignedDword(Bytes& out, std::int64_t value) {
  if (value >= -16384 && value < 16384) {
    Put16(out, static_cast<std::uint32_t>(value + 16384) << 1);
  } else {
    Put32(out, (static_cast<std::uint32_t>(value + 1073741824) << 1) | 1);
  }
}

Bytes PackLz77(const Bytes& raw) {
  Bytes out;
  std::unordered_map<std::uint32_t, std::vector<std::size_t>> seen;  // three bytes -> where they start
  auto key = [&](std::size_t i) { return raw[i] | (raw[i + 1] << 8) | (std::uint32_t{raw[i + 2]} << 16); };
  std::size_t i = 0, flagAt = 0;
  int bit = 8;
  while (i < raw.size()) {
    if (bit == 8) {
      flagAt = out.size();
      out.push_back(0);
      bit = 0;
    }
    std::size_t bestLength = 0, bestFrom = 0;
    if (i + 3 <= raw.size()) {
      auto& from = seen[key(i)];
      int tries = 0;
      for (auto it = from.rbegin(); it != from.rend() && i - *it <= 4096 && tries < 64; ++it, ++tries) {
        std::size_t length = 0;
        while (length < 18 && i + length < raw.size() && raw[*it + length] == raw[i + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestFrom = *it;
        }
      }
    }
    const std::size_t step = bestLength >= 3 ? bestLength : 1;
    if (bestLength >= 3) {
      out[flagAt] |= static_cast<std::uint8_t>(1 << bit);
      Put16(out, (i - bestFrom - 1) | ((bestLength - 3) << 12));
    } else {
      out.push_back(raw[i]);
    }
    for (std::size_t k = 0; k < step; ++k, ++i) {
      if (i + 3 <= raw.size()) seen[key(i)].push_back(i);
    }
    ++bit;
  }
  return out;
}

Bytes BTreeFile(const std::vector<Bytes>& entries, const std::vector<Bytes>& keys, const std::string& structure,
                std::uint16_t pageSize, std::size_t perLeaf) {
  std::vector<Bytes> pages;
  struct Child {
    int Page;
    Bytes Key;
  };
  std::vector<Child> level;
  // Leaves, chained.
  std::size_t i = 0;
  do {
    Bytes page;
    std::size_t count = 0, used = 8;
    const std::size_t first = i;
    while (i < entries.size() && count < perLeaf && used + entries[i].size() <= pageSize) {
      Append(page, entries[i]);
      used += entries[i++].size();
      ++count;
    }
    if (count == 0 && i < entries.size()) throw std::runtime_error("an entry larger than a page");
    const int number = static_cast<int>(pages.size());
    Bytes header;
    Put16(header, pageSize - used);
    Put16(header, count);
    Put16(header, number == 0 ? 0xFFFF : number - 1);
    Put16(header, i < entries.size() ? number + 1 : 0xFFFF);
    Bytes full = Join({header, page});
    full.resize(pageSize, 0);
    pages.push_back(full);
    level.push_back(Child{number, first < keys.size() ? keys[first] : Bytes{}});
  } while (i < entries.size());
  int levels = 1;
  while (level.size() > 1) {
    std::vector<Child> upper;
    std::size_t at = 0;
    while (at < level.size()) {
      Bytes body;
      std::size_t used = 6, count = 0;
      const std::size_t first = at++;
      while (at < level.size() && count + 1 < perLeaf && used + level[at].Key.size() + 2 <= pageSize) {
        Append(body, level[at].Key);
        Put16(body, level[at].Page);
        used += level[at++].Key.size() + 2;
        ++count;
      }
      Bytes header;
      Put16(header, pageSize - used);
      Put16(header, count);
      Put16(header, level[first].Page);
      Bytes full = Join({header, body});
      full.resize(pageSize, 0);
      upper.push_back(Child{static_cast<int>(pages.size()), level[first].Key});
      pages.push_back(full);
    }
    level = upper;
    ++levels;
  }
  Bytes tree;
  Put16(tree, 0x293B);
  Put16(tree, 0x0002);
  Put16(tree, pageSize);
  Bytes name = Str(structure);
  name.resize(16, 0);
  Append(tree, name);
  Put16(tree, 0);
  Put16(tree, 0);
  Put16(tree, level.front().Page);
  Put16(tree, 0xFFFF);
  Put16(tree, pages.size());
  Put16(tree, levels);
  Put32(tree, entries.size());
  for (const Bytes& page : pages) Append(tree, page);
  return tree;
}

Bytes HelpFile(const std::map<std::string, Bytes>& files, std::size_t directoryPerLeaf, std::uint16_t directoryPageSize) {
  Bytes out(16, 0);
  std::vector<Bytes> entries, keys;
  for (const auto& [name, bytes] : files) {  // std::map: in key order, as the directory wants them
    const std::size_t offset = out.size();
    Put32(out, bytes.size() + 9);
    Put32(out, bytes.size());
    out.push_back(4);
    Append(out, bytes);
    Bytes entry = Z(name);
    keys.push_back(entry);
    Put32(entry, offset);
    entries.push_back(entry);
  }
  const Bytes directory = BTreeFile(entries, keys, "z4", directoryPageSize, directoryPerLeaf);
  const std::size_t directoryAt = out.size();
  Put32(out, directory.size() + 9);
  Put32(out, directory.size());
  out.push_back(4);
  Append(out, directory);
  PutAt32(out, 0, 0x00035F3F);
  PutAt32(out, 4, static_cast<std::uint32_t>(directoryAt));
  PutAt32(out, 8, 0xFFFFFFFF);
  PutAt32(out, 12, static_cast<std::uint32_t>(out.size()));
  return out;
}

Bytes SystemFile(std::uint16_t minor, std::uint16_t flags, const std::vector<std::pair<std::uint16_t, Bytes>>& records) {
  Bytes out;
  Put16(out, 0x036C);
  Put16(out, minor);
  Put16(out, 1);
  Put32(out, 0);
  Put16(out, flags);
  for (const auto& [type, data] : records) {
    Put16(out, type);
    Put16(out, data.size());
    Append(out, data);
  }
  return out;
}

Bytes FontFile(const std::vector<BuiltFont>& fonts) {
  constexpr std::size_t kFaceLength = 32;
  Bytes out;
  Put16(out, fonts.size());
  Put16(out, fonts.size());
  Put16(out, 8);
  Put16(out, 8 + fonts.size() * kFaceLength);
  for (const BuiltFont& font : fonts) {
    Bytes face = Str(font.Face);
    face.resize(kFaceLength, 0);
    Append(out, face);
  }
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    out.push_back(fonts[i].Attributes);
    out.push_back(fonts[i].HalfPoints);
    out.push_back(3);  // family
    Put16(out, i);
    out.insert(out.end(), fonts[i].Rgb, fonts[i].Rgb + 3);
    out.insert(out.end(), {1, 1, 0});
  }
  return out;
}

RecordBuilder& RecordBuilder::Columns(std::vector<std::pair<int, int>> columns) {
  columns_.push_back(static_cast<std::uint8_t>(columns.size()));
  columns_.push_back(1);  // widths of their own
  for (auto [width, gap] : columns) {
    Put16(columns_, static_cast<std::uint16_t>(width));
    Put16(columns_, static_cast<std::uint16_t>(gap));
  }
  return *this;
}

RecordBuilder& RecordBuilder::Paragraph(std::uint16_t bits, std::vector<int> values) {
  body_.insert(body_.end(), {0x00, 0x80, 0x00, 0x00});
  Put16(body_, bits);
  std::size_t v = 0;
  auto next = [&] { return v < values.size() ? values[v++] : 0; };
  if (bits & 0x0001) PutCompressedSignedDword(body_, next());
  for (std::uint16_t bit : {0x02, 0x04, 0x08, 0x10, 0x20, 0x40}) {
    if (bits & bit) PutCompressedSignedWord(body_, next());
  }
  if (bits & 0x0100) {
    body_.push_back(static_cast<std::uint8_t>(next()));
    Put16(body_, 1);
  }
  if (bits & 0x0200) {
    const int stops = next();
    PutCompressedSignedWord(body_, stops);
    for (int s = 0; s < stops; ++s) {
      const int stop = next();
      PutCompressedUnsignedWord(body_, static_cast<std::uint32_t>(stop));
      if (stop & 0x4000) PutCompressedUnsignedWord(body_, static_cast<std::uint32_t>(next()));
    }
  }
  return *this;
}

RecordBuilder& RecordBuilder::Cell(int column, std::uint16_t bits, std::vector<int> values) {
  Put16(body_, static_cast<std::uint16_t>(column));
  body_.insert(body_.end(), {0x01, 0x18, 0x80});
  return Paragraph(bits, std::move(values));
}

RecordBuilder& RecordBuilder::Text(std::string_view bytes) {
  pending_ += bytes;
  return *this;
}

RecordBuilder& RecordBuilder::Command(std::uint8_t command, const Bytes& arguments) {
  Append(text_, Z(pending_));
  pending_.clear();
  body_.push_back(command);
  Append(body_, arguments);
  return *this;
}

RecordBuilder& RecordBuilder::Font(int number) {
  Bytes argument;
  Put16(argument, static_cast<std::uint16_t>(number));
  return Command(0x80, argument);
}

RecordBuilder& RecordBuilder::Hotspot(std::uint8_t command, std::uint32_t hash) {
  Bytes argument;
  Put32(argument, hash);
  return Command(command, argument);
}

RecordBuilder& RecordBuilder::Macro(std::string_view macro) {
  Bytes argument;
  Put16(argument, macro.size() + 1 + 3);
  Append(argument, Z(macro));
  return Command(0xC8, argument);
}

RecordBuilder& RecordBuilder::Picture(std::uint8_t command, std::uint16_t number, std::uint16_t hotspots) {
  Bytes argument{0x22};
  PutCompressedSignedDword(argument, 4);
  PutCompressedUnsignedWord(argument, hotspots);
  Put16(argument, 0);
  Put16(argument, number);
  hotspots_ += hotspots;
  return Command(command, argument);
}

RecordBuilder& RecordBuilder::StoredPicture(std::uint8_t command, const Bytes& shg) {
  Bytes argument{0x03};
  PutCompressedSignedDword(argument, static_cast<std::int64_t>(shg.size() + 4));
  Put16(argument, 1);
  Put16(argument, 0);
  Append(argument, shg);
  return Command(command, argument);
}

RecordBuilder& RecordBuilder::Object(std::uint8_t command, std::string_view text) {
  Bytes argument{0x05};
  PutCompressedSignedDword(argument, static_cast<std::int64_t>(6 + text.size() + 1));
  argument.insert(argument.end(), 6, 0);
  Append(argument, Z(text));
  return Command(command, argument);
}

Bytes RecordBuilder::FormatPart() const {
  Bytes out;
  PutCompressedSignedDword(out, 0);  // the topic's size so far, which readers need not
  if (type_ != 0x01) PutCompressedUnsignedWord(out, Characters());
  Append(out, columns_);
  Append(out, body_);
  if (type_ == 0x23) Put16(out, 0xFFFF);
  return out;
}

}  // namespace quorvex::test

namespace quorvex::test {
namespace {

// The phrases, found by their first byte.
class PhraseIndex {
 public:
  explicit PhraseIndex(const std::vector<std::string>& phrases) : phrases_(phrases), byFirst_(256) {
    for (std::size_t k = 0; k < phrases.size(); ++k) {
      if (!phrases[k].empty()) byFirst_[static_cast<std::uint8_t>(phrases[k][0])].push_back(static_cast<int>(k));
    }
  }
  const std::string& operator[](int k) const { return phrases_[k]; }
  // The longest phrase starting at `at`, as its index; -1 for none.
  int At(const Bytes& text, std::size_t at) const {
    int best = -1;
    std::size_t length = 0;
    for (int k : byFirst_[text[at]]) {
      const std::string& p = phrases_[k];
      if (p.size() > length && at + p.size() <= text.size() && std::equal(p.begin(), p.end(), text.begin() + at)) {
        best = k;
        length = p.size();
      }
    }
    return best;
  }

 private:
  const std::vector<std::string>& phrases_;
  std::vector<std::vector<int>> byFirst_;
};

Bytes PackClassic(const PhraseIndex& phrases, const Bytes& text) {
  Bytes out;
  for (std::size_t i = 0; i < text.size();) {
    const int k = phrases.At(text, i);
    if (k < 0) {
      out.push_back(text[i++]);
      continue;
    }
    i += phrases[k].size();
    std::uint32_t number = 2u * k;
    if (i < text.size() && text[i] == ' ') {
      ++number;
      ++i;
    }
    out.push_back(static_cast<std::uint8_t>(number / 256 + 1));
    out.push_back(static_cast<std::uint8_t>(number % 256));
  }
  return out;
}

Bytes PackHall(const PhraseIndex& phrases, const Bytes& text) {
  Bytes out;
  for (std::size_t i = 0; i < text.size();) {
    const int k = phrases.At(text, i);
    if (k >= 0) {
      if (k < 128) {
        out.push_back(static_cast<std::uint8_t>(k * 2));
      } else {
        out.push_back(static_cast<std::uint8_t>((((k - 128) >> 8) << 2) | 1));
        out.push_back(static_cast<std::uint8_t>((k - 128) & 0xFF));
      }
      i += phrases[k].size();
      continue;
    }
    std::size_t run = 0;
    if (text[i] == ' ' || text[i] == 0) {
      while (run < 16 && i + run < text.size() && text[i + run] == text[i]) ++run;
      out.push_back(static_cast<std::uint8_t>(((run - 1) << 4) | (text[i] == ' ' ? 7 : 15)));
      i += run;
      continue;
    }
    while (run < 32 && i + run < text.size() && text[i + run] != ' ' && text[i + run] != 0 &&
           phrases.At(text, i + run) < 0) {
      ++run;
    }
    out.push_back(static_cast<std::uint8_t>(((run - 1) << 3) | 3));
    out.insert(out.end(), text.begin() + i, text.begin() + i + run);
    i += run;
  }
  return out;
}

void AddPhraseFiles(const HelpBuilder& help, std::map<std::string, Bytes>& files) {
  if (help.Phrasing == PhraseKind::Classic) {
    Bytes table, image;
    Put16(table, help.Phrases.size());
    Put16(table, 0x0100);
    std::size_t offset = 2 * (help.Phrases.size() + 1);
    Bytes offsets;
    for (const std::string& phrase : help.Phrases) {
      Put16(offsets, offset);
      offset += phrase.size();
      Append(image, Str(phrase));
    }
    Put16(offsets, offset);
    Put32(table, image.size());
    files["|Phrases"] = Join({table, offsets, PackLz77(image)});
  } else if (help.Phrasing == PhraseKind::Hall) {
    constexpr int kBits = 2;
    Bytes image, bits;
    std::size_t bit = 0;
    auto put = [&](bool on) {
      if (bit / 8 >= bits.size()) bits.push_back(0);
      if (on) bits[bit / 8] |= static_cast<std::uint8_t>(1 << (bit % 8));
      ++bit;
    };
    for (const std::string& phrase : help.Phrases) {
      Append(image, Str(phrase));
      const std::size_t n = phrase.size() - 1;
      for (std::size_t q = n >> kBits; q > 0; --q) put(true);
      put(false);
      for (int b = 0; b < kBits; ++b) put((n >> b) & 1);
    }
    bits.resize((bits.size() + 3) / 4 * 4, 0);
    const Bytes packed = PackLz77(image);
    Bytes index;
    Put32(index, 1);
    Put32(index, help.Phrases.size());
    Put32(index, bits.size());
    Put32(index, image.size());
    Put32(index, packed.size());
    Put32(index, 0);
    Put16(index, kBits);
    Put16(index, 0x4A00);
    files["|PhrIndex"] = Join({index, bits});
    files["|PhrImage"] = packed;
  }
}

struct LaidRecord {
  std::uint8_t Type;
  Bytes Format, Text;   // the text as stored
  std::size_t Expanded;  // the text's expanded size
  std::uint32_t Characters;
  std::size_t Stream = 0;  // where it starts in the expanded topic data
  std::uint32_t Position = 0, Offset = 0;
};

}  // namespace

Bytes HelpBuilder::Build() {
  // WinHelp 3.0 keeps 2 KB blocks as stored, and counts positions in them.
  const bool version30 = Minor <= 16;
  const bool packed = !version30 && (Flags == 4 || Flags == 8);
  const std::size_t blockSize = version30 || (Flags & 8) != 0 ? 2048 : kBlockSize;
  const std::size_t unit = packed ? kPackedUnit : version30 ? blockSize : blockSize - kBlockHeader;
  // A packed block holds 16 KB of expanded data, only the last less; full
  // blocks hold what eight literals to nine bytes fit into the block.
  const std::size_t room = blockSize - kBlockHeader;
  const std::size_t chunk = !packed ? room : FullBlocks ? room / 9 * 8 + (room % 9 > 1 ? room % 9 - 1 : 0) : kPackedUnit;
  const PhraseIndex phrases(Phrases);
  auto storeText = [&](const Bytes& text) {
    Bytes stored = Phrasing == PhraseKind::Classic ? PackClassic(phrases, text)
                   : Phrasing == PhraseKind::Hall  ? PackHall(phrases, text)
                                                   : text;
    return stored.size() < text.size() ? stored : text;
  };

  // Records in chain order: each topic's header, then its text records; an
  // empty header ends the chain.
  std::vector<LaidRecord> records;
  std::vector<std::size_t> headers;
  for (const BuiltTopic& topic : Topics) {
    headers.push_back(records.size());
    Bytes title = Z(topic.Title);
    for (const std::string& macro : topic.Macros) Append(title, Z(macro));
    records.push_back(LaidRecord{0x02, Bytes(28, 0), storeText(title), title.size(), 0});
    for (const RecordBuilder& record : topic.Records) {
      records.push_back(LaidRecord{record.Type(), record.FormatPart(), storeText(record.TextPart()),
                                   record.TextPart().size(), record.Characters()});
    }
  }
  records.push_back(LaidRecord{0x02, Bytes(28, 0xFF), Z(""), 1, 0});

  // Where each record lies, and the offsets that count characters per block.
  std::size_t stream = 0;
  std::size_t block = SIZE_MAX;
  std::uint32_t characters = 0;
  for (LaidRecord& record : records) {
    record.Stream = stream;
    const std::size_t b = stream / chunk;
    record.Position = static_cast<std::uint32_t>(kBlockHeader + b * unit + stream % chunk);
    if (b != block) {
      block = b;
      characters = 0;
    }
    record.Offset = version30 ? record.Position : static_cast<std::uint32_t>(b * 32768 + characters);
    characters += record.Characters;
    stream += kRecordHeader + record.Format.size() + record.Text.size();
  }
  TopicOffsets.clear();
  RecordOffsets.assign(Topics.size(), {});
  for (std::size_t t = 0; t < Topics.size(); ++t) {
    TopicOffsets.push_back(records[headers[t]].Offset);
    for (std::size_t r = 0; r < Topics[t].Records.size(); ++r) RecordOffsets[t].push_back(records[headers[t] + 1 + r].Offset);
  }

  // Topic headers: browse neighbours, the non-scrolling region, the next topic.
  for (std::size_t t = 0; t < Topics.size(); ++t) {
    Bytes& format = records[headers[t]].Format;
    format.clear();
    Put32(format, 0);
    if (version30) {  // browse neighbours by topic number, and no more
      int previous = -1;
      for (std::size_t o = 0; o < Topics.size(); ++o) {
        if (Topics[o].BrowseNext == static_cast<int>(t)) previous = static_cast<int>(o);
      }
      Put32(format, previous < 0 ? 0xFFFF : 16 + previous);
      Put32(format, Topics[t].BrowseNext < 0 ? 0xFFFF : 16 + Topics[t].BrowseNext);
      format.resize(28, 0);
      continue;
    }
    int previous = -1;
    for (std::size_t o = 0; o < Topics.size(); ++o) {
      if (Topics[o].BrowseNext == static_cast<int>(t)) previous = static_cast<int>(o);
    }
    Put32(format, previous < 0 ? 0xFFFFFFFF : TopicOffsets[previous]);
    Put32(format, Topics[t].BrowseNext < 0 ? 0xFFFFFFFF : TopicOffsets[Topics[t].BrowseNext]);
    Put32(format, t);
    const std::size_t first = headers[t] + 1;
    const std::size_t scroll = first + Topics[t].NonScrolling;
    Put32(format, Topics[t].NonScrolling > 0 ? records[first].Position : 0xFFFFFFFF);
    Put32(format, records[scroll].Position);
    Put32(format, t + 1 < Topics.size() ? records[headers[t + 1]].Position : records.back().Position);
  }

  // The expanded topic data, then the blocks.
  Bytes data;
  for (std::size_t r = 0; r < records.size(); ++r) {
    const LaidRecord& record = records[r];
    const std::size_t size = kRecordHeader + record.Format.size() + record.Text.size();
    Put32(data, size);
    Put32(data, record.Expanded);
    Put32(data, r == 0 ? 0xFFFFFFFF : records[r - 1].Position);
    if (version30) {  // distances instead of positions
      Put32(data, r + 1 < records.size() ? records[r + 1].Position - record.Position : 0xFFFFFFFF);
    } else {
      Put32(data, r + 1 < records.size() ? records[r + 1].Position : 0xFFFFFFFF);
    }
    Put32(data, kRecordHeader + record.Format.size());
    data.push_back(record.Type);
    Append(data, record.Format);
    Append(data, record.Text);
  }
  Bytes topic;
  for (std::size_t start = 0, b = 0; start < data.size(); start += chunk, ++b) {
    std::int64_t first = -1, last = -1;
    for (const LaidRecord& record : records) {
      if (first < 0 && record.Stream >= start && record.Stream < start + chunk) first = record.Position;
      if (record.Stream < start && record.Type == 0x02) last = record.Position;
    }
    Put32(topic, b == 0 ? 0xFFFFFFFF : 0);
    Put32(topic, static_cast<std::uint32_t>(first));
    Put32(topic, static_cast<std::uint32_t>(last));
    Bytes part(data.begin() + start, data.begin() + std::min(data.size(), start + chunk));
    if (packed && FullBlocks) {
      Bytes literals;
      for (std::size_t i = 0; i < part.size(); ++i) {
        if (i % 8 == 0) literals.push_back(0);
        literals.push_back(part[i]);
      }
      if (part.size() == chunk && part.size() % 8 == 0 && literals.size() < room) literals.push_back(0);  // a flag of no items
      part = literals;
    } else if (packed) {
      part = PackLz77(part);
    }
    if (part.size() > blockSize - kBlockHeader) throw std::runtime_error("a topic block packs too large");
    Append(topic, part);
    if (start + chunk < data.size()) topic.resize((b + 1) * blockSize, 0);
  }

  std::map<std::string, Bytes> files = Files;
  std::vector<std::pair<std::uint16_t, Bytes>> system{{1, Z(Title)}};
  Bytes contents;
  Put32(contents, TopicOffsets.empty() ? 0 : TopicOffsets[0]);
  system.emplace_back(3, contents);
  Bytes language(8, 0);
  Put16(language, Language);
  system.emplace_back(9, language);
  system.insert(system.end(), SystemRecords.begin(), SystemRecords.end());
  if (version30) {
    Bytes tomap;  // the contents topic, then topic numbers from 16 on
    Put32(tomap, TopicOffsets.empty() ? 0 : TopicOffsets[0]);
    tomap.resize(16 * 4, 0);
    for (std::uint32_t offset : TopicOffsets) Put32(tomap, offset);
    files["|TOMAP"] = tomap;
    files["|SYSTEM"] = Join({SystemFile(Minor, Flags, {}), Z(Title)});
  } else {
    files["|SYSTEM"] = SystemFile(Minor, Flags, system);
  }
  files["|FONT"] = FontFile(Fonts);
  files["|TOPIC"] = topic;
  AddPhraseFiles(*this, files);

  // Contexts, titles, keywords and the map.
  std::map<std::uint32_t, std::uint32_t> contexts;
  std::map<std::string, std::uint32_t> byName;
  for (std::size_t t = 0; t < Topics.size(); ++t) {
    for (const std::string& context : Topics[t].Contexts) {
      contexts[ContextHash(context)] = TopicOffsets[t];
      byName[Lower(context)] = TopicOffsets[t];
    }
    for (const auto& [context, record] : Topics[t].Places) {
      contexts[ContextHash(context)] = RecordOffsets[t][record];
      byName[Lower(context)] = RecordOffsets[t][record];
    }
  }
  std::vector<Bytes> entries, keys;
  for (const auto& [hash, offset] : contexts) {
    Bytes entry;
    Put32(entry, hash);
    keys.push_back(entry);
    Put32(entry, offset);
    entries.push_back(entry);
  }
  files["|CONTEXT"] = BTreeFile(entries, keys, "L4", PageSize, PerLeaf);
  entries.clear();
  keys.clear();
  for (std::size_t t = 0; t < Topics.size(); ++t) {
    Bytes key;
    Put32(key, TopicOffsets[t]);
    keys.push_back(key);
    entries.push_back(Join({key, Z(Topics[t].Title)}));
  }
  files["|TTLBTREE"] = BTreeFile(entries, keys, "Lz", PageSize, PerLeaf);
  for (bool alinks : {false, true}) {
    std::map<std::string, std::pair<std::string, std::vector<std::uint32_t>>> words;  // lower-cased
    for (std::size_t t = 0; t < Topics.size(); ++t) {
      for (const std::string& word : alinks ? Topics[t].ALinks : Topics[t].Keywords) {
        auto& entry = words[Lower(word)];
        entry.first = word;
        entry.second.push_back(TopicOffsets[t]);
      }
    }
    if (words.empty()) continue;
    Bytes offsets;
    entries.clear();
    keys.clear();
    for (const auto& [lower, entry] : words) {
      Bytes e = Z(entry.first);
      keys.push_back(e);
      Put16(e, entry.second.size());
      Put32(e, offsets.size());
      for (std::uint32_t offset : entry.second) Put32(offsets, offset);
      entries.push_back(e);
    }
    files[alinks ? "|AWBTREE" : "|KWBTREE"] = BTreeFile(entries, keys, "F24", PageSize, PerLeaf);
    files[alinks ? "|AWDATA" : "|KWDATA"] = offsets;
  }
  if (!Map.empty()) {
    Bytes map;
    Put16(map, Map.size());
    for (const auto& [id, context] : Map) {
      Put32(map, id);
      Put32(map, byName.at(Lower(context)));
    }
    files["|CTXOMAP"] = map;
  }
  return HelpFile(files, PerLeaf, PageSize);
}

}  // namespace quorvex::test
