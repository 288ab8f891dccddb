#pragma once
// A canvas that draws straight into a TVxDIB's pixels, through a second
// view of the shared memory mapping that holds them.

#include <cstdint>
#include <unordered_map>

#include "platform/Canvas.h"

namespace quorvex {

class TVxDIB;

class TVxDIBCanvas : public Canvas {
 public:
  /// Makes the DIB unique and maps its pixel block a second time. The DIB
  /// must be given and keep its pixels in a mapping, else EVxDIBCanvasFailed
  /// "TVxDIBCanvas.Create: Cannot Create Canvas"; a run-length DIB or a
  /// mapping that cannot be viewed raises EOutOfResources "TVxDIBCanvas.Create:
  /// Cannot Create Memory DC".
  explicit TVxDIBCanvas(TVxDIB* dib);
  /// Releases the view and tells the DIB that it changed.
  ~TVxDIBCanvas() override;
  TVxDIBCanvas(const TVxDIBCanvas&) = delete;
  TVxDIBCanvas& operator=(const TVxDIBCanvas&) = delete;

  std::int32_t SurfaceWidth() const override { return width_; }
  std::int32_t SurfaceHeight() const override { return height_; }

 protected:
  /// Palette DIBs take the nearest colour-table entry.
  void PutPixel(std::int32_t x, std::int32_t y, Color color) override;

 private:
  TVxDIB* dib_;
  std::uint8_t* view_ = nullptr;
  std::size_t viewLength_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  bool bottomUp_ = true;
  int bitCount_ = 0;
  std::int64_t rowBytes_ = 0;
  Palette colors_;
  std::unordered_map<Color, std::uint8_t> indexes_;
};

}  // namespace quorvex
