#include "app/Unit1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Version.h"
#include "app/About.h"
#include "app/SBDlg.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "support/TempDir.h"
#include "app/gui/FolderTree.h"
#include "app/gui/QtPrinting.h"
#include "app/gui/ScriptedDialogs.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDialogs;
using test::TempDir;
using test::Tree;

const QString kSampleFolder = QUORVEX_SOURCE_DIR "/examples/sample";
const QString kSampleProject = kSampleFolder + "/sample.hpj";

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// The driver on its own, as the oracle for what the window should write.
class PlainHost : public ConversionHost {
 public:
  bool CombinePopupsChecked() override { return true; }
  void SetStatus(const ByteString&) override {}
};

std::map<std::string, std::string> ReferenceConversion(const TempDir& dir) {
  ConversionJob job;
  PlainHost host;
  ChooseProject(job, EnginePath(kSampleProject.toStdString()));
  ChooseOutputFolder(job, dir.Engine() + "reference");
  RunConversion(job, host);
  return Tree(dir.Native() + "/reference");
}

bool CursorIsNormal() { return QApplication::overrideCursor() == nullptr; }

TEST(Window, OpensWithItsControlsAndCaptions) {
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  EXPECT_EQ(form.windowTitle(), "Quorvex");
  // The classic controls keep their places; the window grew below and to the
  // right of them, and keeps a fixed size.
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_GE(form.width(), 237);
  EXPECT_EQ(form.ToolButton2->pos(), QPoint(6, 0));
  EXPECT_EQ(form.ToolButton1->pos(), QPoint(58, 0));
  EXPECT_EQ(form.ToolButton3->pos(), QPoint(110, 0));
  EXPECT_EQ(form.Label1->pos(), QPoint(8, 48));
  EXPECT_EQ(form.CheckBox1->pos(), QPoint(8, 68));
  EXPECT_EQ(form.ToolButton2->text(), Utf8("終了"));
  EXPECT_EQ(form.ToolButton1->text(), Utf8("　変換　"));
  EXPECT_EQ(form.ToolButton3->text(), Utf8("バージョン"));
  EXPECT_EQ(form.CheckBox1->text(), Utf8("ポップアップを１つのファイルにまとめる"));
  EXPECT_TRUE(form.CheckBox1->isChecked());
  EXPECT_EQ(form.Label1->text(), "");
  EXPECT_EQ(form.SBDialog1->Caption(), Utf8("作成先の選択"));
  EXPECT_EQ(form.SBDialog1->Options().BrowseFlags(), 0x41u);
  EXPECT_TRUE(form.Job().ProjectFiles.Empty());
  ASSERT_TRUE(form.ToolBarImages() == &form.ImageList1 || form.ToolBarImages() == &form.ImageList2);
  for (const ImageList* list : {&form.ImageList1, &form.ImageList2}) {
    ASSERT_EQ(list->size(), 3u);
    for (const QPixmap& image : *list) EXPECT_EQ(image.size(), QSize(16, 16));
  }
}

TEST(Window, ConvertButtonConvertsTheChosenProjectIntoTheChosenFolder) {
  TempDir dir;
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  dialogs.openAnswer = kSampleProject;
  dialogs.folderAnswer = QString::fromStdString(dir.Native() + "/out");
  form.ToolButton1->click();

  ASSERT_EQ(dialogs.errors.size(), 0u) << dialogs.errors[0].toStdString();
  ASSERT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(dialogs.openRequests[0].filter, Utf8("ヘルプ|*.hpj;*.hlp|ヘルププロジェクト|*.hpj|コンパイル済みヘルプ|*.hlp"));
  EXPECT_EQ(dialogs.openRequests[0].parent, &form);
  ASSERT_EQ(dialogs.folderRequests.size(), 1u);
  EXPECT_EQ(dialogs.folderRequests[0].preselection, kSampleFolder);
  EXPECT_EQ(dialogs.folderRequests[0].caption, Utf8("作成先の選択"));
  EXPECT_EQ(dialogs.folderRequests[0].flags, 0x41u);
  EXPECT_EQ(dialogs.folderRequests[0].parent, &form);

  EXPECT_EQ(form.Label1->text(), "");
  EXPECT_TRUE(CursorIsNormal());
  EXPECT_FALSE(form.Converting());
  EXPECT_EQ(form.Job().OutputFolder, dir.Engine() + "out\\");
  EXPECT_TRUE(form.Job().CombinePopups);
  EXPECT_TRUE(fs::is_directory(dir.Native() + "/out/img"));
  EXPECT_TRUE(dir.Exists("out/html/help.css"));
  EXPECT_NE(dir.Read("out/sample.hhp").find(test::Sjis("Title=サンプル ヘルプ\r\n")), std::string::npos);
  EXPECT_EQ(Tree(dir.Native() + "/out"), ReferenceConversion(dir));

  // A second conversion: the picker starts at the project's folder again,
  // not at the first choice, and the new choice is where the files go.
  dialogs.folderAnswer = QString::fromStdString(dir.Native() + "/second");
  form.ToolButton1->click();
  ASSERT_EQ(dialogs.folderRequests.size(), 2u);
  EXPECT_EQ(dialogs.folderRequests[1].preselection, kSampleFolder);
  EXPECT_EQ(dialogs.openRequests[1].fileName, kSampleProject);
  EXPECT_EQ(Tree(dir.Native() + "/second"), Tree(dir.Native() + "/out"));
}

TEST(Window, ErrorIsShownWithCursorAndStatusRestored) {
  TempDir dir;
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  dialogs.openAnswer = QString::fromStdString(dir.Native() + "/missing.hpj");
  dialogs.folderAnswer = QString::fromStdString(dir.Native() + "/out");
  form.ToolButton1->click();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], QString::fromStdString("ファイル " + dir.Native() + "/missing.hpj は開けません"));
  EXPECT_EQ(form.Label1->text(), "");
  EXPECT_TRUE(CursorIsNormal());
  EXPECT_FALSE(dir.Exists("out"));

  // An output folder that cannot be made (a plain file is in the way) fails
  // at the first file written into it.
  dir.Write("blocked", "x");
  dialogs.openAnswer = kSampleProject;
  dialogs.folderAnswer = QString::fromStdString(dir.Native() + "/blocked/out");
  form.ToolButton1->click();
  ASSERT_EQ(dialogs.errors.size(), 2u);
  EXPECT_EQ(dialogs.errors[1],
            QString::fromStdString("ファイル " + dir.Native() + "/blocked/out/html/help.css を作成できません"));
  EXPECT_EQ(form.Label1->text(), "");
  EXPECT_TRUE(CursorIsNormal());

  // The window is ready for the next conversion.
  dialogs.folderAnswer = QString::fromStdString(dir.Native() + "/out");
  form.ToolButton1->click();
  EXPECT_EQ(dialogs.errors.size(), 2u);
  EXPECT_TRUE(dir.Exists("out/sample.hhp"));
}

TEST(Window, CancellingEitherDialogWritesNothing) {
  TempDir dir;
  fs::copy(kSampleFolder.toStdString(), dir.Native() + "/project", fs::copy_options::recursive);
  const auto before = Tree(dir.Native());
  const QString project = QString::fromStdString(dir.Native() + "/project/sample.hpj");
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);

  form.ToolButton1->click();  // the open-file dialog is cancelled
  EXPECT_EQ(dialogs.folderRequests.size(), 0u);
  EXPECT_EQ(form.Job().ProjectPath, "");

  dialogs.openAnswer = project;
  form.ToolButton1->click();  // the folder picker is cancelled
  EXPECT_EQ(dialogs.folderRequests.size(), 1u);
  EXPECT_EQ(form.SBDialog1->Directory(), QString::fromStdString(dir.Native() + "/project"));
  EXPECT_EQ(form.Job().ProjectPath, EnginePath(project.toStdString()));
  EXPECT_EQ(form.Job().OutputFolder, "");

  EXPECT_EQ(Tree(dir.Native()), before);
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_EQ(form.Label1->text(), "");
  EXPECT_TRUE(CursorIsNormal());
}

// Pokes at the window while the project file is being written, the last step
// of a conversion.
class ProbedForm : public TForm1 {
 public:
  using TForm1::TForm1;
  std::function<void()> probe;
  void SetStatus(const ByteString& text) override {
    TForm1::SetStatus(text);
    if (text == kStatusProject && probe) {
      std::function<void()> once = std::move(probe);
      probe = nullptr;
      once();
    }
  }
};

TEST(Window, InputDuringAConversionChangesNothing) {
  TempDir dir;
  ScriptedDialogs dialogs;
  ProbedForm form(dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  dialogs.openAnswer = kSampleProject;
  dialogs.folderAnswer = QString::fromStdString(dir.Native() + "/out");
  bool probed = false;
  form.probe = [&] {
    probed = true;
    EXPECT_TRUE(form.Converting());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(form.Label1->text(), Utf8("hhp作成"));

    QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
    form.ProcessPendingEvents();
    EXPECT_TRUE(form.CheckBox1->isChecked()) << "a click reached the check box";
    form.CheckBox1->setFocus();
    QTest::keyClick(form.CheckBox1, Qt::Key_Space);
    form.ProcessPendingEvents();
    EXPECT_TRUE(form.CheckBox1->isChecked()) << "a key reached the check box";

    QTest::mouseClick(form.ToolButton1, Qt::LeftButton);
    form.ToolButton1->click();
    EXPECT_EQ(dialogs.openRequests.size(), 1u) << "a second conversion started";
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());

    // Even a change that gets through is not seen by the running conversion.
    form.CheckBox1->setChecked(false);
  };
  form.ToolButton1->click();
  EXPECT_TRUE(probed);
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_TRUE(form.Job().CombinePopups);
  EXPECT_FALSE(form.CheckBox1->isChecked());
  EXPECT_TRUE(CursorIsNormal());

  // Afterwards the window takes input again.
  QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
  EXPECT_TRUE(form.CheckBox1->isChecked());
}

TEST(Window, VersionButtonShowsTheAboutBoxModally) {
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  QString version, title;
  dialogs.onModal = [&](QDialog& dialog) {
    auto* box = dynamic_cast<TAboutBox*>(&dialog);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), &form);
    version = box->Version->text();
    title = box->windowTitle();
  };
  form.ToolButton3->click();
  EXPECT_EQ(dialogs.modalRuns, 1);
  EXPECT_EQ(version, QString("Version ") + kQuorvexVersion);
  EXPECT_EQ(title, Utf8("バージョン情報"));
  EXPECT_TRUE(form.findChildren<TAboutBox*>().isEmpty()) << "the box outlives its closing";
}

TEST(Window, ExitButtonClosesTheWindow) {
  ScriptedDialogs dialogs;
  TForm1 form(dialogs);
  form.show();
  form.ToolButton2->click();
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace quorvex
