#include "document/DocumentPopups.h"

#include "document/TextOutput.h"

namespace quorvex {
namespace {

DocText VisibleText(const Paragraph& paragraph) {
  DocText text;
  for (const Inline& piece : paragraph.Inlines) {
    switch (piece.Kind) {
      case InlineKind::Text:
        if (!piece.Format.Hidden) text += piece.Text;
        break;
      case InlineKind::Tab: text += U' '; break;
      case InlineKind::LineBreak: text += U'\n'; break;
      case InlineKind::Button: text += piece.Text; break;
      default: break;
    }
  }
  return text;
}

}  // namespace

ByteString TopicPopupText(const Topic& topic) {
  std::vector<ByteString> paragraphs;
  for (const Paragraph& paragraph : topic.Paragraphs) {
    DocText text = TrimBlanks(VisibleText(paragraph));
    ByteString line;
    std::size_t start = 0;
    for (;;) {  // a line break inside the paragraph is a paragraph mark too
      std::size_t end = text.find(U'\n', start);
      line += ScriptText(std::u32string_view(text).substr(start, end == DocText::npos ? DocText::npos : end - start));
      if (end == DocText::npos) break;
      line += "\\n";
      start = end + 1;
    }
    paragraphs.push_back(line);
  }
  while (!paragraphs.empty() && paragraphs.back().empty()) paragraphs.pop_back();
  std::size_t first = 0;
  while (first < paragraphs.size() && paragraphs[first].empty()) ++first;
  ByteString joined;
  for (std::size_t i = first; i < paragraphs.size(); ++i) {
    if (i > first) joined += "\\n";
    joined += paragraphs[i];
  }
  return joined;
}

std::optional<ByteString> DocumentPopups::PopupText(ConversionJob& job, const ByteString& context) {
  const TopicRef* ref = set_.FindContext(context);
  if (!ref) return std::nullopt;
  const ByteString& page = set_.Entry(*ref).Page;
  if (job.PopupPages.IndexOf(page) < 0) job.PopupPages.Add(page);
  return TopicPopupText(set_.TopicOf(*ref));
}

}  // namespace quorvex
