#include "platform/PictureFormats.h"

#include <gtest/gtest.h>

#include "platform/Bitmap.h"

namespace quorvex {
namespace {

class PictureFormatsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    UnregisterPictureClass("TTestA");
    UnregisterPictureClass("TTestB");
  }
  static GraphicFactory MakeBitmap(int width) {
    return [width] { return std::make_unique<Bitmap>(width, 1, PixelFormat::Bit8); };
  }
};

TEST_F(PictureFormatsTest, FindsAFormatByExtensionIgnoringCaseAndDot) {
  RegisterPictureFormat("TST", "Test Format", "TTestA", MakeBitmap(3));
  ASSERT_TRUE(FindPictureFormat("tst").has_value());
  EXPECT_EQ(FindPictureFormat(".Tst")->Description, "Test Format");
  EXPECT_EQ(FindPictureFormat("TST")->ClassName, "TTestA");
  EXPECT_FALSE(FindPictureFormat("ts").has_value());

  std::unique_ptr<Graphic> graphic = CreateGraphicForFile("img\\Logo.tSt");
  ASSERT_NE(graphic, nullptr);
  EXPECT_EQ(graphic->Width(), 3);
  EXPECT_EQ(CreateGraphicForFile("img\\logo.unknown"), nullptr);
  EXPECT_EQ(CreateGraphicForFile("img\\tst"), nullptr);
}

TEST_F(PictureFormatsTest, ALaterClassTakesOverAnExtensionAndUnregisteringRemovesIt) {
  RegisterPictureFormat("tst", "First", "TTestA", MakeBitmap(1));
  RegisterPictureFormat("tsa", "Other", "TTestA", MakeBitmap(1));
  RegisterPictureFormat("TST", "Second", "TTestB", MakeBitmap(2));
  EXPECT_EQ(FindPictureFormat("tst")->ClassName, "TTestB");
  UnregisterPictureClass("TTestA");
  EXPECT_FALSE(FindPictureFormat("tsa").has_value());
  EXPECT_TRUE(FindPictureFormat("tst").has_value());
  UnregisterPictureClass("TTestB");
  EXPECT_FALSE(FindPictureFormat("tst").has_value());
}

}  // namespace
}  // namespace quorvex
