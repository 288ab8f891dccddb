#include "hlp/CompiledHelpReader.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "base/ByteReader.h"
#include "hlp/BrowseOrder.h"
#include "base/ContextHash.h"
#include "hlp/ContextNames.h"
#include "hlp/FontTable.h"
#include "hlp/HelpCodePage.h"
#include "hlp/HelpFileSystem.h"
#include "hlp/HelpTopic.h"
#include "hlp/IndexFiles.h"
#include "hlp/Phrases.h"
#include "hlp/PictureHotspots.h"
#include "hlp/RecordParagraphs.h"
#include "hlp/SystemFile.h"
#include "hlp/TopicFile.h"
#include "hlp/TopicNaming.h"
#include "model/SymbolFonts.h"

namespace quorvex {
namespace {

constexpr char kTopicFile[] = "|TOPIC";
constexpr std::int32_t kNone = -1;

bool IsSymbolFace(const ByteString& face) {
  for (const char* name : {"symbol", "wingdings", "webdings", "marlett"}) {
    if (StartsWithIgnoreCase(face, name)) return true;
  }
  return false;
}

// "|bm12" and, in WinHelp 3.0 files, "bm12".
bool IsPictureFile(const ByteString& name) {
  std::string_view rest(name);
  if (!rest.empty() && rest[0] == '|') rest.remove_prefix(1);
  if (rest.size() < 3 || rest.substr(0, 2) != "bm") return false;
  return std::all_of(rest.begin() + 2, rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class HelpReader final : public RecordContext {
 public:
  HelpReader(std::span<const std::uint8_t> file, const CompiledHelpOptions& options)
      : options_(options), problems_(options.KeepGoing), files_(file, problems_), decoder_(0, 0) {}

  CompiledHelp Read() {
    std::optional<InternalFile> system = files_.Find("|SYSTEM");
    if (!system) throw EHelpFileError("|SYSTEM", 0, "the help has no |SYSTEM file");
    system_ = ReadSystem(*system, problems_);
    ReadPhrases();
    ReadFontStyles();
    help_.Title = TrimBlanks(Decode(system_.Title));
    help_.ContentsFileName = system_.ContentsFileName;
    for (const HelpWindow& window : system_.Windows) {
      if (SameText(window.Name, "main") || SameText(window.Type, "main")) help_.Background = window.Background;
    }
    std::optional<InternalFile> topicFile = files_.Find(kTopicFile);
    if (!topicFile) throw EHelpFileError(kTopicFile, 0, "the help has no |TOPIC file");
    ReadTopics(ReadTopicRecords(*topicFile, system_, phrases_, problems_));
    ReadKeywords("|KWBTREE", "|KWDATA", false);
    ReadKeywords("|AWBTREE", "|AWDATA", true);
    OfferNames();

    TopicNaming naming(help_.Document, topics_, decoder_);
    std::vector<HashedContext> contexts;
    if (std::optional<InternalFile> file = files_.Find("|CONTEXT")) contexts = ReadContexts(*file, problems_);
    for (const HashedContext& context : contexts) contextOffsets_.emplace(context.Hash, context.Offset);
    naming.NameTopics(contexts, names_);
    WriteLinks(naming);
    WriteMap(naming);
    WriteContentsTopic(naming);
    for (const HashedContext& context : contexts) {
      if (std::optional<ByteString> name = naming.PlaceName(context.Offset)) help_.HashedContexts.emplace_back(context.Hash, *name);
    }
    naming.WriteNames();
    WriteFootnotes();
    WriteBrowseOrder();
    help_.Document.BodyFontSize = BodyFontSize();
    help_.Warnings = problems_.Warnings();
    return std::move(help_);
  }

  // RecordContext
  const FontStyle& Font(int number) override {
    if (number >= 0 && static_cast<std::size_t>(number) < fonts_.size()) return fonts_[number];
    if (number >= 0 && unknownFonts_.insert(number).second) {
      problems_.Note("|FONT", 0, "text in font " + DecimalText(number) + ", which the font table lacks");
    }
    return plain_;
  }
  const TextDecoder& Decoder() const override { return decoder_; }

  std::size_t NumberedPicture(int number) override {
    auto [found, added] = numberedPictures_.emplace(number, help_.Document.Pictures.size());
    if (!added) return found->second;
    EmbeddedPicture picture;
    std::optional<InternalFile> file = files_.Find("|bm" + DecimalText(number));
    if (!file) file = files_.Find("bm" + DecimalText(number));
    if (file) {
      picture.Type = EmbeddedPicture::Format::Segmented;
      picture.Data.assign(file->Bytes.begin(), file->Bytes.end());
    } else {
      problems_.Note(kTopicFile, 0, "picture |bm" + DecimalText(number) + " is missing from the help");
    }
    help_.Document.Pictures.push_back(std::move(picture));
    return found->second;
  }

  std::size_t StoredPicture(std::span<const std::uint8_t> bytes) override {
    for (const ByteString& target : PictureHotspotTargets(bytes)) names_.OfferMacro(target, ContextNames::Source::Pictures);
    EmbeddedPicture picture;
    picture.Type = EmbeddedPicture::Format::Segmented;
    picture.Data.assign(bytes.begin(), bytes.end());
    help_.Document.Pictures.push_back(std::move(picture));
    return help_.Document.Pictures.size() - 1;
  }

  ByteString WindowName(int number) override {
    if (number >= 0 && static_cast<std::size_t>(number) < system_.Windows.size()) return system_.Windows[number].Name;
    return ByteString();
  }

  bool IsThisHelp(const ByteString& fileName) const override {
    return !options_.FileName.empty() && SameText(ExtractFileName(fileName), options_.FileName);
  }

  void MacroText(const ByteString& macro) override { names_.OfferMacro(macro, ContextNames::Source::Macros); }

 private:
  DocText Decode(std::string_view bytes) const {
    DocText text;
    decoder_.Decode(bytes, nullptr, text);
    return text;
  }

  void ReadPhrases() {
    try {
      if (std::optional<InternalFile> classic = files_.Find("|Phrases")) {
        phrases_ = ReadClassicPhrases(*classic, system_);
      } else if (std::optional<InternalFile> index = files_.Find("|PhrIndex")) {
        std::optional<InternalFile> image = files_.Find("|PhrImage");
        if (!image) throw EHelpFileError("|PhrImage", 0, "the help has |PhrIndex but no |PhrImage");
        phrases_ = ReadHallPhrases(*index, *image);
      }
    } catch (const EHelpFileError& problem) {
      problems_.Report(problem);
    }
  }

  void ReadFontStyles() {
    std::vector<HelpFont> fonts;
    if (std::optional<InternalFile> file = files_.Find("|FONT")) fonts = ReadFonts(*file, problems_);
    help_.CodePage = HelpCodePage(system_, fonts, options_.CodePage);
    decoder_ = TextDecoder(help_.CodePage, help_.CodePage);
    std::map<std::uint32_t, int> colors;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
      const HelpFont& font = fonts[i];
      FontStyle style;
      style.Format.Bold = font.Bold;
      style.Format.Italic = font.Italic;
      style.Format.Font = static_cast<int>(i);
      style.Format.FontSize = font.HalfPoints;
      if (font.Color) {
        auto [entry, added] = colors.emplace(*font.Color, static_cast<int>(help_.Document.Colors.size()));
        if (added) help_.Document.Colors.push_back(*font.Color);
        style.Format.Color = entry->second;
      }
      if (IsSymbolFace(font.FaceName)) {
        style.Decoding.Symbol = true;
        style.Decoding.Table = SymbolFontOf(font.FaceName);
      }
      fonts_.push_back(style);
    }
  }

  void StartTopic(const TopicRecord& record) {
    help_.Document.Topics.emplace_back();
    HelpTopic topic;
    topic.Offset = record.Offset;
    topic.Position = record.Position;
    nonScrollStart_ = scrollStart_ = kNone;
    ByteReader header(record.Format);
    try {
      header.Skip(4);  // the topic's size
      const std::int32_t previous = header.I32LE();
      const std::int32_t next = header.I32LE();
      // WinHelp 3.0 numbers topics with 16 bits: 0xFFFF is none too.
      const bool none30 = system_.IsVersion30();
      topic.BrowsePrevious = previous == kNone || (none30 && previous == 0xFFFF) ? -1 : previous;
      topic.BrowseNext = next == kNone || (none30 && next == 0xFFFF) ? -1 : next;
      if (!system_.IsVersion30()) {
        header.Skip(4);  // topic number
        nonScrollStart_ = header.I32LE();
        scrollStart_ = header.I32LE();
      }
    } catch (const EReadPastEnd&) {
      problems_.Report(EHelpFileError(kTopicFile, record.Position, "a topic header is cut short"));
    }
    // The title, then the macros that run when the topic opens.
    std::size_t start = 0;
    bool first = true;
    const std::string_view text(reinterpret_cast<const char*>(record.Text.data()), record.Text.size());
    while (start < text.size()) {
      std::size_t end = text.find('\0', start);
      if (end == std::string_view::npos) end = text.size();
      const std::string_view part = text.substr(start, end - start);
      if (first) {
        topic.Title = TrimBlanks(Decode(part));
      } else if (!part.empty()) {
        topic.Macros.emplace_back(part);
        MacroText(ByteString(part));
      }
      first = false;
      start = end + 1;
    }
    topics_.push_back(std::move(topic));
  }

  void ReadTopics(const std::vector<TopicRecord>& records) {
    for (const TopicRecord& record : records) {
      if (record.Type == RecordType::TopicHeader) {
        StartTopic(record);
        continue;
      }
      if (record.Type != RecordType::Text && record.Type != RecordType::Table && record.Type != RecordType::Text30) {
        problems_.Note(kTopicFile, record.Position, "a record of unknown type " + DecimalText(static_cast<int>(record.Type)) + " is left out");
        continue;
      }
      if (topics_.empty()) {  // text before any topic header: a topic of its own
        TopicRecord header;
        header.Offset = record.Offset;
        header.Position = record.Position;
        StartTopic(header);
        nonScrollStart_ = kNone;
      }
      HelpTopic& topic = topics_.back();
      Topic& model = help_.Document.Topics.back();
      const bool nonScrolling = nonScrollStart_ != kNone && static_cast<std::int64_t>(record.Position) >= nonScrollStart_ &&
                                static_cast<std::int64_t>(record.Position) < scrollStart_;
      topic.Records.emplace_back(record.Offset, model.Paragraphs.size());
      ReadRecordParagraphs(record, nonScrolling, *this, model, topic.Links, problems_);
    }
  }

  void ReadKeywords(const char* treeName, const char* dataName, bool alinks) {
    std::optional<InternalFile> tree = files_.Find(treeName);
    std::optional<InternalFile> data = files_.Find(dataName);
    if (!tree || !data) return;
    for (const OffsetText& keyword : quorvex::ReadKeywords(*tree, *data, treeName, problems_)) {
      names_.Offer(keyword.Text, ContextNames::Source::Keywords);
      names_.OfferMacro(keyword.Text, ContextNames::Source::Keywords);
      std::optional<std::size_t> topic = TopicAt(keyword.Offset);
      if (!topic) continue;
      std::vector<ByteString>& list = alinks ? topics_[*topic].ALinks : topics_[*topic].Keywords;
      if (std::find(list.begin(), list.end(), keyword.Text) == list.end()) list.push_back(keyword.Text);
    }
  }

  std::optional<std::size_t> TopicAt(std::uint32_t offset) const {
    auto after = std::upper_bound(topics_.begin(), topics_.end(), offset,
                                  [](std::uint32_t value, const HelpTopic& topic) { return value < topic.Offset; });
    if (after == topics_.begin()) return std::nullopt;
    return static_cast<std::size_t>(after - topics_.begin() - 1);
  }

  const std::vector<std::uint32_t>& TopicNumbers() {
    if (!topicNumbers_) {
      topicNumbers_.emplace();
      if (std::optional<InternalFile> file = files_.Find("|TOMAP")) *topicNumbers_ = ReadTopicNumbers(*file);
    }
    return *topicNumbers_;
  }

  // Every text of the help that may be a context name, offered for the hashes.
  void OfferNames() {
    using Source = ContextNames::Source;
    for (const ByteString& name : options_.KnownNames) names_.Offer(name, Source::ContentsFile);
    if (std::optional<InternalFile> ids = files_.Find("|TopicId")) {
      for (const OffsetText& id : ReadOffsetTexts(*ids, "|TopicId", problems_)) names_.Offer(id.Text, Source::TopicIds);
    }
    for (const ByteString& macro : system_.Macros) names_.OfferMacro(macro, Source::Macros);
    for (const auto& [name, file] : files_.Files()) {
      if (StartsWith(name, "|CF")) {
        std::string_view macros(reinterpret_cast<const char*>(file.Bytes.data()), file.Bytes.size());
        names_.OfferMacro(macros, Source::Macros);
      } else if (IsPictureFile(name)) {
        for (const ByteString& target : PictureHotspotTargets(file.Bytes)) names_.OfferMacro(target, Source::Pictures);
      }
    }
    for (const HelpTopic& topic : topics_) {
      const ByteString title = PlainBytes(topic.Title);
      names_.Offer(title, Source::Titles);
      ByteString joined = title;
      std::replace(joined.begin(), joined.end(), ' ', '_');
      names_.Offer(joined, Source::Titles);
    }
  }

  // Titles come back to bytes of the help's code page for hashing; only
  // ASCII matters for context strings of the usual kind.
  static ByteString PlainBytes(const DocText& text) {
    ByteString bytes;
    for (char32_t c : text) {
      if (c < 0x80) bytes.push_back(static_cast<char>(c));
      else if (IsShiftJisChar(c)) {
        const std::uint16_t code = ShiftJisCode(c);
        if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
      }
    }
    return bytes;
  }

  // The context a hotspot reaches, or nothing when the help lacks it.
  std::optional<ByteString> LinkTarget(const HotspotLink& link, TopicNaming& naming) {
    if (system_.IsVersion30()) {
      const std::vector<std::uint32_t>& numbers = TopicNumbers();
      if (link.Target >= numbers.size()) return std::nullopt;
      return naming.PlaceName(numbers[link.Target]);
    }
    auto found = contextOffsets_.find(link.Target);
    if (found == contextOffsets_.end()) return std::nullopt;
    return naming.PlaceName(found->second);
  }

  void WriteLinks(TopicNaming& naming) {
    std::unordered_set<std::uint32_t> missing;
    for (std::size_t t = 0; t < topics_.size(); ++t) {
      for (const PendingLink& pending : topics_[t].Links) {
        const HotspotLink& link = pending.Link;
        ByteString target;
        if (link.Type == HotspotLink::Kind::Macro) {
          target = "!" + link.Macro;
        } else if (!link.File.empty()) {
          const ByteString* name = names_.Find(link.Target);
          target = (name ? *name : "hash_" + HexText(link.Target)) + "@" + link.File;
        } else if (std::optional<ByteString> name = LinkTarget(link, naming)) {
          target = *name;
        } else {
          if (missing.insert(link.Target).second) {
            problems_.Note(kTopicFile, topics_[t].Position,
                           "a hotspot leads to a context the help does not hold (hash 0x" + HexText(link.Target) + ")");
          }
          continue;  // no hidden text: the hotspot's text stays plain
        }
        if (!link.Window.empty() && link.Type != HotspotLink::Kind::Macro) target += ">" + link.Window;
        if (link.Plain) target.insert(target.begin(), '%');
        help_.Document.Topics[t].Paragraphs[pending.Paragraph].Inlines[pending.Piece].Text = Decode(target);
      }
    }
  }

  // Map numbers reach their topics through contexts of their own, named after the number.
  void WriteMap(TopicNaming& naming) {
    std::optional<InternalFile> file = files_.Find("|CTXOMAP");
    if (!file) return;
    for (const MappedNumber& number : ReadContextMap(*file, problems_)) {
      std::optional<ByteString> name = naming.AddName(number.Offset, "map_0x" + HexText(number.Id));
      if (name) help_.Map.push_back(HelpMapEntry{*name, number.Id});
    }
  }

  void WriteContentsTopic(TopicNaming& naming) {
    std::optional<std::uint32_t> offset = system_.ContentsOffset;
    if (system_.IsVersion30() && !TopicNumbers().empty()) offset = TopicNumbers()[0];
    if (!offset) return;
    if (std::optional<std::size_t> topic = naming.TopicAt(*offset)) help_.ContentsTopic = naming.TopicName(*topic);
  }

  // "$" title, "K" and "A" keywords, "!" macros, after the names.
  void WriteFootnotes() {
    auto joined = [this](const std::vector<ByteString>& keywords) {
      ByteString all;
      for (const ByteString& keyword : keywords) all += (all.empty() ? "" : ";") + keyword;
      return Decode(all);
    };
    for (std::size_t t = 0; t < topics_.size(); ++t) {
      const HelpTopic& topic = topics_[t];
      std::vector<Footnote>& notes = help_.Document.Topics[t].Footnotes;
      if (!topic.Title.empty()) notes.push_back(Footnote{U'$', topic.Title});
      if (!topic.Keywords.empty()) notes.push_back(Footnote{U'K', joined(topic.Keywords)});
      if (!topic.ALinks.empty()) notes.push_back(Footnote{U'A', joined(topic.ALinks)});
      for (const ByteString& macro : topic.Macros) notes.push_back(Footnote{U'!', Decode(macro)});
    }
  }

  // Browse sequences link topic offsets; in WinHelp 3.0 topic numbers.
  void WriteBrowseOrder() {
    std::unordered_map<std::int64_t, std::size_t> byAddress;
    if (system_.IsVersion30()) {
      const std::vector<std::uint32_t>& numbers = TopicNumbers();
      for (std::size_t n = 0; n < numbers.size(); ++n) {
        if (std::optional<std::size_t> topic = TopicAt(numbers[n])) byAddress.emplace(static_cast<std::int64_t>(n), *topic);
      }
    } else {
      for (std::size_t t = 0; t < topics_.size(); ++t) byAddress.emplace(topics_[t].Offset, t);
    }
    auto topicOf = [&](std::int64_t address) -> std::optional<std::size_t> {
      auto found = byAddress.find(address);
      return address < 0 || found == byAddress.end() ? std::nullopt : std::optional<std::size_t>(found->second);
    };
    std::vector<BrowseLinks> links;
    for (const HelpTopic& topic : topics_) links.push_back(BrowseLinks{topicOf(topic.BrowsePrevious), topicOf(topic.BrowseNext)});
    help_.BrowseOrder = BrowseOrder(links);
  }

  // The size most of the text is written in.
  int BodyFontSize() const {
    std::map<int, std::size_t> characters;
    for (const Topic& topic : help_.Document.Topics) {
      for (const Paragraph& paragraph : topic.Paragraphs) {
        for (const Inline& piece : paragraph.Inlines) {
          if (piece.Kind == InlineKind::Text && !piece.Format.Hidden) characters[piece.Format.FontSize] += piece.Text.size();
        }
      }
    }
    int best = 0;
    std::size_t most = 0;
    for (const auto& [size, count] : characters) {
      if (size > 0 && count > most) {
        best = size;
        most = count;
      }
    }
    return best;
  }

  const CompiledHelpOptions& options_;
  ReadProblems problems_;
  HelpFileSystem files_;
  SystemInfo system_;
  PhraseTable phrases_;
  std::vector<FontStyle> fonts_;
  FontStyle plain_;
  std::unordered_set<int> unknownFonts_;
  TextDecoder decoder_;
  CompiledHelp help_;
  std::vector<HelpTopic> topics_;
  std::int64_t nonScrollStart_ = kNone, scrollStart_ = kNone;
  std::map<int, std::size_t> numberedPictures_;
  std::unordered_map<std::uint32_t, std::uint32_t> contextOffsets_;
  std::optional<std::vector<std::uint32_t>> topicNumbers_;
  ContextNames names_;
};

}  // namespace

CompiledHelp ReadCompiledHelp(std::span<const std::uint8_t> file, const CompiledHelpOptions& options) {
  CompiledHelp help = HelpReader(file, options).Read();
  return help;
}

}  // namespace quorvex
