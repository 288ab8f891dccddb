#include "dib/VxDIB.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "dib/BmpReader.h"
#include "dib/BmpWriter.h"
#include "dib/Halftone.h"
#include "dib/PixelRows.h"
#include "dib/VxDIBCanvas.h"
#include "platform/PictureFormats.h"

namespace quorvex {

namespace {

bool defaultUseFMO = true;

// The internal DIB exists from construction to destruction; these checks
// guard that invariant only.
void RequireInternal(const TVxInternalDIB* dib, const char* operation) {
  QV_ASSERT(dib != nullptr, std::string("TVxDIB.") + operation + ": InternalDIB Should not be Nil");
}

Palette PaletteOf(const RgbQuad* quads, std::size_t count) {
  Palette palette(count);
  for (std::size_t i = 0; i < count; ++i) palette[i] = {quads[i].Red, quads[i].Green, quads[i].Blue, 0};
  return palette;
}

MaskRgb MaskOf(Color color) {
  return {static_cast<std::uint8_t>(color & 0xFF), static_cast<std::uint8_t>((color >> 8) & 0xFF),
          static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}

// The conversions that report progress: their message and step total.
struct ProgressPlan {
  const char* Message = nullptr;
  std::int32_t Steps = 0;
};

ProgressPlan PlanFor(DibPixelFormat from, DibPixelFormat to) {
  using F = DibPixelFormat;
  struct Row {
    F From, To;
    const char* Message;
    std::int32_t Steps;
  };
  static const Row rows[] = {
      {F::Bit8, F::Bit4, "PixelFormat 8Bit -> 4Bit", 16},
      {F::Bit8, F::Bit4Rle, "PixelFormat 8Bit -> 4BitRLE", 16},
      {F::Bit8Rle, F::Bit4, "PixelFormat 8BitRLE -> 4Bit", 16},
      {F::Bit8Rle, F::Bit4Rle, "PixelFormat 8BitRLE -> 4BitRLE", 16},
      {F::Bit24, F::Bit4, "PixelFormat 24Bit -> 4Bit", 16},
      {F::Bit24, F::Bit4Rle, "PixelFormat 24Bit -> 4BitRLE", 16},
      {F::Bit24, F::Bit8, "PixelFormat 24Bit -> 8Bit", 256},
      {F::Bit24, F::Bit8Rle, "PixelFormat 24Bit -> 8BitRLE", 256},
  };
  for (const Row& row : rows) {
    if (row.From == from && row.To == to) return {row.Message, row.Steps};
  }
  return {};
}

// The registration of the class with the picture framework for the
// program's lifetime.
struct Registration {
  Registration() {
    auto create = [] { return std::unique_ptr<Graphic>(std::make_unique<TVxDIB>()); };
    RegisterPictureFormat("dib", "Device Independent Bitmap", "TVxDIB", create);
    RegisterClipboardFormat(CF_DIB, "TVxDIB", create);
  }
  ~Registration() {
    UnregisterPictureClass("TVxDIB");
    UnregisterClipboardClass("TVxDIB");
  }
} registration;

}  // namespace

bool DefaultUseFMO() { return defaultUseFMO; }
void SetDefaultUseFMO(bool useFMO) { defaultUseFMO = useFMO; }

const Palette& HalftonePalette() {
  static const Palette palette = PaletteOf(HalftoneColorTable().data(), HalftoneColorTable().size());
  return palette;
}

const Palette& BlackAndWhitePalette() {
  static const Palette palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  return palette;
}

// ---------------------------------------------------------------------------
// TVxInternalDIB

TVxInternalDIB::TVxInternalDIB(bool useFMO) : useFMO_(useFMO) { CreateDIB(1, 1, 256, 8); }

void TVxInternalDIB::CreateDIB(std::int32_t width, std::int32_t height, int colors, int bitCount) {
  const bool validBits = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24;
  // A height of -2^31 has no positive Height to report.
  if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min() || colors < 0 ||
      colors > kMaxDibColors || !validBits) {
    throw EVxDIBInvalidDIBPara("TVxInternalDIB.CreateDIB: Invalid Parameters");
  }
  DibRecord record;
  record.Header.Width = width;
  record.Header.Height = height;
  record.Header.BitCount = static_cast<std::uint16_t>(bitCount);
  record.Header.XPelsPerMeter = kDefaultResolution;
  record.Header.YPelsPerMeter = kDefaultResolution;
  record.Header.ClrUsed = static_cast<std::uint32_t>(colors);
  record.Bits = PixelBlock(PixelBlockSize(record.RowBytes(), record.Rows()), useFMO_);
  dib_ = std::move(record);
  width_ = width;
  height_ = static_cast<std::int32_t>(dib_.Rows());
  palette_.reset();
  paletteChanged_ = true;
}

void TVxInternalDIB::Commit(DibRecord&& record) {
  dib_ = std::move(record);
  width_ = dib_.Header.Width;
  height_ = static_cast<std::int32_t>(dib_.Rows());
  UpdatePalette();
}

void TVxInternalDIB::LoadFromStream(Stream& stream) { Commit(ReadBmpFile(stream, useFMO_)); }

void TVxInternalDIB::SaveToStream(Stream& stream) const { WriteBmpFile(dib_, stream); }

void TVxInternalDIB::LoadFromClipboardFormat(const MemoryBlock& block) { Commit(ReadClipboardDib(block, useFMO_)); }

MemoryBlock TVxInternalDIB::SaveToClipboardFormat() const { return MakeClipboardDib(dib_); }

void TVxInternalDIB::UpdatePalette() {
  QV_ASSERT(refCount_ == 1, "TVxInternalDIB.UpdatePalette: RefCount Must be 1");
  palette_.reset();
  paletteChanged_ = true;
}

const Palette& TVxInternalDIB::PaletteHandle() {
  if (!palette_) palette_ = PaletteOf(dib_.Colors.data(), std::min<std::uint32_t>(dib_.Header.ClrUsed, kMaxDibColors));
  return *palette_;
}

void TVxInternalDIB::SetPixelsFormat(DibPixelFormat format, std::uint8_t quality, const ProgressStep& step,
                                     MaskRgb mask) {
  Commit(::quorvex::SetPixelsFormat(dib_, format, quality, step, mask, useFMO_));
}

TVxInternalDIB* TVxInternalDIB::Copy() const {
  auto copy = std::make_unique<TVxInternalDIB>(useFMO_);
  copy->dib_ = dib_.WithNewBits(dib_.BitsSize(), useFMO_);
  if (dib_.BitsSize() > 0) std::memcpy(copy->dib_.Bits.Data(), dib_.Bits.Data(), dib_.BitsSize());
  copy->width_ = width_;
  copy->height_ = height_;
  return copy.release();
}

// ---------------------------------------------------------------------------
// TVxDIB

TVxDIB::TVxDIB() : internal_(new TVxInternalDIB(DefaultUseFMO())) { UpdatePaletteModified(); }

TVxDIB::~TVxDIB() { ReleaseInternalDIB(); }

void TVxDIB::ReleaseInternalDIB() {
  if (internal_ != nullptr && internal_->Release()) delete internal_;
  internal_ = nullptr;
}

void TVxDIB::Replace(TVxInternalDIB* fresh) {
  ReleaseInternalDIB();
  internal_ = fresh;
}

TVxInternalDIB* TVxDIB::NewInternalDIB() const { return new TVxInternalDIB(UseFMO()); }

TVxInternalDIB& TVxDIB::InternalDIB() {
  RequireInternal(internal_, "InternalDIB");
  return *internal_;
}

const TVxInternalDIB& TVxDIB::InternalDIB() const {
  RequireInternal(internal_, "InternalDIB");
  return *internal_;
}

bool TVxDIB::Empty() const {
  RequireInternal(internal_, "GetEmpty");
  return false;
}

std::int32_t TVxDIB::Width() const {
  RequireInternal(internal_, "GetWidth");
  return internal_->Width();
}

std::int32_t TVxDIB::Height() const {
  RequireInternal(internal_, "GetHeight");
  return internal_->Height();
}

int TVxDIB::BitCount() const {
  RequireInternal(internal_, "GetBitCount");
  return internal_->Dib().Header.BitCount;
}

bool TVxDIB::UseFMO() const {
  RequireInternal(internal_, "GetUseFMO");
  return internal_->UseFMO();
}

void TVxDIB::SetWidth(std::int32_t width) {
  RequireInternal(internal_, "SetWidth");
  if (width <= 0) throw EVxDIBInvalidDIBPara("TVxDIB.SetWidth: Invalid Width");
  if (width == Width()) return;
  std::unique_ptr<TVxInternalDIB> fresh(NewInternalDIB());
  fresh->CreateDIB(width, Height(), static_cast<int>(internal_->Dib().Header.ClrUsed), BitCount());
  Replace(fresh.release());
  UpdatePaletteModified();
  Changed();
}

void TVxDIB::SetHeight(std::int32_t height) {
  RequireInternal(internal_, "SetHeight");
  if (height == 0) throw EVxDIBInvalidDIBPara("TVxDIB.SetWidth: Invalid Height");
  if (height == Height()) return;
  std::unique_ptr<TVxInternalDIB> fresh(NewInternalDIB());
  fresh->CreateDIB(Width(), height, static_cast<int>(internal_->Dib().Header.ClrUsed), BitCount());
  Replace(fresh.release());
  UpdatePaletteModified();
  Changed();
}

void TVxDIB::SetBitCount(int bitCount) {
  RequireInternal(internal_, "SetBitCount");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) {
    throw EVxDIBInvalidDIBPara("TVxDIB.SetBitCount: Invalid BitCount");
  }
  if (bitCount == BitCount()) return;
  std::unique_ptr<TVxInternalDIB> fresh(NewInternalDIB());
  fresh->CreateDIB(Width(), Height(), static_cast<int>(ColorsForBitCount(bitCount)), bitCount);
  Replace(fresh.release());
  UpdatePaletteModified();
  Changed();
}

DibPixelFormat TVxDIB::GetPixelFormat() const {
  RequireInternal(internal_, "GetPixelFormat");
  return internal_->GetPixelFormat();
}

void TVxDIB::SetPixelFormat(DibPixelFormat format) {
  RequireInternal(internal_, "SetPixelFormat");
  const DibPixelFormat current = GetPixelFormat();
  if (format == current) return;
  UniqueDIB();
  const ProgressPlan plan = PlanFor(current, format);
  ::quorvex::ProgressStep step;
  if (plan.Message != nullptr) {
    BeginProgress(plan.Message, plan.Steps);
    step = [this] { StepProgress(); };
  }
  try {
    internal_->SetPixelsFormat(format, reductionQuality_, step, MaskOf(maskColor_));
  } catch (...) {
    UpdatePaletteModified();
    if (plan.Message != nullptr) EndProgress();
    throw;
  }
  UpdatePaletteModified();
  if (plan.Message != nullptr) EndProgress();
  UpdatePaletteModified();
  Changed();
}

Palette TVxDIB::GetPalette() const {
  RequireInternal(internal_, "GetPalette");
  if (halftoneMode_ == 1) return HalftonePalette();
  if (halftoneMode_ == 2) return BlackAndWhitePalette();
  return internal_->PaletteHandle();
}

void TVxDIB::SetPalette(const Palette& palette) {
  RequireInternal(internal_, "SetPalette");
  UniqueDIB();
  DibRecord& dib = internal_->Dib();
  if (!palette.empty()) {
    const std::size_t count = std::min<std::size_t>(palette.size(), kMaxDibColors);
    dib.Header.ClrUsed = static_cast<std::uint32_t>(count);
    for (std::size_t i = 0; i < count; ++i) dib.Colors[i] = Quad(palette[i].Red, palette[i].Green, palette[i].Blue);
    internal_->SetPaletteHandle(palette);
  } else {
    dib.Header.ClrUsed = 0;
    // A cached palette would outlive the colours it stood for.
    internal_->SetPaletteHandle(std::nullopt);
  }
  internal_->SetPaletteChanged(true);
  UpdatePaletteModified();
  Changed();
}

void TVxDIB::UniqueDIB() {
  RequireInternal(internal_, "UniqueDIB");
  if (internal_->RefCount() == 1) return;
  TVxInternalDIB* copy = internal_->Copy();
  internal_->Release();  // shared, so it stays alive for its other owners
  internal_ = copy;
  UpdatePaletteModified();
}

void TVxDIB::UpdatePaletteModified() {
  RequireInternal(internal_, "UpdatePaletteModified");
  QV_ASSERT(internal_->RefCount() == 1, "TVxDIB.UpdatePaletteModified RefCount Must be 1");
  if (!internal_->PaletteChanged()) return;
  internal_->SetPaletteChanged(false);
  SetPaletteModified(true);
}

void TVxDIB::Assign(const Persistent* source) {
  if (source == this) return;
  if (source == nullptr) {
    Replace(NewInternalDIB());
    UpdatePaletteModified();
    Changed();
    return;
  }
  if (const auto* other = dynamic_cast<const TVxDIB*>(source)) {
    RequireInternal(other->internal_, "Assign");
    other->internal_->AddRef();
    Replace(other->internal_);
    maskColor_ = other->maskColor_;
    reductionQuality_ = other->reductionQuality_;
    halftoneMode_ = other->halftoneMode_;
    SetPaletteModified(true);
    Changed();
    return;
  }
  if (const auto* bitmap = dynamic_cast<const Bitmap*>(source)) {
    AssignBitmap(*bitmap);
    return;
  }
  TVxGraphic::Assign(source);
}

void TVxDIB::AssignBitmap(const Bitmap& bitmap) {
  int bits = bitmap.BitsPerPixel();
  if (bits == 16 || bits == 32) bits = 24;
  std::unique_ptr<TVxInternalDIB> fresh(NewInternalDIB());
  fresh->CreateDIB(bitmap.Width(), bitmap.Height(), 0, bits);
  DibRecord& dib = fresh->Dib();
  const std::int64_t rowBytes = dib.RowBytes();
  const bool sameLayout = IsPaletteFormat(bitmap.Format()) || bitmap.BitsPerPixel() == 24;
  for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
    // The bitmap counts rows from the top, the DIB stores the bottom row first.
    std::uint8_t* row = dib.Bits.Data() + (bitmap.Height() - 1 - y) * rowBytes;
    if (sameLayout) {
      std::memcpy(row, bitmap.ScanLine(y), static_cast<std::size_t>(rowBytes));
      continue;
    }
    for (std::int32_t x = 0; x < bitmap.Width(); ++x) {
      const Color c = bitmap.PixelColor(x, y);
      row[3 * x] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
      row[3 * x + 1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<std::uint8_t>(c & 0xFF);
    }
  }
  if (IsPaletteFormat(bitmap.Format())) {
    Palette palette = bitmap.GetPalette();
    if (palette.empty()) palette = GreyRampPalette(bits);  // what the bitmap shows without one
    const std::size_t count = std::min<std::size_t>(palette.size(), ColorsForBitCount(bits));
    for (std::size_t i = 0; i < count; ++i) dib.Colors[i] = Quad(palette[i].Red, palette[i].Green, palette[i].Blue);
  }
  if (dib.Header.ClrUsed == 0) dib.Header.ClrUsed = ColorsForBitCount(bits);
  Replace(fresh.release());
  internal_->UpdatePalette();
  UpdatePaletteModified();
  Changed();
}

void TVxDIB::AssignTo(Persistent& target) const {
  RequireInternal(internal_, "AssignTo");
  if (auto* dib = dynamic_cast<TVxDIB*>(&target)) {
    dib->Assign(this);
    return;
  }
  if (auto* bitmap = dynamic_cast<Bitmap*>(&target)) {
    AssignToBitmap(*bitmap);
    return;
  }
  TVxGraphic::AssignTo(target);
}

void TVxDIB::AssignToBitmap(Bitmap& bitmap) const {
  PixelFormat format = PixelFormat::Bit24;
  switch (GetPixelFormat()) {
    case DibPixelFormat::Bit1: format = PixelFormat::Bit1; break;
    case DibPixelFormat::Bit4:
    case DibPixelFormat::Bit4Rle: format = PixelFormat::Bit4; break;
    case DibPixelFormat::Bit8:
    case DibPixelFormat::Bit8Rle: format = PixelFormat::Bit8; break;
    case DibPixelFormat::Bit24: format = PixelFormat::Bit24; break;
    default: QV_ASSERT(false, "TVxDIB.AssignTo: Illegal PixelFormat");
  }
  bitmap.SetHeight(Height());
  bitmap.SetWidth(Width());
  bitmap.SetFormat(format);
  // The picture's own palette, not a halftone one.
  bitmap.SetPalette(internal_->PaletteHandle());
  BitmapCanvas canvas(bitmap);
  canvas.StretchDIBits({0, 0, Width(), Height()}, Image());
}

DibImage TVxDIB::Image() const {
  RequireInternal(internal_, "Image");
  const DibRecord& dib = internal_->Dib();
  DibImage image;
  image.Width = dib.Header.Width;
  image.Height = dib.Header.Height;
  image.BitCount = dib.Header.BitCount;
  image.Compression = dib.Header.Compression;
  // Colours used 0 means the whole table for palette pixels, as the platform reads it.
  std::uint32_t count = dib.Header.ClrUsed != 0 ? dib.Header.ClrUsed : ColorsForBitCount(dib.Header.BitCount);
  image.Colors = PaletteOf(dib.Colors.data(), std::min<std::uint32_t>(count, kMaxDibColors));
  image.Bits = dib.Bits.Bytes();
  return image;
}

void TVxDIB::Draw(Canvas& canvas, const Rect& rect) {
  if (internal_ == nullptr) return;
  if (halftoneMode_ == 0) {
    canvas.StretchDIBits(rect, Image());
    return;
  }
  if (halftoneMode_ == 1 || halftoneMode_ == 2) DrawHalftone(canvas, rect);
}

void TVxDIB::DrawHalftone(Canvas& canvas, const Rect& rect) {
  const std::int64_t width = std::abs(std::int64_t{rect.Right} - rect.Left);
  const std::int64_t height = std::abs(std::int64_t{rect.Bottom} - rect.Top);
  if (width == 0 || height == 0) return;
  constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
  const std::uint8_t mode = halftoneMode_;
  struct RestoreMode {
    std::uint8_t& field;
    std::uint8_t value;
    ~RestoreMode() { field = value; }
  } restore{halftoneMode_, mode};
  // The whole preparation sees the picture's own colours, not the halftone palette.
  halftoneMode_ = 0;
  TVxDIB temporary;
  temporary.SetBitCount(BitCount());
  temporary.SetWidth(static_cast<std::int32_t>(std::min(width, kLargest)));
  temporary.SetHeight(static_cast<std::int32_t>(std::min(height, kLargest)));
  temporary.SetPalette(GetPalette());
  {
    TVxDIBCanvas temporaryCanvas(&temporary);
    Draw(temporaryCanvas, {0, 0, temporary.Width(), temporary.Height()});
  }
  temporary.SetPixelFormat(mode == 1 ? DibPixelFormat::Halftone : DibPixelFormat::HalftoneBW);
  temporary.Draw(canvas, rect);
}

void TVxDIB::LoadFromStream(Stream& stream) {
  RequireInternal(internal_, "LoadFromStream");
  std::unique_ptr<TVxInternalDIB> fresh(NewInternalDIB());
  fresh->LoadFromStream(stream);
  Replace(fresh.release());
  UpdatePaletteModified();
  Changed();
}

void TVxDIB::SaveToStream(Stream& stream) const {
  RequireInternal(internal_, "SaveToStream");
  internal_->SaveToStream(stream);
}

void TVxDIB::LoadFromClipboardFormat(std::uint16_t format, const MemoryBlock* data, const Palette&) {
  RequireInternal(internal_, "LoadFromClipboardFormat");
  if (format != CF_DIB || data == nullptr) {
    throw EInvalidGraphic("TVxDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data");
  }
  std::unique_ptr<TVxInternalDIB> fresh(NewInternalDIB());
  fresh->LoadFromClipboardFormat(*data);
  Replace(fresh.release());
  UpdatePaletteModified();
  Changed();
}

void TVxDIB::SaveToClipboardFormat(std::uint16_t& format, MemoryBlock& data, Palette& palette) const {
  RequireInternal(internal_, "SaveToClipboardFormat");
  data = internal_->SaveToClipboardFormat();
  format = CF_DIB;
  palette.clear();
}

void TVxDIB::BeginProgress(const char* message, std::int32_t total) {
  progressMessage_ = message;
  progressTotal_ = total;
  progressStep_ = 0;
  Progress(ProgressStage::Starting, 0, false, {0, 0, Width(), Height()}, progressMessage_);
}

void TVxDIB::StepProgress() {
  ++progressStep_;
  if (progressStep_ == progressTotal_) return;
  Progress(ProgressStage::Running, static_cast<std::uint8_t>(progressStep_ * 100 / progressTotal_), false,
           {0, 0, Width(), Height()}, progressMessage_);
}

void TVxDIB::EndProgress() {
  Progress(ProgressStage::Ending, 100, false, {0, 0, Width(), Height()}, progressMessage_);
}

}  // namespace quorvex
