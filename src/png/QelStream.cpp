#include "png/QelStream.h"

#include <algorithm>
#include <cstring>

namespace quorvex {

namespace {

constexpr std::int64_t kHeaderBlock = 128;
constexpr std::int64_t kDirectWriteSize = 65520;

// The stage and percentage a graphic's progress handler sees for an overall
// percentage of the streams.
void ForwardProgress(Bitmap& bitmap, std::int32_t percent, const ByteString& message) {
  if (!bitmap.OnProgress()) return;
  quorvex::ProgressStage stage = percent == 0   ? quorvex::ProgressStage::Starting
                                 : percent < 100 ? quorvex::ProgressStage::Running
                                                 : quorvex::ProgressStage::Ending;
  auto reported = static_cast<std::uint8_t>(stage == quorvex::ProgressStage::Ending ? 100 : percent);
  bitmap.Progress(stage, reported, false, Rect{}, message);
}

std::int64_t StageSpan(std::int32_t percent, std::int64_t left) {
  return (percent != 0 && percent < 100) ? percent * left / 100 : left;
}

}  // namespace

// ---------------------------------------------------------------- reader

void TQelCustomReadStream::BeginRead(Stream& source, std::int64_t size) {
  source_ = &source;
  startPos_ = source.Position();
  // A size beyond the source's end is cut to it, so that no read, in place or
  // buffered, can run past the data that exists.
  std::int64_t available = source.Size() - startPos_;
  limit_ = size > 0 ? std::min(size, available) : available;
  consumed_ = 0;
  buffered_ = 0;
  stopped_ = readError_ = headerSkipped_ = false;
  if (limit_ <= 0) {
    readError_ = true;
    return;
  }
  if (const std::uint8_t* memory = source.Memory()) {
    cursor_ = memory + startPos_;
    buffered_ = limit_;
  } else {
    if (!buffer_) buffer_ = std::make_unique<std::uint8_t[]>(kQelBufferSize);
    cursor_ = buffer_.get();
    FillBuffer(0);
  }
  if (SkipHeader && limit_ > kHeaderBlock && cursor_[0] == 0 && cursor_[74] == 0) {
    headerSkipped_ = true;
    cursor_ += kHeaderBlock;
    buffered_ -= kHeaderBlock;
    consumed_ = kHeaderBlock;
  }
}

void TQelCustomReadStream::EndRead() {
  buffer_.reset();
  if (source_) source_->SetPosition(startPos_ + consumed_);
}

bool TQelCustomReadStream::FillBuffer(std::int32_t keep) {
  // The kept bytes were read from the source already, so they count against
  // what is left of it.
  std::int64_t room = kQelBufferSize - keep;
  std::int64_t left = limit_ - consumed_ - keep;
  std::int64_t n = std::min(room, left);
  source_->ReadBuffer(buffer_.get() + keep, n);
  buffered_ = keep + n;
  cursor_ = buffer_.get();
  return true;
}

void TQelCustomReadStream::Skip(std::int64_t count) {
  if (Blocked()) return;
  // A negative count would move the cursor back in front of the data.
  if (count < 0 || consumed_ + count > limit_) {
    readError_ = true;
    return;
  }
  if (count == 0) {
    stopped_ = true;
    return;
  }
  if (buffered_ >= count) {
    cursor_ += count;
    buffered_ -= count;
    consumed_ += count;
  } else {
    consumed_ += count;
    source_->Seek(count - buffered_, SeekOrigin::Current);
    buffered_ = 0;
  }
}

std::int64_t TQelCustomReadStream::ReadBytes(void* target, std::int64_t count) {
  if (Blocked()) return 0;
  if (count <= 0) {
    stopped_ = true;
    return 0;
  }
  if (consumed_ + count > limit_) {
    readError_ = true;
    return 0;
  }
  auto* out = static_cast<std::uint8_t*>(target);
  std::int64_t rest = count;
  if (buffered_ < rest) {
    std::memcpy(out, cursor_, static_cast<std::size_t>(buffered_));
    out += buffered_;
    rest -= buffered_;
    consumed_ += buffered_;
    buffered_ = 0;
    if (rest > kQelBufferSize - 1) {
      std::int64_t direct = rest - kQelBufferSize;
      source_->ReadBuffer(out, direct);
      out += direct;
      rest -= direct;
      consumed_ += direct;
    }
    FillBuffer(0);
  }
  std::memcpy(out, cursor_, static_cast<std::size_t>(rest));
  cursor_ += rest;
  buffered_ -= rest;
  consumed_ += rest;
  return count;
}

std::uint8_t TQelCustomReadStream::ReadByte() {
  if (Blocked()) return 0;
  if (consumed_ + 1 > limit_) {
    readError_ = true;
    return 0;
  }
  if (buffered_ == 0) FillBuffer(0);
  std::uint8_t value = *cursor_++;
  --buffered_;
  ++consumed_;
  return value;
}

std::int32_t TQelCustomReadStream::ReadBigEndian(int count) {
  if (Blocked()) return 0;
  if (consumed_ + count > limit_) {
    readError_ = true;
    return 0;
  }
  if (buffered_ < count) {
    std::memmove(buffer_.get(), cursor_, static_cast<std::size_t>(buffered_));
    FillBuffer(static_cast<std::int32_t>(buffered_));
  }
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | cursor_[i];
  cursor_ += count;
  buffered_ -= count;
  consumed_ += count;
  return static_cast<std::int32_t>(value);
}

std::uint16_t TQelCustomReadStream::ReadWordBE() { return static_cast<std::uint16_t>(ReadBigEndian(2)); }

std::uint32_t TQelCustomReadStream::ReadLongBE() { return static_cast<std::uint32_t>(ReadBigEndian(4)); }

bool TQelCustomReadStream::Progress(std::int32_t) { return false; }

void TQelCustomReadStream::ProgressBegin() {
  base_ = last_ = span_ = 0;
  left_ = 99;
  stopped_ = false;
  stopped_ = Progress(0);
}

void TQelCustomReadStream::ProgressStage(std::int32_t mode, std::int32_t units, std::int32_t percent) {
  base_ += span_;
  last_ = base_;
  left_ -= span_;
  mode_ = mode == 0 ? 0 : 1;
  if (mode_ == 0) {
    units_ = limit_;
    stageStart_ = consumed_;
  } else {
    units_ = units;
  }
  if (units_ == 0) units_ = 1;
  span_ = StageSpan(percent, left_);
}

// A stop once requested stays requested: progress reports never resume a
// stream that a zero-length request or an earlier report stopped.
void TQelCustomReadStream::ProgressStep(std::int32_t index) {
  std::int64_t delta = mode_ == 1 ? (index >= units_ ? span_ : index * span_ / units_)
                                  : (consumed_ - stageStart_) * span_ / units_;
  std::int64_t position = base_ + delta;
  if (position <= last_) return;
  last_ = position;
  if (mode_ == 1) lastIndex_ = index;
  if (Progress(static_cast<std::int32_t>(position))) stopped_ = true;
}

void TQelCustomReadStream::ProgressEnd() {
  if (Progress(100)) stopped_ = true;
}

// ---------------------------------------------------------------- writer

TQelCustomWriteStream::TQelCustomWriteStream() : buffer_(std::make_unique<std::uint8_t[]>(kQelBufferSize)) {}

void TQelCustomWriteStream::BeginWrite(Stream& dest) {
  dest_ = &dest;
  fill_ = 0;
  written_ = 0;
}

void TQelCustomWriteStream::Flush() {
  if (fill_ == 0) return;
  QV_ASSERT(dest_ != nullptr, "TQelCustomWriteStream.Flush: No Destination");
  dest_->WriteBuffer(buffer_.get(), fill_);
  written_ += fill_;
  fill_ = 0;
}

void TQelCustomWriteStream::WriteBytes(const void* source, std::int64_t count) {
  if (stopped_ || count < 0) return;
  if (count == 0) {
    stopped_ = true;
    return;
  }
  if (count >= kDirectWriteSize) {
    Flush();
    QV_ASSERT(dest_ != nullptr, "TQelCustomWriteStream.WriteBytes: No Destination");
    dest_->WriteBuffer(source, count);
    written_ += count;
    return;
  }
  if (fill_ + count >= kQelBufferSize) Flush();
  std::memcpy(buffer_.get() + fill_, source, static_cast<std::size_t>(count));
  fill_ += static_cast<std::int32_t>(count);
}

void TQelCustomWriteStream::WriteLongBE(std::uint32_t value) {
  if (stopped_) return;
  if (fill_ + 4 >= kQelBufferSize) Flush();
  std::uint8_t* p = buffer_.get() + fill_;
  p[0] = static_cast<std::uint8_t>(value >> 24);
  p[1] = static_cast<std::uint8_t>(value >> 16);
  p[2] = static_cast<std::uint8_t>(value >> 8);
  p[3] = static_cast<std::uint8_t>(value);
  fill_ += 4;
}

bool TQelCustomWriteStream::Progress(std::int32_t) { return false; }

void TQelCustomWriteStream::ProgressBegin() {
  base_ = last_ = span_ = 0;
  left_ = 99;
  stopped_ = false;
  stopped_ = Progress(0);
}

void TQelCustomWriteStream::ProgressStage(std::int32_t, std::int32_t units, std::int32_t percent) {
  base_ += span_;
  last_ = base_;
  left_ -= span_;
  units_ = units == 0 ? 1 : units;
  span_ = StageSpan(percent, left_);
}

void TQelCustomWriteStream::ProgressStep(std::int32_t index) {
  std::int64_t position = base_ + index * span_ / units_;
  if (position <= last_) return;
  last_ = position;
  if (Progress(static_cast<std::int32_t>(position))) stopped_ = true;
}

void TQelCustomWriteStream::ProgressEnd() {
  if (Progress(100)) stopped_ = true;
}

// ---------------------------------------------------------------- graphic reader

TQelCustomGraphicReadStream::TQelCustomGraphicReadStream() { SkipHeader = true; }

void TQelCustomGraphicReadStream::LoadBitmap(Bitmap* bitmap, Stream& source, std::int64_t size) {
  bitmap_ = bitmap;
  noBitmap_ = bitmap == nullptr;
  // The many changes made while decoding raise no change events.
  ChangeHandler savedHandler;
  if (bitmap_) {
    savedHandler = bitmap_->OnChange();
    bitmap_->SetOnChange(nullptr);
  }
  auto cleanUp = [&] {
    EndRead();
    paletteBuffer_.reset();
    if (bitmap_) bitmap_->SetOnChange(savedHandler);
  };
  try {
    BeginRead(source, size);
    Comment.clear();
    PaletteCount = 0;
    ResolutionUnit = 0;
    ResolutionX = ResolutionY = 0;
    ReadImage();
  } catch (...) {
    cleanUp();
    throw;
  }
  cleanUp();
}

bool TQelCustomGraphicReadStream::Progress(std::int32_t percent) {
  if (!noBitmap_ && bitmap_) ForwardProgress(*bitmap_, percent, message_);
  return false;
}

void TQelCustomGraphicReadStream::SetupBitmap() {
  if (!bitmap_) return;
  bitmap_->Clear();
  bitmap_->SetTransparent(false);
  bitmap_->SetFormat(BitsToPixelFormat(Bits));
  bitmap_->SetWidth(Width);
  bitmap_->SetHeight(Height);
  if (paletteBuffer_) bitmap_->SetPalette(QuadsToPalette(*paletteBuffer_, PaletteCount));
}

QuadTable& TQelCustomGraphicReadStream::PaletteBuffer() {
  if (!paletteBuffer_) paletteBuffer_ = std::make_unique<QuadTable>();
  return *paletteBuffer_;
}

// ---------------------------------------------------------------- graphic writer

void TQelCustomGraphicWriteStream::SaveBitmap(Bitmap& bitmap, Stream& dest) {
  BeginWrite(dest);
  bitmap_ = &bitmap;
  WriteImage();
  Flush();
}

bool TQelCustomGraphicWriteStream::Progress(std::int32_t percent) {
  if (bitmap_) ForwardProgress(*bitmap_, percent, message_);
  return false;
}

}  // namespace quorvex
