#include "convert/Driver.h"

#include "base/Files.h"
#include "project/ContentsConverter.h"
#include "project/HelpProjectWriter.h"
#include "project/KeywordIndexWriter.h"
#include "project/NameMap.h"
#include "project/ProjectReader.h"
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
  job.CombinePopups = host.CombinePopupsChecked();
  ReadProject(job);
  LoadNameMap(job);
  ForceDirectories(job.OutputFolder + "img");
  ForceDirectories(job.OutputFolder + "html");
  WriteStyleSheet(job, job.OutputFolder + "html\\help.css");
  ConvertTopics(job);
  WriteHelpProject(job);
  if (job.WebHelp) WriteWebHelp(job);
}

void ConvertTopics(ConversionJob& job) {
  // The count is taken once: the topics pass never adds project files.
  const int count = job.ProjectFiles.Count();
  for (int i = 0; i < count; ++i) ConvertTopicFile(job, job.ProjectFiles[i]);
  WritePopupFile(job);
  ConvertContents(job);
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
