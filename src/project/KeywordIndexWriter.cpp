#include "project/KeywordIndexWriter.h"

#include "base/Texts.h"
#include "project/HelpProjectWriter.h"

namespace quorvex {
namespace {

// One entry: `indent` tabs before the object lines, one more inside it.
void AddEntry(StringList& lines, const ByteString& indent, const ByteString& keyword, const ByteString& page) {
  const ByteString inner = indent + "\t";
  lines.Add(indent + "<LI> <OBJECT type=\"text/sitemap\">");
  lines.Add(inner + "<param name=\"Keyword\" value=\"" + keyword + "\">");
  if (!page.empty()) {
    lines.Add(inner + "<param name=\"Name\" value=\"" + keyword + "\">");
    lines.Add(inner + "<param name=\"Local\" value=\"html/" + page + "\">");
  } else {
    // A heading without a page of its own refers to its own keyword.
    lines.Add(inner + "<param name=\"See Also\" value=\"" + keyword + "\">");
  }
  lines.Add(inner + "</OBJECT>");
}

}  // namespace

void WriteKeywordIndex(ConversionJob& job) {
  if (job.IndexKeywords.Empty()) return;
  job.ReportStatus(kStatusIndex);
  job.HasIndex = true;
  for (const ByteString& page : job.IndexPages) {
    int found = job.PopupPages.IndexOf(page);
    if (found >= 0) job.PopupPages.Delete(found);
  }

  StringList lines{"<HTML>", "<!-- Sitemap 1.0 -->", "<OBJECT type=\"text/site properties\">", "</OBJECT>", "<UL>"};
  bool inSecondLevel = false;
  for (int i = 0; i < job.IndexKeywords.Count(); ++i) {
    const ByteString& entry = job.IndexKeywords[i];
    if (entry.empty()) continue;
    const ByteString& page = job.IndexPages[i];
    if (entry[0] == ' ') {
      if (!inSecondLevel) lines.Add("\t<UL>");
      inSecondLevel = true;
      AddEntry(lines, "\t\t", entry.substr(std::min<std::size_t>(2, entry.size())), page);
    } else {
      if (inSecondLevel) lines.Add("\t</UL>");
      inSecondLevel = false;
      AddEntry(lines, "\t", entry, page);
    }
  }
  if (inSecondLevel) lines.Add("\t</UL>");
  lines.Add("</UL></HTML>");
  lines.SaveToFile(job.OutputFolder + ProjectBaseName(job) + ".hhk", job.OutputFolder);
}

}  // namespace quorvex
