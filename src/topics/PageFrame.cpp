#include "topics/PageFrame.h"

#include "project/StyleSheet.h"

namespace quorvex {

StringList PageFrame(const ConversionJob& job) {
  return {"<html>",
          "<head>",
          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">",
          "<link rel=\"stylesheet\" type=\"text/css\" href=\"help.css\">",
          "</head>",
          "",
          "<body" + job.BodyColorAttr + ">"};
}

StringList PopupBlock(const TopicPage& page) {
  StringList block{"<object", "id=popup type=\"application/x-oleobject\"",
                   "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">", "</object>"};
  if (!page.Job.CombinePopups && !page.PopupLines.Empty()) {
    block.Add("<script Language=JavaScript>");
    block.Add(PopupFontLine());
    for (const ByteString& line : page.PopupLines) block.Add(line);
    block.Add("</script>");
  } else if (page.Job.CombinePopups && page.Job.PageUsesPopupFile) {
    block.Add("<script Language=JavaScript");
    block.Add("src=\"popup.js\">");
    block.Add("</script>");
  } else {
    block.Clear();
  }
  return block;
}

void InsertLines(StringList& lines, int position, const StringList& inserted) {
  for (const ByteString& line : inserted) lines.Insert(position++, line);
}

}  // namespace quorvex
