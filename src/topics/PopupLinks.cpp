#include "topics/PopupLinks.h"

#include "project/SourceFiles.h"
#include "project/TopicLinks.h"
#include "topics/PopupText.h"
#include "topics/ScriptString.h"

namespace quorvex {

ByteString PopupHref(int number) {
  return "JavaScript:popup.TextPopup(pop" + DecimalText(number) + ",popfont,9,9,-1,-1)";
}

ByteString PopupScriptLine(int number, std::string_view text) {
  return "pop" + DecimalText(number) + "=\"" + EscapeScriptString(text) + "\"";
}

namespace {

// A topic inside a document, else the topic file of that name.
ByteString PopupTextOf(ConversionJob& job, const ByteString& topic) {
  if (job.Documents) {
    if (std::optional<ByteString> text = job.Documents->PopupText(job, topic)) return *text;
  }
  return ReadPopupText(job, TopicFilePath(job, topic + ".rtf"));
}

}  // namespace

int AddPopupLink(TopicPage& page, const ByteString& target) {
  ConversionJob& job = page.Job;
  const ByteString topic = ResolveAlias(job, target);
  if (job.CombinePopups) {
    job.PageUsesPopupFile = true;
    int found = job.PopupTopics.IndexOf(topic);
    if (found >= 0) return found + 1;
    job.PopupTopics.Add(topic);
    int number = job.PopupTopics.Count();
    job.PopupLines.Add(PopupScriptLine(number, PopupTextOf(job, topic)));
    return number;
  }
  int number = page.PopupLines.Count() + 1;
  page.PopupLines.Add(PopupScriptLine(number, PopupTextOf(job, topic)));
  return number;
}

}  // namespace quorvex
