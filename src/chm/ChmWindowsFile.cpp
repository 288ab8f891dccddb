#include <optional>

#include "chm/ChmBytes.h"
#include "chm/ChmSystemFiles.h"

namespace quorvex {
namespace {

// The fields of a [WINDOWS] line in order, and the HH_WINTYPE members that
// say which of the numeric ones were given.
enum Field {
  kCaption, kContents, kIndex, kDefaultFile, kHome, kJump1Url, kJump1Text, kJump2Url, kJump2Text,
  kNavigationStyle, kNavigationWidth, kButtons, kPosition, kStyle, kExtendedStyle, kShowState,
  kNavigationClosed, kDefaultPane, kPanePosition, kNotifyId, kFieldCount
};
constexpr std::uint32_t kValidProperties = 0x2, kValidStyles = 0x4, kValidExtendedStyles = 0x8, kValidRect = 0x10,
                        kValidNavigationWidth = 0x20, kValidShowState = 0x40, kValidButtons = 0x100,
                        kValidExpansion = 0x200, kValidTabPosition = 0x400, kValidCurrentTab = 0x2000;
constexpr std::uint32_t kEntrySize = 0xC4;

std::optional<std::int64_t> Integer(const ByteString& text) {
  if (text.empty()) return std::nullopt;
  bool negative = text[0] == '-';
  std::size_t i = negative ? 1 : 0;
  int base = 10;
  if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size() || text.size() - i > 10) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
  }
  return negative ? -value : value;
}

// "[left,top,right,bottom]".
std::optional<std::vector<std::int64_t>> Rectangle(const ByteString& text) {
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  std::vector<std::int64_t> values;
  std::size_t start = 1;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] != ',' && i + 1 != text.size()) continue;
    ByteString part = text.substr(start, i - start);
    while (!part.empty() && part.front() == ' ') part.erase(0, 1);
    while (!part.empty() && part.back() == ' ') part.pop_back();
    std::optional<std::int64_t> value = Integer(part);
    if (!value) return std::nullopt;
    values.push_back(*value);
    start = i + 1;
  }
  if (values.size() != 4) return std::nullopt;
  return values;
}

std::string Entry(const HhpWindow& window, ChmStringTable& strings) {
  std::vector<ByteString> field = window.fields;
  field.resize(kFieldCount);
  std::uint32_t valid = 0;
  auto number = [&](Field which, std::uint32_t flag) -> std::uint32_t {
    std::optional<std::int64_t> value = Integer(field[which]);
    if (!value) return 0;
    valid |= flag;
    return static_cast<std::uint32_t>(*value);
  };
  std::uint32_t properties = number(kNavigationStyle, kValidProperties);
  std::uint32_t styles = number(kStyle, kValidStyles);
  std::uint32_t extendedStyles = number(kExtendedStyle, kValidExtendedStyles);
  std::vector<std::int64_t> rect = Rectangle(field[kPosition]).value_or(std::vector<std::int64_t>{});
  if (!rect.empty()) valid |= kValidRect;
  std::uint32_t showState = number(kShowState, kValidShowState);
  std::uint32_t navigationWidth = number(kNavigationWidth, kValidNavigationWidth);
  std::uint32_t buttons = number(kButtons, kValidButtons);
  std::uint32_t closed = number(kNavigationClosed, kValidExpansion);
  std::uint32_t pane = number(kDefaultPane, kValidCurrentTab);
  std::uint32_t panePosition = number(kPanePosition, kValidTabPosition);
  std::uint32_t notifyId = number(kNotifyId, 0);

  std::string out;
  AppendU32(out, kEntrySize);
  AppendU32(out, 0);  // ANSI texts
  AppendU32(out, strings.Add(window.name));
  AppendU32(out, valid);
  AppendU32(out, properties);
  AppendU32(out, strings.Add(field[kCaption]));
  AppendU32(out, styles);
  AppendU32(out, extendedStyles);
  for (int i = 0; i < 4; ++i) AppendU32(out, rect.empty() ? 0 : static_cast<std::uint32_t>(rect[i]));
  AppendU32(out, showState);
  for (int i = 0; i < 6; ++i) AppendU32(out, 0);  // window handles and information types: run time only
  AppendU32(out, navigationWidth);
  for (int i = 0; i < 4; ++i) AppendU32(out, 0);  // rcHTML
  AppendU32(out, strings.Add(field[kContents]));
  AppendU32(out, strings.Add(field[kIndex]));
  AppendU32(out, strings.Add(field[kDefaultFile]));
  AppendU32(out, strings.Add(field[kHome]));
  AppendU32(out, buttons);
  AppendU32(out, closed);
  AppendU32(out, pane);
  AppendU32(out, panePosition);
  AppendU32(out, notifyId);
  out.append(20, '\0');  // tab order
  AppendU32(out, 0);     // history count
  AppendU32(out, strings.Add(field[kJump1Text]));
  AppendU32(out, strings.Add(field[kJump2Text]));
  AppendU32(out, strings.Add(field[kJump1Url]));
  AppendU32(out, strings.Add(field[kJump2Url]));
  for (int i = 0; i < 4; ++i) AppendU32(out, 0);  // minimum size
  AppendU32(out, 0);                              // information types
  AppendU32(out, 0);                              // custom tabs
  return out;
}

}  // namespace

std::string WindowsFile(const std::vector<HhpWindow>& windows, ChmStringTable& strings) {
  std::string out;
  AppendU32(out, static_cast<std::uint32_t>(windows.size()));
  AppendU32(out, kEntrySize);
  for (const HhpWindow& window : windows) out += Entry(window, strings);
  return out;
}

}  // namespace quorvex
