#include "document/DocumentPages.h"

#include "document/DocumentLinks.h"
#include "document/InlineHtml.h"
#include "document/TextOutput.h"
#include "topics/Keywords.h"
#include "topics/PageFrame.h"

namespace quorvex {
namespace {

// Progress is reported this often on files of many topics.
constexpr std::size_t kProgressStep = 500;

// The body of one topic's page, block by block: the non-scrolling region,
// lists, indented blocks, tables, headings and centred paragraphs.
class BodyBuilder {
 public:
  BodyBuilder(const DocumentFile& file, InlineHtml& html) : file_(file), html_(html) {}

  StringList Build(const Topic& topic) {
    const std::vector<Paragraph>& paragraphs = topic.Paragraphs;
    std::size_t region = 0;
    while (region < paragraphs.size() && paragraphs[region].Format.KeepNext && !paragraphs[region].Format.InTable) {
      ++region;
    }
    for (std::size_t i = 0; i < region; ++i) {
      lines_.Add(html_.Paragraph(paragraphs[i], true) + (i + 1 < region ? "<br>" : ""));
    }
    if (region > 0) lines_.Add("<hr>");
    for (std::size_t i = region; i < paragraphs.size(); ++i) Add(paragraphs[i]);
    CloseTable();
    CloseBlocks();
    return lines_;
  }

 private:
  void Add(const Paragraph& paragraph) {
    if (paragraph.Format.InTable) {
      AddToTable(paragraph);
      return;
    }
    CloseTable();
    const ByteString content = html_.Paragraph(paragraph, false);
    if (paragraph.List != ListKind::None) {
      const char* list = paragraph.List == ListKind::Bullet ? "ul" : "ol";
      if (list_ != list) {
        CloseBlocks();
        lines_.Add(ByteString("<") + list + ">");
        list_ = list;
      }
      lines_.Add("<li>" + content);
      return;
    }
    if (IsHeading(paragraph)) {
      CloseBlocks();
      lines_.Add("<h5>" + content + "</h5>");
    } else if (paragraph.Format.Centered) {
      CloseBlocks();
      lines_.Add("<div align=center>" + content + "</div>");
    } else if (paragraph.Format.LeftIndent > 0) {
      if (list_ != "menu") {
        CloseBlocks();
        lines_.Add("<menu>");
        list_ = "menu";
      }
      lines_.Add(content + "<br>");
    } else {
      CloseBlocks();
      lines_.Add(content + "<br>");
    }
  }

  bool IsHeading(const Paragraph& paragraph) const {
    auto style = file_.Document.Styles.find(paragraph.Format.Style);
    return style != file_.Document.Styles.end() && style->second.Heading;
  }

  void AddToTable(const Paragraph& paragraph) {
    if (!inTable_) {
      CloseBlocks();
      lines_.Add(paragraph.TableBorders ? "<table border=1>" : "<table>");
      inTable_ = true;
    }
    const ByteString content = html_.Paragraph(paragraph, false);
    switch (paragraph.End) {
      case ParagraphEnd::Cell:
        cell_ += content;
        cells_.push_back(cell_);
        cell_.clear();
        break;
      case ParagraphEnd::Row:
        cell_ += content;
        EndRow(paragraph.Cells);
        break;
      case ParagraphEnd::Paragraph:
        cell_ += content + "<br>";
        break;
    }
  }

  // A cell's width, where the row gives one: twips as pixels at 96 per inch, or a percentage.
  static ByteString WidthAttr(const CellWidths& widths, std::size_t cell) {
    if (cell >= widths.Widths.size() || widths.Widths[cell] <= 0) return ByteString();
    const int width = widths.Widths[cell];
    return " width=" + (widths.Percent ? DecimalText(width) + "%" : DecimalText((width + 7) / 15));
  }

  void EndRow(const CellWidths& widths = CellWidths()) {
    if (!cell_.empty()) cells_.push_back(cell_);
    ByteString row;
    for (std::size_t i = 0; i < cells_.size(); ++i) row += "<td" + WidthAttr(widths, i) + ">" + cells_[i] + "</td>";
    if (!row.empty()) lines_.Add("<tr>" + row + "</tr>");
    cells_.clear();
    cell_.clear();
  }

  void CloseTable() {
    if (!inTable_) return;
    EndRow();
    lines_.Add("</table>");
    inTable_ = false;
  }

  void CloseBlocks() {
    if (!list_.empty()) lines_.Add("</" + list_ + ">");
    list_.clear();
  }

  const DocumentFile& file_;
  InlineHtml& html_;
  StringList lines_;
  ByteString list_;  // "ul", "ol", "menu" or empty
  bool inTable_ = false;
  std::vector<ByteString> cells_;  // the cells of the row so far
  ByteString cell_;
};

// "K" footnotes into the index: ";" separates entries, "," (or, in an entry
// without one, ":") the second level; blanks around each level go.
void IndexKeywords(ConversionJob& job, const DocText& keywords, const ByteString& page) {
  std::size_t start = 0;
  while (start <= keywords.size()) {
    std::size_t end = keywords.find(U';', start);
    if (end == DocText::npos) end = keywords.size();
    DocText entry = TrimBlanks(std::u32string_view(keywords).substr(start, end - start));
    start = end + 1;
    if (entry.empty()) continue;
    std::size_t split = entry.find(U',');
    if (split == DocText::npos) split = entry.find(U':');
    if (split == DocText::npos) {
      AddIndexEntry(job, HtmlText(entry), std::nullopt, page);
    } else {
      DocText first = TrimBlanks(std::u32string_view(entry).substr(0, split));
      DocText second = TrimBlanks(std::u32string_view(entry).substr(split + 1));
      if (first.empty()) continue;
      if (second.empty()) {
        AddIndexEntry(job, HtmlText(first), std::nullopt, page);
      } else {
        AddIndexEntry(job, HtmlText(first), HtmlText(second), page);
      }
    }
  }
}

void WriteTopicPage(ConversionJob& job, DocumentFile& file, std::size_t index, DocumentLinks& links) {
  const Topic& topic = file.Document.Topics[index];
  const TopicEntry& entry = file.Topics[index];
  TopicPage page(job, file.Path);
  job.PageUsesPopupFile = false;
  InlineHtml html(page, file, links);
  StringList lines = PageFrame(job);
  for (const ByteString& line : BodyBuilder(file, html).Build(topic)) lines.Add(line);
  lines.Add("</body></html>");
  if (!entry.Title.empty()) lines.Insert(kPopupBlockLine, "<title>" + entry.Title + "</title>");
  InsertLines(lines, kPopupBlockLine, PopupBlock(page));
  for (const DocText& keywords : entry.Keywords) IndexKeywords(job, keywords, entry.Page);
  lines.SaveToFile(job.OutputFolder + "html\\" + entry.Page, job.OutputFolder);
  job.WrittenPages.push_back(entry.Page);
  job.Advance();
}

}  // namespace

void WriteDocumentPages(ConversionJob& job, DocumentSet& set, DocumentFile& file) {
  job.ReportStatus(file.Entry);
  job.ProcessPendingEvents();
  DocumentLinks links(job, set, file);
  const std::size_t count = file.Document.Topics.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && i % kProgressStep == 0) {
      job.ReportStatus(file.Entry + " (" + DecimalText(static_cast<long long>(i)) + "/" +
                       DecimalText(static_cast<long long>(count)) + ")");
      job.ProcessPendingEvents();
    }
    WriteTopicPage(job, file, i, links);
  }
}

}  // namespace quorvex
