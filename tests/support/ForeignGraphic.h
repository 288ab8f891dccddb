#pragma once
// A graphic of a class no other graphic knows, for the refusals of Assign.

#include "platform/Graphic.h"

namespace quorvex::test {

class ForeignGraphic : public Graphic {
 public:
  const char* ClassName() const override { return "TForeign"; }
  bool Empty() const override { return false; }
  std::int32_t Width() const override { return 1; }
  std::int32_t Height() const override { return 1; }
  void SetWidth(std::int32_t) override {}
  void SetHeight(std::int32_t) override {}
};

}  // namespace quorvex::test
