#include "convert/Driver.h"

#include <unordered_set>

#include "base/Files.h"
#include "document/CompiledHelpDocument.h"
#include "document/DocumentPages.h"
#include "document/DocumentPopups.h"
#include "document/DocumentSet.h"
#include "project/ContentsConverter.h"
#include "project/HelpProjectWriter.h"
#include "project/KeywordIndexWriter.h"
#include "project/NameMap.h"
#include "project/ProjectReader.h"
#include "project/SourceFiles.h"
#include "project/StyleSheet.h"
#include "topics/TopicConverter.h"
#include "web/WebHelpWriter.h"

namespace quorvex {

void ChooseProject(ConversionJob& job, const ByteString& projectPath) {
  job.ProjectPath = projectPath;
  job.ProjectFolder = ExtractFilePath(projectPath);
}

void ChooseOutputFolder(ConversionJob& job, const ByteString& folder) { job.OutputFolder = folder + "\\"; }


namespace {

void ReadProjectInput(ConversionJob& job, int codePage, DocumentSet& documents) {
  ReadProject(job);
  if (codePage != 0) job.CodePage = codePage;
  SetNameCodePage(job.CodePage);
  LoadNameMap(job);
  ReadDocuments(job, documents);
  SetNameCodePage(job.CodePage);  // the documents may have told it
}

void ReadCompiledHelpInput(ConversionJob& job, std::string_view data, int codePage, DocumentSet& documents) {
  ClearProject(job);
  documents.TopicOrder = ReadCompiledHelpDocument(job, data, codePage, documents);
  documents.FromCompiledHelp = true;
  SetNameCodePage(job.CodePage);
  LoadNameMap(job);
}

}  // namespace

void ReadHelp(ConversionJob& job, ConversionHost& host, DocumentSet& documents) {
  ForgetFoundFolders();
  job.CombinePopups = host.CombinePopupsChecked();
  job.KeepGoing = host.KeepGoing();
  // A compiled help is known by its magic number, whatever it is called.
  const ByteString data = ReadFile(job.ProjectPath);
  if (IsCompiledHelpData(data)) {
    ReadCompiledHelpInput(job, data, host.CodePageOption(), documents);
  } else {
    ReadProjectInput(job, host.CodePageOption(), documents);
  }
  // Every document is read and indexed before any page is written, so that
  // jumps into later files (and from other helps of the run) find their pages.
  IndexDocuments(job, documents);
}

void WriteHelp(ConversionJob& job, DocumentSet& documents) {
  ForgetFoundFolders();
  SetNameCodePage(job.CodePage);
  ForceDirectories(job.OutputFolder + "img");
  ForceDirectories(job.OutputFolder + "html");
  WriteStyleSheet(job, job.OutputFolder + "html\\help.css");
  ConvertTopics(job, documents);
  if (job.WrittenPages.empty()) {
    job.Warn(job.ProjectPath, job.ProjectFiles.Empty() ? "the project lists no topic files: the help is empty"
                                                       : "none of the topic files was converted: the help is empty");
  }
  WriteHelpProject(job);
  if (job.WebHelp) WriteWebHelp(job);
}

ConversionScope::ConversionScope(ConversionJob& job, ConversionHost& host) : job_(job), host_(host), previous_(job.Status) {
  host_.SetBusyCursor(true);
  job_.Status = &host_;
}

ConversionScope::~ConversionScope() {
  host_.SetBusyCursor(false);
  host_.SetStatus("");
  job_.Status = previous_;
}

void RunConversion(ConversionJob& job, ConversionHost& host) {
  ConversionScope scope(job, host);
  DocumentSet documents;
  ReadHelp(job, host, documents);
  WriteHelp(job, documents);
}

namespace {

// Lends the documents' popup texts to the topics pass, and takes them back however it ends.
class DocumentsLent {
 public:
  DocumentsLent(ConversionJob& job, TopicTexts& texts) : job_(job) { job_.Documents = &texts; }
  ~DocumentsLent() { job_.Documents = nullptr; }
  DocumentsLent(const DocumentsLent&) = delete;
  DocumentsLent& operator=(const DocumentsLent&) = delete;

 private:
  ConversionJob& job_;
};

}  // namespace

namespace {

// The pages and pictures the topics pass will write: every topic and every
// picture of a document, one page for each other topic file.
long ExpectedWork(const ConversionJob& job, DocumentSet& documents) {
  long work = 0;
  std::unordered_set<const DocumentFile*> counted;
  for (const ByteString& entry : job.ProjectFiles) {
    const DocumentFile* file = documents.Find(entry);
    if (!file) {
      ++work;
      continue;
    }
    if (!counted.insert(file).second) continue;
    for (const Topic& topic : file->Document.Topics) {
      ++work;
      for (const Paragraph& paragraph : topic.Paragraphs) {
        for (const Inline& piece : paragraph.Inlines) {
          work += piece.Kind == InlineKind::Picture || piece.Kind == InlineKind::PictureRef;
        }
      }
    }
  }
  return work;
}

}  // namespace

void ConvertTopics(ConversionJob& job, DocumentSet& documents) {
  job.ProgressDone = 0;
  job.ProgressTotal = ExpectedWork(job, documents);
  DocumentPopups popups(documents);
  DocumentsLent lent(job, popups);

  // The count is taken once: the topics pass never adds project files.
  const int count = job.ProjectFiles.Count();
  std::unordered_set<const DocumentFile*> written;
  for (int i = 0; i < count; ++i) {
    const ByteString& entry = job.ProjectFiles[i];
    if (DocumentFile* file = documents.Find(entry)) {
      if (written.insert(file).second) WriteDocumentPages(job, documents, *file);
      continue;
    }
    if (job.KeepGoing && !FileExists(TopicFilePath(job, entry))) {
      job.Warn(TopicFilePath(job, entry), "topic file not found; it gets no page");
      job.Advance();
      continue;
    }
    ConvertTopicFile(job, entry);
    job.Advance();
  }
  WritePopupFile(job);
  ConvertContents(job);
  if (!job.HasContents && documents.FromCompiledHelp) WriteTopicContents(job, documents, documents.TopicOrder);
  WriteKeywordIndex(job);
  DeleteUnreachedPopupPages(job);
}

void DeleteUnreachedPopupPages(ConversionJob& job) {
  for (const ByteString& page : job.JumpPages) {
    int found = job.PopupPages.IndexOf(page);
    if (found >= 0) job.PopupPages.Delete(found);
  }
  for (const ByteString& page : job.PopupPages) {
    DeleteFileInside(job.OutputFolder, job.OutputFolder + "html\\" + page);  // failures are left alone
  }
}

}  // namespace quorvex
