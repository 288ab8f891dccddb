#include "document/DocumentSet.h"

#include "base/Errors.h"
#include "base/Files.h"
#include "document/TextOutput.h"
#include "project/NameMap.h"
#include "project/SourceFiles.h"
#include "rtf/DocumentForm.h"
#include "rtf/RtfReader.h"

namespace quorvex {
namespace {

// The ";"-separated entries of a keyword footnote, and the first level of each.
std::vector<ByteString> KeywordKeys(const DocText& footnote) {
  std::vector<ByteString> keys;
  std::size_t start = 0;
  while (start <= footnote.size()) {
    std::size_t end = footnote.find(U';', start);
    if (end == DocText::npos) end = footnote.size();
    DocText entry = TrimBlanks(std::u32string_view(footnote).substr(start, end - start));
    if (!entry.empty()) {
      keys.push_back(LowerCase(PlainText(entry)));
      std::size_t comma = entry.find(U',');
      if (comma == DocText::npos) comma = entry.find(U':');  // the index reads ":" as a second level too
      if (comma != DocText::npos) keys.push_back(LowerCase(PlainText(TrimBlanks(std::u32string_view(entry).substr(0, comma)))));
    }
    start = end + 1;
  }
  return keys;
}

}  // namespace

DocumentFile& DocumentSet::Add(DocumentFile file) {
  byEntry_.emplace(LowerCase(file.Entry), Files.size());
  Files.push_back(std::move(file));
  return Files.back();
}

DocumentFile* DocumentSet::Find(const ByteString& entry) {
  auto found = byEntry_.find(LowerCase(entry));
  return found == byEntry_.end() ? nullptr : &Files[found->second];
}

const TopicRef* DocumentSet::FindContext(const ByteString& context) const {
  auto found = contexts_.find(LowerCase(context));
  return found == contexts_.end() ? nullptr : &found->second;
}

const std::vector<TopicRef>* DocumentSet::FindKeyword(const ByteString& keyword, bool alinks) const {
  const auto& map = alinks ? alinks_ : keywords_;
  auto found = map.find(LowerCase(keyword));
  return found == map.end() ? nullptr : &found->second;
}

ByteString DocumentSet::ClaimPage(const ByteString& base, bool& collided) {
  collided = false;
  ByteString page = base + ".html";
  for (int n = 2; takenPages_.count(LowerCase(page)) > 0; ++n) {
    collided = true;
    page = base + "_" + DecimalText(n) + ".html";
  }
  takenPages_.insert(LowerCase(page));
  return page;
}

void ReadDocuments(ConversionJob& job, DocumentSet& set) {
  for (const ByteString& entry : job.ProjectFiles) {
    const ByteString path = TopicFilePath(job, entry);
    if (!FileExists(path) || set.Find(entry)) continue;
    ByteString data;
    try {
      data = ReadFile(path);
    } catch (const Exception&) {
      continue;  // the topic converter reports it in its turn
    }
    if (!IsDocumentForm(data, job.CodePage)) continue;
    DocumentFile file;
    file.Entry = entry;
    file.Path = path;
    file.Name = LowerCase(ChangeFileExt(ExtractFileName(entry), ""));
    file.Document = ReadRtfDocument(data, job.CodePage);
    set.Add(std::move(file));
    // Reading a project's documents can take a while before the first page
    // is written; the window repaints (and may be cancelled) in between.
    job.ProcessPendingEvents();
  }
  // A project file that does not say its code page has the one its documents are written in.
  for (const DocumentFile& file : set.Files) {
    if (job.CodePage != 0) break;
    job.CodePage = file.Document.CodePage;
  }
}

void IndexDocuments(ConversionJob& job, DocumentSet& set) {
  // Pages of one-topic files keep their names; documents' topics get others.
  for (const ByteString& entry : job.ProjectFiles) {
    if (!set.Find(entry)) set.TakePage(PageName(job, ChangeFileExt(entry, "")));
  }
  for (std::size_t f = 0; f < set.Files.size(); ++f) {
    DocumentFile& file = set.Files[f];
    for (std::size_t t = 0; t < file.Document.Topics.size(); ++t) {
      const Topic& topic = file.Document.Topics[t];
      TopicEntry entry;
      for (const Footnote& note : topic.Footnotes) {
        if (note.Text.empty()) continue;
        if (note.Mark == U'#') entry.Contexts.push_back(PlainText(note.Text));
        if (note.Mark == U'$' && entry.Title.empty()) entry.Title = HtmlText(note.Text);
        if (note.Mark == U'K') entry.Keywords.push_back(note.Text);
        if (note.Mark == U'A') entry.ALinks.push_back(note.Text);
      }
      const ByteString number = DecimalText(static_cast<long long>(t + 1));
      const ByteString base = FitForFileName(entry.Contexts.empty() ? file.Name + "_" + number
                                                                    : ChangeFileExt(PageName(job, entry.Contexts[0]), ""));
      bool collided = false;
      entry.Page = set.ClaimPage(base, collided);
      if (entry.Contexts.empty()) {
        job.Warn(file.Path, "topic " + number + " has no context string (#); its page is " + entry.Page);
      } else if (collided) {
        job.Warn(file.Path, "two topics would share the page " + base + ".html; this one is " + entry.Page);
      }

      // Contexts before the topic's text name the page; later ones a place on it.
      std::size_t contextIndex = 0;
      for (const Footnote& note : topic.Footnotes) {
        if (note.Mark != U'#' || note.Text.empty()) continue;
        const ByteString& context = entry.Contexts[contextIndex++];
        TopicPlace place{entry.Page, note.AfterBodyText ? PlainText(note.Text) : ByteString()};
        if (job.Topics.Add(context, place)) {
          set.contexts_.emplace(LowerCase(context), TopicRef{f, t});
        } else {
          job.Warn(file.Path, "the context string " + context + " is defined twice; the first one counts");
        }
      }
      for (const DocText& keywords : entry.Keywords) {
        for (const ByteString& key : KeywordKeys(keywords)) set.keywords_[key].push_back(TopicRef{f, t});
      }
      for (const DocText& keywords : entry.ALinks) {
        for (const ByteString& key : KeywordKeys(keywords)) set.alinks_[key].push_back(TopicRef{f, t});
      }
      file.Topics.push_back(std::move(entry));
    }
  }
  // WinHelp opens the first topic of the first topic file.
  for (const ByteString& entry : job.ProjectFiles) {
    if (const DocumentFile* file = set.Find(entry)) {
      if (file->Topics.empty()) continue;
      set.FirstPage = file->Topics[0].Page;
    } else {
      if (!FileExists(TopicFilePath(job, entry))) continue;
      set.FirstPage = PageName(job, ChangeFileExt(entry, ""));
    }
    break;
  }
}

}  // namespace quorvex
