#include "app/Dialogs.h"

#include <gtest/gtest.h>

#include "app/gui/QtPrinting.h"

namespace quorvex {
namespace {

TEST(Dialogs, FilterInQtForm) {
  EXPECT_EQ(QtFileFilter(QString::fromUtf8("ヘルププロジェクト|*.hpj")), QString::fromUtf8("ヘルププロジェクト (*.hpj)"));
  EXPECT_EQ(QtFileFilter("Text|*.txt;*.log|All|*"), "Text (*.txt *.log);;All (*)");
  EXPECT_EQ(QtFileFilter(""), "");
  EXPECT_EQ(QtFileFilter(QString::fromUtf8("ヘルプ|*.hpj;*.hlp|ヘルププロジェクト|*.hpj|コンパイル済みヘルプ|*.hlp")),
            QString::fromUtf8("ヘルプ (*.hpj *.hlp);;ヘルププロジェクト (*.hpj);;コンパイル済みヘルプ (*.hlp)"));
}

}  // namespace
}  // namespace quorvex
