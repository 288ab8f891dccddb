#include "document/DocumentLinks.h"

#include <algorithm>

#include "base/Files.h"
#include "document/TextOutput.h"
#include "project/HelpProjectWriter.h"
#include "project/ProjectReader.h"
#include "project/SourceFiles.h"
#include "project/TopicLinks.h"
#include "topics/ExternalLinks.h"
#include "topics/JumpLinks.h"
#include "topics/PageFrame.h"
#include "topics/PopupLinks.h"

namespace quorvex {
namespace {

bool IsMacro(const DocText& name, std::initializer_list<const char*> names) {
  ByteString lower = LowerCase(PlainText(name));
  for (const char* candidate : names) {
    if (lower == candidate) return true;
  }
  return false;
}

// The context argument of JumpId/PopupId ("file.hlp", "ctx"), or the only
// argument; "ctx@file.hlp" when the file is named (a window after ">" dropped).
ByteString ContextArgument(const std::vector<DocText>& arguments) {
  if (arguments.empty()) return ByteString();
  if (arguments.size() < 2) return PlainText(arguments[0]);
  const ByteString context = PlainText(arguments[1]);
  ByteString file = PlainText(TrimBlanks(arguments[0]));
  file = Trimmed(file.substr(0, file.find('>')));
  // WinHelp's qchPath stands for the help file itself.
  if (file.empty() || context.empty() || SameText(file, "qchPath")) return context;
  return context + "@" + file;
}

}  // namespace

ByteString UrlHref(const ByteString& url) {
  ByteString out;
  for (std::size_t i = 0; i < url.size(); i += CharLength(url, i)) {
    if (url[i] == '&') {
      out += "&amp;";
    } else if (url[i] == '"') {
      out += "%22";
    } else {
      out.append(url, i, CharLength(url, i));
    }
  }
  return out;
}

void DocumentLinks::Warn(const ByteString& what) {
  if (warned_.insert(what).second) job_.Warn(file_.Path, what);
}

std::optional<ByteString> DocumentLinks::Hotspot(TopicPage& page, const DocText& target, bool jump) {
  HotspotTarget parsed = ParseTarget(target);
  if (parsed.IsMacro) return Macro(page, parsed);
  const ByteString context = PlainText(parsed.Context);
  if (context.empty()) return std::nullopt;
  if (!parsed.File.empty()) return Jump(context + "@" + PlainText(parsed.File));
  return jump ? Jump(context) : Popup(page, context);
}

std::optional<ByteString> DocumentLinks::Url(const ByteString& url) {
  std::optional<ByteString> href = ExternalHref(job_, url, file_.Path);
  if (!href) return std::nullopt;
  return UrlHref(*href);
}

std::optional<ByteString> DocumentLinks::Button(TopicPage& page, const DocText& macro) {
  DocText target = TrimBlanks(macro);
  if (target.empty()) return std::nullopt;
  if (target[0] != U'!') target.insert(target.begin(), U'!');
  return Macro(page, ParseTarget(target));
}

std::optional<ByteString> DocumentLinks::Jump(const ByteString& context) {
  TopicLink link = ResolveTopic(job_, context);
  if (!link.Chm.empty()) {
    // A topic of another help: a link into its compiled help beside this one
    // (a popup of another help opens its page, as HTML Help has no such popup).
    if (ByteString problem = OtherHelpProblem(link); !problem.empty()) Warn("link to " + context + " " + problem);
    return link.Href();
  }
  if (!link.Indexed && !set_.IsTaken(link.Page)) {
    Warn("jump to unknown topic " + context + " left as text");
    return std::nullopt;
  }
  return AddJumpLink(job_, context);
}

std::optional<ByteString> DocumentLinks::Popup(TopicPage& page, const ByteString& context) {
  const ByteString topic = ResolveAlias(job_, context);
  if (!set_.FindContext(topic) && !FileExists(TopicFilePath(job_, topic + ".rtf"))) {
    Warn("popup of unknown topic " + context + " left as text");
    return std::nullopt;
  }
  return PopupHref(AddPopupLink(page, context));
}

std::optional<ByteString> DocumentLinks::Macro(TopicPage& page, const HotspotTarget& target) {
  const DocText& name = target.MacroName;
  if (IsMacro(name, {"ji", "jumpid", "jumphash"})) {
    ByteString context = ContextArgument(target.Arguments);
    return context.empty() ? std::nullopt : Jump(context);
  }
  if (IsMacro(name, {"pi", "popupid", "popuphash"})) {
    ByteString context = ContextArgument(target.Arguments);
    if (context.find('@') != ByteString::npos) return Jump(context);
    return context.empty() ? std::nullopt : Popup(page, context);
  }
  if (IsMacro(name, {"ef", "execfile", "shellexecute"}) && !target.Arguments.empty()) {
    return Url(PlainText(target.Arguments[0]));
  }
  if (IsMacro(name, {"al", "alink"})) return KeywordLink(target.Arguments, true);
  if (IsMacro(name, {"kl", "klink"})) return KeywordLink(target.Arguments, false);
  if (IsMacro(name, {"jumpcontents", "contents"})) {
    ByteString page = job_.ContentsTopic.empty() ? set_.FirstPage : ByteString();
    if (page.empty()) return Jump(job_.ContentsTopic);
    if (job_.JumpPages.IndexOf(page) < 0) job_.JumpPages.Add(page);
    return page;
  }
  return std::nullopt;  // macros of the WinHelp viewer itself have no counterpart on a page
}

std::optional<ByteString> DocumentLinks::KeywordLink(const std::vector<DocText>& arguments, bool alink) {
  if (arguments.empty()) return std::nullopt;
  std::vector<TopicRef> topics;
  ByteString keywords;
  std::size_t start = 0;
  const DocText& list = arguments[0];
  while (start <= list.size()) {
    std::size_t end = list.find(U';', start);
    if (end == DocText::npos) end = list.size();
    ByteString keyword = PlainText(TrimBlanks(std::u32string_view(list).substr(start, end - start)));
    if (!keyword.empty()) {
      if (!keywords.empty()) keywords += ";";
      keywords += keyword;
      if (const std::vector<TopicRef>* found = set_.FindKeyword(keyword, alink)) {
        for (const TopicRef& ref : *found) {
          bool known = false;
          for (const TopicRef& have : topics) known = known || (have.File == ref.File && have.Topic == ref.Topic);
          if (!known) topics.push_back(ref);
        }
      }
    }
    start = end + 1;
  }
  if (topics.empty()) {
    Warn(ByteString(alink ? "ALink" : "KLink") + " finds no topic for " + keywords + "; left as text");
    return std::nullopt;
  }
  ByteString page = topics.size() == 1 ? set_.Entry(topics[0]).Page : ListPage(keywords, topics, alink);
  if (job_.JumpPages.IndexOf(page) < 0) job_.JumpPages.Add(page);
  return page;
}

// A page listing the topics a keyword link finds, by title, as WinHelp's
// "Topics Found" box does. One page per set of keywords.
ByteString DocumentLinks::ListPage(const ByteString& keywords, const std::vector<TopicRef>& topics, bool alink) {
  const ByteString key = ByteString(alink ? "a:" : "k:") + LowerCase(keywords);
  auto found = set_.ListPages.find(key);
  if (found != set_.ListPages.end()) return found->second;
  bool collided = false;
  ByteString page = set_.ClaimPage(ByteString(alink ? "alink_" : "klink_") + DecimalText(static_cast<long long>(set_.ListPages.size() + 1)), collided);
  set_.ListPages.emplace(key, page);

  std::vector<std::pair<ByteString, ByteString>> entries;  // title, page
  for (const TopicRef& ref : topics) {
    const TopicEntry& entry = set_.Entry(ref);
    entries.emplace_back(entry.Title.empty() ? ChangeFileExt(entry.Page, "") : entry.Title, entry.Page);
  }
  std::stable_sort(entries.begin(), entries.end());
  StringList lines = PageFrame(job_);
  lines.Insert(kPopupBlockLine, "<title>" + HtmlBytes(keywords) + "</title>");
  lines.Add("<ul>");
  for (const auto& [title, target] : entries) {
    lines.Add("<li><a href=\"" + target + "\">" + title + "</a>");
    if (job_.JumpPages.IndexOf(target) < 0) job_.JumpPages.Add(target);
  }
  lines.Add("</ul>");
  lines.Add("</body></html>");
  lines.SaveToFile(job_.OutputFolder + "html\\" + page, job_.OutputFolder);
  return page;
}

}  // namespace quorvex
