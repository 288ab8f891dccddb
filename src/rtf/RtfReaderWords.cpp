// The document reader's control words.

#include <algorithm>
#include <unordered_set>

#include "base/CodePages.h"
#include "rtf/RtfReaderState.h"

namespace quorvex::rtf {
namespace {

bool Is(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Destinations whose text is never shown: document information, headers and
// footers, list definitions, revision tables, object data, bookmarks, ...
bool IsSkippedDestination(std::string_view name) {
  static const std::unordered_set<std::string_view> kSkipped = {"info", "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf",
                   "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "pgdsctbl", "filetbl",
                   "latentstyles", "themedata", "colorschememapping", "datastore", "xmlnstbl", "pn", "pnseclvl",
                   "objdata", "objclass", "objname", "datafield", "template", "userprops", "docvar", "bkmkstart",
                   "bkmkend", "xe", "tc", "tcn", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn",
                   "annotation", "atnid", "atnauthor", "atrfstart", "atrfend", "atndate", "atnref", "atnicn",
                   "comment", "author", "operator", "title", "subject", "keywords", "doccomm", "company",
                   "category", "manager", "creatim", "revtim", "printim", "buptim", "panose", "falt", "fname",
                   "blipuid", "picprop", "wgrffmtfilter", "mmathPr", "defchp", "defpap", "listpicture", "ud",
                   "nonshppict", "shpinst", "background", "formfield", "txe", "fontemb", "fontfile",
                   "leveltext", "levelnumbers", "listname", "pntxta", "pntxtb", "nesttableprops", "nonesttables"};
  return kSkipped.count(name) > 0;
}

}  // namespace

void Reader::Word(const RtfToken& token) {
  if (unicodeSkipLeft_ > 0) {
    --unicodeSkipLeft_;
    return;
  }
  const std::string_view name = token.Name;
  const bool hasParam = token.HasParameter;
  const int param = token.Parameter;
  const bool starred = starPending_;
  starPending_ = false;
  groupStart_ = false;
  if (DestinationWord(name, starred)) return;
  if (starred) {  // an ignorable destination we do not know
    State().Dest = Destination::Skip;
    return;
  }
  if (name == "u") {
    Unicode(param);
    return;
  }
  if (name == "uc") {
    State().UnicodeSkip = std::clamp(hasParam ? param : 1, 0, 16);
    return;
  }
  if (name == "ansicpg") {
    ansiCodePage_ = param;
    decoder_ = TextDecoder(param, projectCodePage_);
    return;
  }
  if (name == "deff") {
    defaultFont_ = param;
    return;
  }
  if (HeaderTableWord(name, hasParam, param) || PictureWord(name, hasParam, param)) return;
  if (CharacterWord(name, hasParam, param) || ParagraphWord(name, hasParam, param)) return;
  if (TableWord(name, param) || BreakWord(name)) return;
  SpecialCharWord(name);
}

bool Reader::DestinationWord(std::string_view name, bool starred) {
  GroupState& state = State();
  if (name == "fonttbl") {
    state.Dest = Destination::FontTable;
  } else if (name == "colortbl") {
    state.Dest = Destination::ColorTable;
    doc_.Colors.clear();
  } else if (name == "stylesheet") {
    state.Dest = Destination::StyleSheet;
  } else if (name == "footnote") {
    OpenFootnoteGroup();
  } else if (name == "field") {
    fields_.push_back(OpenField{stack_.size(), {}, state.Dest});
    state.ResultDest = state.Dest;
    state.Dest = Destination::Skip;
  } else if (name == "fldinst") {
    state.Dest = Destination::FieldInstruction;
  } else if (name == "fldrslt") {
    state.Dest = state.ResultDest;
    StartFieldResult();
  } else if (name == "listtext" || name == "pntext") {
    state.Dest = Destination::ListText;
  } else if (name == "pict") {
    pictureOwner_ = state.Dest;
    state.Dest = Destination::Picture;
    picture_ = EmbeddedPicture();
    pictureDepth_ = stack_.size();
    pictureNibble_ = -1;
  } else if (name == "object" || name == "shp") {
    state.ResultDest = state.Dest;
    state.Dest = Destination::Skip;
  } else if (name == "result" || name == "shprslt") {
    state.Dest = state.ResultDest;
  } else if (name == "shppict") {
    // Word's picture for readers that know shapes; the \pict inside is kept.
  } else if (IsSkippedDestination(name)) {
    state.Dest = Destination::Skip;
  } else {
    return false;
  }
  (void)starred;
  return true;
}

bool Reader::CharacterWord(std::string_view name, bool hasParam, int param) {
  CharFormat& c = State().Char;
  const bool on = !hasParam || param != 0;
  if (name == "plain") {
    c = CharFormat();
  } else if (name == "b") {
    c.Bold = on;
  } else if (name == "i") {
    c.Italic = on;
  } else if (name == "strike" || name == "striked") {
    c.Strike = on;
  } else if (name == "v") {
    c.Hidden = on;
  } else if (name == "ul" || name == "ulw" || name == "uldash" || name == "uldashd" || name == "uldashdd" ||
             name == "ulth" || name == "ulwave" || name == "ulhwave" || name == "ulldash" || name == "ulthd") {
    c.Underlined = on ? Underline::Single : Underline::None;
  } else if (name == "uldb" || name == "ululdbwave") {
    c.Underlined = on ? Underline::Double : Underline::None;
  } else if (name == "uld") {
    c.Underlined = on ? Underline::Dotted : Underline::None;
  } else if (name == "ulnone") {
    c.Underlined = Underline::None;
  } else if (name == "super") {
    c.Superscript = on;
    if (on) c.Subscript = false;
  } else if (name == "sub") {
    c.Subscript = on;
    if (on) c.Superscript = false;
  } else if (name == "nosupersub") {
    c.Superscript = c.Subscript = false;
  } else if (name == "up") {
    c.Superscript = hasParam ? param > 0 : true;
  } else if (name == "dn") {
    c.Subscript = hasParam ? param > 0 : true;
  } else if (name == "cf") {
    c.Color = std::max(0, param);
  } else if (name == "f") {
    c.Font = param;
  } else {
    return false;
  }
  return true;
}

bool Reader::ParagraphWord(std::string_view name, bool /*hasParam*/, int param) {
  ParaFormat& p = State().Para;
  if (name == "pard") {
    p = ParaFormat();
  } else if (name == "s") {
    p.Style = param;
  } else if (name == "li") {
    p.LeftIndent = param;
  } else if (name == "fi") {
    p.FirstIndent = param;
  } else if (name == "keepn") {
    p.KeepNext = true;
  } else if (name == "intbl") {
    p.InTable = true;
  } else if (name == "qc") {
    p.Centered = true;
  } else if (name == "ql" || name == "qr" || name == "qj") {
    p.Centered = false;
  } else {
    return false;
  }
  return true;
}

bool Reader::BreakWord(std::string_view name) {
  const Destination dest = State().Dest;
  if (dest == Destination::Footnote) {
    if (footnote_ && Is(name, {"par", "line", "tab", "sect", "page"})) footnote_->Note.Text += U' ';
    return Is(name, {"par", "line", "tab", "sect", "page", "cell", "row"});
  }
  if (dest != Destination::Body) return Is(name, {"par", "line", "tab", "sect", "page", "cell", "row"});
  if (name == "par" || name == "sect" || name == "column") {
    EndParagraph(ParagraphEnd::Paragraph);
  } else if (name == "cell" || name == "nestcell") {
    EndParagraph(ParagraphEnd::Cell);
  } else if (name == "row" || name == "nestrow") {
    EndParagraph(ParagraphEnd::Row);
  } else if (name == "line") {
    AddInline(Inline{InlineKind::LineBreak});
  } else if (name == "tab") {
    AddInline(Inline{InlineKind::Tab});
  } else if (name == "page") {
    EndTopic();
  } else {
    return false;
  }
  return true;
}

bool Reader::SpecialCharWord(std::string_view name) {
  static const std::pair<std::string_view, char32_t> kChars[] = {
      {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
      {"bullet", 0x2022}, {"endash", 0x2013}, {"emdash", 0x2014},    {"emspace", U' '},
      {"enspace", U' '},  {"qmspace", U' '}};
  for (const auto& [word, c] : kChars) {
    if (name == word) {
      AddChars(DocText(1, c));
      return true;
    }
  }
  return false;
}

bool Reader::TableWord(std::string_view name, int /*param*/) {
  if (name == "trowd") {
    rowBorders_ = false;
    borderPending_ = false;
  } else if (name.substr(0, 6) == "clbrdr" || name.substr(0, 6) == "trbrdr") {
    borderPending_ = true;
  } else if (name == "brdrnone") {
    borderPending_ = false;
  } else if (name.substr(0, 4) == "brdr" && name.size() > 4 && name != "brdrw" && name != "brdrcf" &&
             name != "brdrt" && name != "brdrb" && name != "brdrl" && name != "brdrr" && name != "brdrbtw" &&
             name != "brdrbar") {
    if (borderPending_) rowBorders_ = true;
    borderPending_ = false;
  } else {
    return false;
  }
  return true;
}

bool Reader::HeaderTableWord(std::string_view name, bool hasParam, int param) {
  switch (State().Dest) {
    case Destination::FontTable:
      if (name == "f") {
        currentFont_ = param;
        fonts_[param];
        fontNames_[param].clear();
      } else if (name == "fcharset" && currentFont_ >= 0) {
        fonts_[currentFont_].Symbol = param == 2;
        if (fonts_[currentFont_].CodePage == 0 || param == 2) fonts_[currentFont_].CodePage = CharsetCodePage(param);
      } else if (name == "cpg" && currentFont_ >= 0 && param > 0) {
        fonts_[currentFont_].CodePage = param;
      }
      return true;
    case Destination::ColorTable:
      colorSeen_ = true;
      if (name == "red") red_ = std::clamp(param, 0, 255);
      if (name == "green") green_ = std::clamp(param, 0, 255);
      if (name == "blue") blue_ = std::clamp(param, 0, 255);
      return true;
    case Destination::StyleSheet:
      if (name == "s" || name == "cs" || name == "ds" || name == "ts") {
        styleNumber_ = param;
        styleIsParagraph_ = name == "s";
      } else if (name == "outlinelevel" && hasParam && param >= 0 && param < 9) {
        styleOutline_ = true;
      }
      return true;
    default:
      return false;
  }
}

bool Reader::PictureWord(std::string_view name, bool hasParam, int param) {
  if (State().Dest != Destination::Picture || !picture_) return false;
  using Format = EmbeddedPicture::Format;
  EmbeddedPicture& p = *picture_;
  if (name == "wmetafile") {
    p.Type = Format::Wmf;
  } else if (name == "emfblip") {
    p.Type = Format::Emf;
  } else if (name == "dibitmap") {
    p.Type = Format::Dib;
  } else if (name == "wbitmap") {
    p.Type = Format::Ddb;
  } else if (name == "pngblip") {
    p.Type = Format::Png;
  } else if (name == "jpegblip") {
    p.Type = Format::Jpeg;
  } else if (name == "picw") {
    p.Width = param;
  } else if (name == "pich") {
    p.Height = param;
  } else if (name == "picwgoal") {
    p.GoalWidth = param;
  } else if (name == "pichgoal") {
    p.GoalHeight = param;
  } else if (name == "picscalex" && hasParam) {
    p.ScaleX = param;
  } else if (name == "picscaley" && hasParam) {
    p.ScaleY = param;
  } else if (name == "wbmbitspixel") {
    p.BitsPerPixel = param;
  } else if (name == "wbmplanes") {
    p.Planes = param;
  } else if (name == "wbmwidthbytes") {
    p.WidthBytes = param;
  }
  return true;  // any other word inside a picture changes nothing outside it
}

}  // namespace quorvex::rtf
