// What the window does beyond the classic convert button: its options and
// their keeping, the warnings list, cancelling, the buttons that open the
// results, several helps at once and helps dropped on the window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <functional>

#include "app/MessageList.h"
#include "app/Unit1.h"
#include "app/gui/FolderTree.h"
#include "app/gui/QtPrinting.h"
#include "app/gui/ScriptedDialogs.h"
#include "base/Files.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDialogs;
using test::TempDir;
using test::Tree;

const std::string kExamples = QUORVEX_SOURCE_DIR "/examples";

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QStringList Lines(const MessageList& list) {
  QStringList lines;
  for (int row = 0; row < list.count(); ++row) lines << list.item(row)->text();
  return lines;
}

// The sample project copied into `dir`/project, so that a test can see that
// nothing beside the output folder changes.
QString CopySample(const TempDir& dir) {
  fs::copy(kExamples + "/sample", dir.Native() + "/project", fs::copy_options::recursive);
  return Utf8(dir.Native() + "/project/sample.hpj");
}

// The sample's two warnings, as the list shows them.
QStringList SampleWarnings(const std::string& projectFolder, const std::string& lead = "") {
  return {Utf8("警告: " + lead + projectFolder + "/bmp/missing.bmp: picture not found"),
          Utf8("警告: " + lead + projectFolder +
               "/sample.cnt: the entry 関連ヘルプ leads into other.chm, a help this run does not convert "
               "(other.chm::/html/overview.html)")};
}

void SetOptions(TForm1& form, const WindowOptions& options) {
  form.CheckBox1->setChecked(options.CombinePopups);
  form.CompiledHelpCheckBox->setChecked(options.CompiledHelp);
  form.BrowserHelpCheckBox->setChecked(options.BrowserHelp);
  form.KeepGoingCheckBox->setChecked(options.KeepGoing);
}

// Converts `project` into `dir`/out as a user would: picker, folder, run.
void ConvertInto(TForm1& form, ScriptedDialogs& dialogs, const TempDir& dir, const QString& project,
                 const std::string& folder = "out") {
  dialogs.openAnswer = project;
  dialogs.folderAnswer = Utf8(dir.Native() + "/" + folder);
  form.ToolButton1->click();
}

TEST(WindowOptions, KeptInTheSettingsBetweenWindows) {
  ScriptedDialogs dialogs;
  {
    TForm1 form(dialogs);
    EXPECT_EQ(form.Options(), WindowOptions());  // nothing stored yet: the defaults
    EXPECT_TRUE(form.KeepGoingCheckBox->isChecked());
    EXPECT_FALSE(form.CompiledHelpCheckBox->isChecked());
    EXPECT_FALSE(form.BrowserHelpCheckBox->isChecked());
    EXPECT_EQ(form.CompiledHelpCheckBox->text(), Utf8("コンパイル済みヘルプ (.chm) も作る"));
    EXPECT_EQ(form.BrowserHelpCheckBox->text(), Utf8("ブラウザ用ヘルプも作る"));
    EXPECT_EQ(form.KeepGoingCheckBox->text(), Utf8("見つからないファイルがあっても続ける"));
  }
  const WindowOptions flipped{false, true, true, false};
  for (const WindowOptions& options : {flipped, WindowOptions()}) {
    {
      TForm1 form(dialogs);
      SetOptions(form, options);
    }
    TForm1 next(dialogs);
    EXPECT_EQ(next.Options(), options);
    QSettings settings;
    EXPECT_EQ(LoadWindowOptions(settings), options);
  }
}

// A project whose last topic file is gone: with "go on past missing files"
// the help converts and the list says what was missing; without, it stops.
TEST(WindowOptions, ReachTheConversion) {
  struct Case {
    WindowOptions options;
    bool converts;
  };
  for (const Case& c : {Case{WindowOptions(), true}, Case{{false, false, true, true}, true},
                        Case{{true, false, true, false}, false}}) {
    SCOPED_TRACE(::testing::Message() << c.options.CombinePopups << c.options.BrowserHelp << c.options.KeepGoing);
    TempDir dir;
    const QString project = CopySample(dir);
    fs::remove(dir.Native() + "/project/rtf/hint.rtf");
    ScriptedDialogs dialogs;
    TForm1 form(dialogs);
    SetOptions(form, c.options);
    ConvertInto(form, dialogs, dir, project);

    const std::string hint = dir.Native() + "/project/rtf/hint.rtf";
    EXPECT_EQ(form.Job().CombinePopups, c.options.CombinePopups);
    EXPECT_EQ(form.Job().KeepGoing, c.options.KeepGoing);
    EXPECT_EQ(dir.Exists("out/sample.hhp"), c.converts);
    EXPECT_EQ(dir.Exists("out/web/index.html"), c.converts && c.options.BrowserHelp);
    EXPECT_EQ(dir.Exists("out/html/popup.js"), c.converts && c.options.CombinePopups);
    const QStringList lines = Lines(*form.Messages);
    if (c.converts) {
      EXPECT_TRUE(dialogs.errors.empty());
      EXPECT_TRUE(lines.contains(Utf8("警告: " + hint + ": topic file not found; it gets no page"))) << lines.join(QChar(10)).toStdString();
    } else {
      const QString error = Utf8("ファイル " + hint + " は開けません");
      ASSERT_EQ(dialogs.errors.size(), 1u);
      EXPECT_EQ(dialogs.errors[0], error);
      ASSERT_FALSE(lines.isEmpty());
      EXPECT_EQ(lines.back(), Utf8("エラー: ") + error);
    }
  }
}

TEST(WindowRun, WarningsAreListedAndCanBeCopied) {
  TempDir dir;
  const QString project = CopySample(dir);
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ConvertInto(form, dialogs, dir, project);
  ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors[0].toStdString();
  const QStringList warnings = SampleWarnings(dir.Native() + "/project");
  EXPECT_EQ(Lines(*form.Messages), warnings);
  EXPECT_EQ(form.ProgressBar->value(), form.ProgressBar->maximum());
  EXPECT_EQ(form.ProgressBar->maximum(), 9);  // the sample's nine topic files

  ASSERT_TRUE(form.CopyButton->isEnabled());
  form.CopyButton->click();
  EXPECT_EQ(QApplication::clipboard()->text(), warnings.join('\n') + '\n');
  form.Messages->setFocus();
  form.Messages->item(1)->setSelected(true);
  QTest::keySequence(form.Messages, QKeySequence::Copy);
  EXPECT_EQ(QApplication::clipboard()->text(), warnings[1] + '\n');

  // The next run starts with an empty list.
  dir.Write("empty/empty.hpj", "[OPTIONS]\r\nTITLE=empty\r\n");
  ConvertInto(form, dialogs, dir, Utf8(dir.Native() + "/empty/empty.hpj"), "empty-out");
  EXPECT_EQ(Lines(*form.Messages),
            QStringList{Utf8("警告: " + dir.Native() + "/empty/empty.hpj: the project lists no topic files: the help is empty")});
}

// Sends a drag of `paths` over the window; whether the window would take it.
bool DragIsAccepted(TForm1& form, const QStringList& paths, QMimeData& data) {
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  enter.setAccepted(false);
  QApplication::sendEvent(&form, &enter);
  return enter.isAccepted();
}

// Cancels at the third topic file, from inside the conversion as a user's
// click or key press arrives between two pages.
class CancellingForm : public TForm1 {
 public:
  using TForm1::TForm1;
  std::function<void()> cancel;
  int progressCalls = 0;
  void Progress(long done, long total) override {
    if (++progressCalls == 3 && cancel) {
      EXPECT_TRUE(CancelButton->isEnabled());
      QMimeData data;
      EXPECT_FALSE(DragIsAccepted(*this, {QString::fromStdString(NativePath(Job().ProjectPath))}, data))
          << "a drop would start a second conversion";
      cancel();
    }
    TForm1::Progress(done, total);
  }
};

TEST(WindowRun, ACancelledConversionStaysInItsFolderAndTheNextRunIsComplete) {
  TempDir reference;
  {
    ScriptedDialogs dialogs;
    TForm1 form(dialogs);
    ConvertInto(form, dialogs, reference, CopySample(reference));
  }
  const auto complete = Tree(reference.Native() + "/out");

  for (bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "Escape" : "cancel button");
    TempDir dir;
    const QString project = CopySample(dir);
    const auto before = Tree(dir.Native());
    ScriptedDialogs dialogs;
    CancellingForm form(dialogs);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.cancel = [&] {
      if (byKey) {
        QTest::keyClick(&form, Qt::Key_Escape);
      } else {
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
      }
    };
    ConvertInto(form, dialogs, dir, project);

    EXPECT_TRUE(form.LastOutcome().Cancelled);
    EXPECT_EQ(form.progressCalls, 3) << "pages were written after the cancel";
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(Lines(*form.Messages).back(), Utf8("変換を中止しました"));
    EXPECT_EQ(form.ProgressBar->value(), 0);
    EXPECT_FALSE(form.Converting());
    EXPECT_FALSE(form.CancelButton->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form.Label1->text(), "");
    EXPECT_EQ(Tree(dir.Native(), "out"), before) << "something outside the output folder changed";
    EXPECT_TRUE(dir.Exists("out/html/help.css"));
    EXPECT_FALSE(dir.Exists("out/sample.hhp"));
    EXPECT_TRUE(form.OpenFolderButton->isEnabled());  // what was written so far can be looked at

    // Into the same folder again: everything the cancelled run left is
    // replaced or cleaned up, and the result is the complete conversion.
    form.cancel = nullptr;
    ConvertInto(form, dialogs, dir, project);
    EXPECT_FALSE(form.LastOutcome().Cancelled);
    EXPECT_EQ(Tree(dir.Native() + "/out"), complete);
    EXPECT_EQ(Lines(*form.Messages), SampleWarnings(dir.Native() + "/project"));
  }
}

TEST(WindowRun, ButtonsOpenOnlyWhatTheRunWrote) {
  TempDir dir;
  const QString project = CopySample(dir);
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  QPushButton* buttons[] = {form.OpenFolderButton, form.OpenBrowserHelpButton, form.OpenChmButton, form.CopyButton};
  for (QPushButton* button : buttons) EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();

  for (bool extras : {false, true}) {
    SCOPED_TRACE(extras ? "with the browser help and the .chm" : "without");
    form.BrowserHelpCheckBox->setChecked(extras);
    form.CompiledHelpCheckBox->setChecked(extras);
    ConvertInto(form, dialogs, dir, project);
    EXPECT_TRUE(form.OpenFolderButton->isEnabled());
    EXPECT_EQ(form.OpenBrowserHelpButton->isEnabled(), extras);
    EXPECT_EQ(form.OpenChmButton->isEnabled(), extras);
    EXPECT_EQ(dir.Exists("out/sample.chm"), extras);
    EXPECT_TRUE(form.CopyButton->isEnabled());
    form.OpenFolderButton->click();
    ASSERT_FALSE(dialogs.opened.empty());
    EXPECT_EQ(dialogs.opened.back(), QUrl::fromLocalFile(Utf8(dir.Native() + "/out/")));
  }
  form.OpenBrowserHelpButton->click();
  EXPECT_EQ(dialogs.opened.back(), QUrl::fromLocalFile(Utf8(dir.Native() + "/out/web/index.html")));
  form.OpenChmButton->click();
  EXPECT_EQ(dialogs.opened.back(), QUrl::fromLocalFile(Utf8(dir.Native() + "/out/sample.chm")));
  EXPECT_TRUE(dialogs.errors.empty());

  // A .chm that cannot be written (a folder is in its place): the help
  // itself converted, the error says what is missing, and there is no .chm to open.
  fs::create_directories(dir.Native() + "/blocked/sample.chm");
  ConvertInto(form, dialogs, dir, project, "blocked");
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_TRUE(dialogs.errors[0].startsWith(Utf8("コンパイル済みヘルプ (.chm) を作成できません: "))) << dialogs.errors[0].toStdString();
  EXPECT_EQ(Lines(*form.Messages).back(), Utf8("エラー: ") + dialogs.errors[0]);
  EXPECT_TRUE(dir.Exists("blocked/sample.hhp"));
  EXPECT_TRUE(form.OpenFolderButton->isEnabled());
  EXPECT_TRUE(form.OpenBrowserHelpButton->isEnabled());
  EXPECT_FALSE(form.OpenChmButton->isEnabled());
  dialogs.errors.clear();

  // No program for it on the desktop: the user is told.
  dialogs.desktopOpens = false;
  form.OpenBrowserHelpButton->click();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], Utf8("ファイル " + dir.Native() + "/blocked/web/index.html は開けません"));
  dialogs.desktopOpens = true;

  // A run that fails offers nothing of an earlier run's output.
  ConvertInto(form, dialogs, dir, Utf8(dir.Native() + "/missing.hpj"), "elsewhere");
  for (QPushButton* button : {form.OpenFolderButton, form.OpenBrowserHelpButton, form.OpenChmButton}) {
    EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
  }
  EXPECT_TRUE(form.CopyButton->isEnabled());  // the error can be copied
}

TEST(WindowRun, SeveralHelpsAtOnceEachIntoAFolderOfItsOwn) {
  TempDir dir;
  const QString sample = CopySample(dir);
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  form.BrowserHelpCheckBox->setChecked(true);
  form.CompiledHelpCheckBox->setChecked(true);
  dialogs.openAnswers = {sample, Utf8(kExamples + "/guide/guide.hpj"), Utf8(dir.Native() + "/gone.hpj")};
  dialogs.folderAnswer = Utf8(dir.Native() + "/out");
  form.ToolButton1->click();

  ASSERT_EQ(dialogs.folderRequests.size(), 1u);
  EXPECT_EQ(dialogs.folderRequests[0].preselection, Utf8(dir.Native() + "/project"));
  EXPECT_TRUE(dir.Exists("out/sample/sample.hhp"));
  EXPECT_TRUE(dir.Exists("out/guide/guide.hhp"));
  EXPECT_TRUE(dir.Exists("out/sample/web/index.html"));
  EXPECT_TRUE(dir.Exists("out/sample/sample.chm"));
  EXPECT_TRUE(dir.Exists("out/guide/guide.chm"));
  EXPECT_FALSE(dir.Exists("out/gone"));
  EXPECT_TRUE(dir.Exists("out/index.html"));
  EXPECT_FALSE(dir.Exists("project/sample.hhp")) << "the picked folder, not the project's, takes the output";

  const QString goneError = Utf8("gone.hpj: ファイル " + dir.Native() + "/gone.hpj は開けません");
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], goneError);
  const QStringList lines = Lines(*form.Messages);
  EXPECT_TRUE(lines.contains(SampleWarnings(dir.Native() + "/project", "(1/3) sample.hpj: ")[0])) << lines.join(QChar(10)).toStdString();
  EXPECT_EQ(lines.back(), Utf8("エラー: ") + goneError);

  form.OpenBrowserHelpButton->click();
  form.OpenFolderButton->click();
  form.OpenChmButton->click();  // the first help's
  ASSERT_EQ(dialogs.opened.size(), 3u);
  EXPECT_EQ(dialogs.opened[0], QUrl::fromLocalFile(Utf8(dir.Native() + "/out/index.html")));
  EXPECT_EQ(dialogs.opened[1], QUrl::fromLocalFile(Utf8(dir.Native() + "/out/")));
  EXPECT_EQ(dialogs.opened[2], QUrl::fromLocalFile(Utf8(dir.Native() + "/out/sample/sample.chm")));
}

TEST(WindowRun, DroppedHelpsConvertAsIfPicked) {
  TempDir dir;
  const QString project = CopySample(dir);
  dir.Write("notes.txt", "x");
  dir.Write("project/Second.HLP", "not really a compiled help");
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  QMimeData data;
  EXPECT_FALSE(DragIsAccepted(form, {Utf8(dir.Native() + "/notes.txt")}, data));
  EXPECT_FALSE(DragIsAccepted(form, {project, Utf8(dir.Native() + "/notes.txt")}, data));
  EXPECT_FALSE(DragIsAccepted(form, {Utf8(dir.Native() + "/gone.hpj")}, data));
  EXPECT_TRUE(DragIsAccepted(form, {project, Utf8(dir.Native() + "/project/Second.HLP")}, data));
  ASSERT_TRUE(DragIsAccepted(form, {project}, data));

  dialogs.folderAnswer = Utf8(dir.Native() + "/out");
  QDropEvent drop(QPointF(10, 60), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  drop.setAccepted(false);
  QApplication::sendEvent(&form, &drop);
  EXPECT_TRUE(drop.isAccepted());
  QCoreApplication::processEvents();  // the conversion starts once the drop is over

  EXPECT_TRUE(dialogs.openRequests.empty());
  ASSERT_EQ(dialogs.folderRequests.size(), 1u);
  EXPECT_EQ(dialogs.folderRequests[0].preselection, Utf8(dir.Native() + "/project"));
  EXPECT_TRUE(dir.Exists("out/sample.hhp"));
  EXPECT_EQ(form.Job().ProjectPath, EnginePath(project.toStdString()));
  EXPECT_EQ(form.OpenDialog1.fileName, project);  // the picker starts there next time
}

}  // namespace
}  // namespace quorvex
