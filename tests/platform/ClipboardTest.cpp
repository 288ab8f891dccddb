#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include "platform/Bitmap.h"

namespace quorvex {
namespace {

class Writer : public Graphic, public ClipboardWriter {
 public:
  const char* ClassName() const override { return "TWriter"; }
  bool Empty() const override { return false; }
  std::int32_t Width() const override { return 1; }
  std::int32_t Height() const override { return 1; }
  void SetWidth(std::int32_t) override {}
  void SetHeight(std::int32_t) override {}
  void SaveToClipboardFormat(std::uint16_t& format, MemoryBlock& data, Palette& palette) const override {
    format = 77;
    data = {1, 2, 3};
    palette = {{4, 5, 6, 0}};
  }
};

TEST(Clipboard, WritersReplaceTheWholeContent) {
  Clipboard clipboard;
  clipboard.SetAsHandle(5, {9});
  Writer writer;
  clipboard.Assign(&writer);
  EXPECT_FALSE(clipboard.HasFormat(5));
  ASSERT_NE(clipboard.GetAsHandle(77), nullptr);
  EXPECT_EQ(*clipboard.GetAsHandle(77), (MemoryBlock{1, 2, 3}));
  EXPECT_EQ(clipboard.GetPalette(), (Palette{{4, 5, 6, 0}}));
  EXPECT_FALSE(clipboard.IsOpen());
  EXPECT_EQ(clipboard.GetAsHandle(5), nullptr);

  Bitmap bitmap;
  EXPECT_THROW(clipboard.Assign(&bitmap), EAssignError);
}

TEST(Clipboard, OpeningNests) {
  Clipboard clipboard;
  clipboard.Open();
  clipboard.Open();
  clipboard.Close();
  EXPECT_TRUE(clipboard.IsOpen());
  clipboard.Close();
  clipboard.Close();
  EXPECT_FALSE(clipboard.IsOpen());
}

TEST(Clipboard, FormatsAreRegisteredPerClass) {
  RegisterClipboardFormat(4000, "TWriter", [] { return std::make_unique<Writer>(); });
  EXPECT_EQ(ClipboardFormatClass(4000), "TWriter");
  ASSERT_NE(CreateGraphicForClipboardFormat(4000), nullptr);
  UnregisterClipboardClass("TWriter");
  EXPECT_EQ(ClipboardFormatClass(4000), "");
  EXPECT_EQ(CreateGraphicForClipboardFormat(4000), nullptr);
}

}  // namespace
}  // namespace quorvex
