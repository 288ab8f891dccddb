#include "dib/VxDIBCanvas.h"

#include <sys/mman.h>

#include "dib/PixelRows.h"
#include "dib/VxDIB.h"
#include "platform/ResourceErrors.h"

namespace quorvex {

TVxDIBCanvas::TVxDIBCanvas(TVxDIB* dib) : dib_(dib) {
  if (dib == nullptr || !dib->UseFMO()) throw EVxDIBCanvasFailed("TVxDIBCanvas.Create: Cannot Create Canvas");
  dib->UniqueDIB();
  const DibRecord& record = dib->InternalDIB().Dib();
  if (record.Header.Compression != kCompressionNone || !record.HoldsAllRows()) {
    throw EOutOfResources("TVxDIBCanvas.Create: Cannot Create Memory DC");
  }
  // The canvas's own view of the mapping stands for the platform's DIB
  // section: what it writes appears in the DIB's pixels at once.
  viewLength_ = std::max<std::size_t>(record.BitsSize(), 1);
  void* view = mmap(nullptr, viewLength_, PROT_READ | PROT_WRITE, MAP_SHARED, record.Bits.MappingHandle(), 0);
  if (view == MAP_FAILED) throw EOutOfResources("TVxDIBCanvas.Create: Cannot Create Memory DC");
  view_ = static_cast<std::uint8_t*>(view);
  width_ = record.Header.Width;
  height_ = static_cast<std::int32_t>(record.Rows());
  bottomUp_ = record.Header.Height > 0;
  bitCount_ = record.Header.BitCount;
  rowBytes_ = record.RowBytes();
  if (bitCount_ <= 8) {
    const std::uint32_t used = record.Header.ClrUsed != 0 ? record.Header.ClrUsed : ColorsForBitCount(bitCount_);
    for (std::uint32_t i = 0; i < std::min<std::uint32_t>(used, ColorsForBitCount(bitCount_)); ++i) {
      const RgbQuad& q = record.Colors[i];
      colors_.push_back({q.Red, q.Green, q.Blue, 0});
    }
  }
}

TVxDIBCanvas::~TVxDIBCanvas() {
  munmap(view_, viewLength_);
  // A destructor must not throw: a broken invariant or a failing change
  // handler is not reported from here.
  try {
    if (dib_->InternalDIB().RefCount() == 1) dib_->UpdatePaletteModified();
    dib_->Changed();
  } catch (...) {
  }
}

void TVxDIBCanvas::PutPixel(std::int32_t x, std::int32_t y, Color color) {
  const std::int64_t memoryRow = bottomUp_ ? height_ - 1 - y : y;
  std::uint8_t* row = view_ + memoryRow * rowBytes_;
  if (bitCount_ == 24) {
    row[3 * x] = static_cast<std::uint8_t>((color >> 16) & 0xFF);
    row[3 * x + 1] = static_cast<std::uint8_t>((color >> 8) & 0xFF);
    row[3 * x + 2] = static_cast<std::uint8_t>(color & 0xFF);
    return;
  }
  auto found = indexes_.find(color);
  if (found == indexes_.end()) {
    found = indexes_.emplace(color, static_cast<std::uint8_t>(std::max(NearestEntry(colors_, color), 0))).first;
  }
  SetIndexAt(row, bitCount_, x, found->second);
}

}  // namespace quorvex
