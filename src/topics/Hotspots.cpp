#include "topics/Hotspots.h"

#include "base/Texts.h"
#include "topics/ExternalLinks.h"
#include "topics/JumpLinks.h"
#include "topics/PopupLinks.h"

namespace quorvex {
namespace {

constexpr std::string_view kExecFile = "!execfile(\"";

// The visible text of a hotspot, up to the "}" that closes it; the cursor ends
// past the opening of the hidden group ("{\v ") that follows.
ByteString ReadHotspotText(LineCursor& cursor) {
  ByteString text;
  while (!cursor.AtEnd()) {
    if (cursor.Is('}')) {
      cursor.Step(5);
      break;
    }
    if (cursor.LooksAt("\\'")) {
      cursor.Step(2);
      text += cursor.TakeHexByte();
    } else if (cursor.Is('\\')) {
      cursor.Step();
      cursor.SkipControlWord();
    } else {
      text += cursor.Take();
    }
  }
  return text;
}

// The hidden target up to its "}"; a window name after ">" is dropped.
ByteString ReadHotspotTarget(LineCursor& cursor) {
  ByteString target;
  while (!cursor.AtEnd()) {
    if (cursor.Is('}')) {
      cursor.Step();
      break;
    }
    if (cursor.Is('>')) {
      cursor.AdvancePast('}');
      break;
    }
    target += cursor.Take();
  }
  return target;
}

// The file of an execfile macro: the text after `!execfile("` up to the next quote.
ByteString ExecFileName(std::string_view macro) {
  std::string_view rest = macro.substr(kExecFile.size());
  return ByteString(rest.substr(0, rest.find('"')));
}

ByteString Anchor(std::string_view href, std::string_view text) {
  return "<a href=\"" + ByteString(href) + "\">" + ByteString(text) + "</a>";
}

ByteString JumpAnchor(TopicPage& page, const ByteString& target, const ByteString& text) {
  if (!StartsWith(target, "!")) return Anchor(AddJumpLink(page.Job, target), text);
  // Of the macros only file links have an HTML counterpart.
  if (StartsWithIgnoreCase(target, kExecFile)) {
    std::optional<ByteString> href = ExternalHref(page.Job, ExecFileName(target), page.Source);
    return href ? Anchor(*href, text) : text;
  }
  return Anchor("", text);
}

}  // namespace

ByteString ConvertHotspot(TopicPage& page, LineCursor& cursor, HotspotKind kind) {
  ByteString text = ReadHotspotText(cursor);
  ByteString target = LowerCase(ReadHotspotTarget(cursor));
  if (kind == HotspotKind::Jump) return JumpAnchor(page, target, text);
  return Anchor(PopupHref(AddPopupLink(page, target)), text);
}

namespace {

// The label of a button, up to its ","; control words in it are dropped up to
// the next backslash or ",".
ByteString ReadButtonLabel(LineCursor& cursor) {
  ByteString label;
  while (!cursor.AtEnd() && !cursor.Is(',')) {
    if (cursor.LooksAt("\\'")) {
      cursor.Step(2);
      label += cursor.TakeHexByte();
    } else if (cursor.Is('\\')) {
      cursor.Step();
      while (!cursor.AtEnd() && !cursor.Is('\\') && !cursor.Is(',')) cursor.Step();
    } else {
      label += cursor.Take();
    }
  }
  return label;
}

// The topic of pi( and ji(: the text up to ")", without a window name after ">".
ByteString ReadMacroTopic(LineCursor& cursor) {
  ByteString topic;
  bool inWindowName = false;
  while (!cursor.AtEnd() && !cursor.Is(')')) {
    char c = cursor.Take();
    if (c == '>') inWindowName = true;
    if (!inWindowName) topic += c;
  }
  return topic;
}

// The opening anchor for the button's macro, or empty for a macro that has
// none; `refused` when the macro names a file or URL that gets no link.
ByteString ButtonAnchorStart(TopicPage& page, LineCursor& cursor, bool& refused) {
  if (cursor.LooksAtIgnoreCase("pi(")) {
    cursor.Step(3);
    return "<a href=\"" + PopupHref(AddPopupLink(page, ReadMacroTopic(cursor))) + "\">";
  }
  if (cursor.LooksAtIgnoreCase("ji(")) {
    cursor.Step(3);
    return "<a href=\"" + AddJumpLink(page.Job, ReadMacroTopic(cursor)) + "\">";
  }
  if (cursor.LooksAtIgnoreCase(kExecFile)) {
    cursor.Step(kExecFile.size());
    ByteString file;
    while (!cursor.AtEnd() && !cursor.Is('"')) file += cursor.Take();
    std::optional<ByteString> href = ExternalHref(page.Job, file, page.Source);
    refused = !href;
    return href ? "<a href=\"" + *href + "\">" : ByteString();
  }
  return ByteString();
}

// A button without a label links the word written after it. A leading
// ideographic space written as two escapes is not part of that word.
ByteString ReadTextAfterButton(LineCursor& cursor) {
  while (cursor.Is(' ')) cursor.Step();
  ByteString text;
  while (!cursor.AtEnd() && !cursor.Is(' ')) {
    if (cursor.LooksAt("\\'")) {
      cursor.Step(2);
      text += cursor.TakeHexByte();
      if (text == kIdeographicSpace) text.clear();
    } else if (cursor.Is('\\')) {
      break;
    } else {
      text += cursor.Take();
    }
  }
  return text;
}

}  // namespace

ByteString ConvertButton(TopicPage& page, LineCursor& cursor) {
  ByteString label = ReadButtonLabel(cursor);
  if (cursor.AtEnd()) return ByteString();
  cursor.Step();  // the ","
  bool refused = false;
  ByteString result = ButtonAnchorStart(page, cursor, refused);
  if (refused) {
    cursor.AdvancePast('}');
    return label.empty() ? ReadTextAfterButton(cursor) : label;
  }
  if (!result.empty() && !label.empty()) result += label + "</a>";
  cursor.AdvancePast('}');
  if (label.empty()) result += ReadTextAfterButton(cursor) + "</a>";
  return result;
}

}  // namespace quorvex
