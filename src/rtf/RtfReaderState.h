#pragma once
// Inside the document reader: the state machine that the tokens drive.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/HelpDocument.h"
#include "rtf/RtfTokenizer.h"
#include "model/TextDecoder.h"

namespace quorvex::rtf {

/// Where the text of a group goes.
enum class Destination : std::uint8_t {
  Body,              ///< the topic's paragraphs
  Footnote,          ///< the open footnote
  ListText,          ///< the paragraph's list mark ({\listtext}, {\pntext})
  FieldInstruction,  ///< the open field's instruction
  Picture,           ///< hexadecimal picture data
  FontTable,
  ColorTable,
  StyleSheet,
  Skip,
};

/// What each group carries; a group starts with its parent's and drops its own at "}".
struct GroupState {
  Destination Dest = Destination::Body;
  Destination ResultDest = Destination::Body;  ///< where a field's or object's result goes
  CharFormat Char;
  ParaFormat Para;
  int UnicodeSkip = 1;  ///< \uc
};

struct OpenField {
  std::size_t Depth;  ///< the field group's depth
  DocText Instruction;
  Destination ResultDest;
  bool LinkOpen = false;
  bool ResultHadText = false;
};

struct OpenFootnote {
  std::size_t Depth;
  Footnote Note;
  std::optional<std::size_t> AnchorInline;  ///< the anchor placed for a "#" after body text
};

class Reader {
 public:
  Reader(std::string_view data, int projectCodePage);
  HelpDocument Read();

 private:
  // The token loop.
  void GroupStart();
  void GroupEnd();
  void Word(const RtfToken& token);
  void Symbol(char symbol);
  void Bytes(std::string_view bytes);
  void BinaryData(std::string_view bytes);
  void Unicode(int value);

  // Control words by kind; each returns true when it took the word.
  bool DestinationWord(std::string_view name, bool starred);
  bool CharacterWord(std::string_view name, bool hasParam, int param);
  bool ParagraphWord(std::string_view name, bool hasParam, int param);
  bool BreakWord(std::string_view name);
  bool SpecialCharWord(std::string_view name);
  bool TableWord(std::string_view name, int param);
  bool HeaderTableWord(std::string_view name, bool hasParam, int param);
  bool PictureWord(std::string_view name, bool hasParam, int param);

  // Text.
  void FlushText();
  void AddChars(const DocText& text);
  void AddBodyText(const DocText& text, const CharFormat& format);
  void AddInline(Inline piece);
  const FontInfo* CurrentFont() const;
  int DeclaredCodePage() const;
  void FontTableRead();

  // Structure.
  void EndParagraph(ParagraphEnd end);
  void EndTopic();
  void OpenFootnoteGroup();
  void CloseFootnote();
  void StartFieldResult();
  void CloseField();
  void ClosePicture();
  void CommitStyle();
  char32_t TakeFootnoteMark();

  GroupState& State() { return stack_.back(); }
  const GroupState& State() const { return stack_.back(); }

  RtfTokenizer tokens_;
  int projectCodePage_;
  TextDecoder decoder_;
  HelpDocument doc_;
  std::vector<GroupState> stack_;
  std::size_t skippedDepth_ = 0;  ///< groups below the depth limit, dropped
  bool starPending_ = false;      ///< "\*" seen: the next word names an ignorable destination
  bool groupStart_ = false;       ///< no word yet in the current group
  int unicodeSkipLeft_ = 0;

  std::string pendingBytes_;  ///< text bytes not yet decoded, all in the current group's state

  // The topic and paragraph being built.
  Topic topic_;
  Paragraph paragraph_;
  DocText listText_;
  int visibleChars_ = 0;  ///< visible non-blank characters of the topic so far
  bool topicHasPicture_ = false;

  // Header tables.
  int defaultFont_ = -1;
  int ansiCodePage_ = 0;  // \ansicpg, 0 when the document has none
  std::unordered_map<int, FontInfo> fonts_;
  std::unordered_map<int, std::string> fontNames_;
  int currentFont_ = -1;
  std::optional<std::uint32_t> colorValue_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorSeen_ = false;
  int styleNumber_ = 0;
  bool styleIsParagraph_ = true;
  bool styleOutline_ = false;
  std::string styleName_;
  std::size_t styleDepth_ = 0;  ///< depth of the style entry group being read

  // Tables.
  bool rowBorders_ = false;
  bool borderPending_ = false;

  std::vector<OpenField> fields_;
  std::optional<OpenFootnote> footnote_;
  std::optional<EmbeddedPicture> picture_;
  std::size_t pictureDepth_ = 0;
  Destination pictureOwner_ = Destination::Skip;
  int pictureNibble_ = -1;
};

/// Replaces the picture references ({bmc name}, {bml ...}, {bmr ...}),
/// buttons ({button label,macro}) and embedded windows ({ewc ...}, {mci ...},
/// dropped) in the visible text of a paragraph by inline pieces of their own.
void ExtractEmbeddedReferences(Paragraph& paragraph);

/// The kind of list a paragraph's list mark makes: numbers and letters with
/// "." or ")" number, anything else is a bullet.
ListKind ListKindOf(const DocText& mark);

}  // namespace quorvex::rtf
