#include "convert/Driver.h"

#include <functional>
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

// Puts the cursor and the status label back however the conversion ends.
class ConversionScope {
 public:
  ConversionScope(ConversionJob& job, ConversionHost& host) : job_(job), host_(host), previous_(job.Status) {
    host_.SetBusyCursor(true);
    job_.Status = &host_;
  }
  ~ConversionScope() {
    host_.SetBusyCursor(false);
    host_.SetStatus("");
    job_.Status = previous_;
  }
  ConversionScope(const ConversionScope&) = delete;
  ConversionScope& operator=(const ConversionScope&) = delete;

 private:
  ConversionJob& job_;
  ConversionHost& host_;
  StatusSink* previous_;
};

}  // namespace

void RunConversion(ConversionJob& job, ConversionHost& host) {
  ConversionScope scope(job, host);
  ForgetFoundFolders();
  job.CombinePopups = host.CombinePopupsChecked();
  job.KeepGoing = host.KeepGoing();
  ConvertInput(job, host.CodePageOption());
  WriteHelpProject(job);
  if (job.WebHelp) WriteWebHelp(job);
}

namespace {

void PrepareOutputFolder(ConversionJob& job) {
  ForceDirectories(job.OutputFolder + "img");
  ForceDirectories(job.OutputFolder + "html");
  WriteStyleSheet(job, job.OutputFolder + "html\\help.css");
}

void ConvertProject(ConversionJob& job, int codePage) {
  ReadProject(job);
  if (codePage != 0) job.CodePage = codePage;
  LoadNameMap(job);
  PrepareOutputFolder(job);
  ConvertTopics(job);
}

void ConvertCompiledHelp(ConversionJob& job, std::string_view data, int codePage) {
  ClearProject(job);
  DocumentSet documents;
  const std::vector<std::size_t> order = ReadCompiledHelpDocument(job, data, codePage, documents);
  LoadNameMap(job);
  PrepareOutputFolder(job);
  ConvertDocuments(job, documents, [&] { WriteTopicContents(job, documents, order); });
}

}  // namespace

void ConvertInput(ConversionJob& job, int codePage) {
  const ByteString data = ReadFile(job.ProjectPath);
  if (IsCompiledHelpData(data)) {
    ConvertCompiledHelp(job, data, codePage);
  } else {
    ConvertProject(job, codePage);
  }
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

void ConvertTopics(ConversionJob& job) {
  DocumentSet documents;
  ReadDocuments(job, documents);
  ConvertDocuments(job, documents, nullptr);
}

void ConvertDocuments(ConversionJob& job, DocumentSet& documents, const std::function<void()>& contentsWithoutFile) {
  // Every document is read and indexed before any page is written, so that
  // jumps into later files find their pages.
  IndexDocuments(job, documents);
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
      continue;
    }
    ConvertTopicFile(job, entry);
  }
  WritePopupFile(job);
  ConvertContents(job);
  if (!job.HasContents && contentsWithoutFile) contentsWithoutFile();
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
