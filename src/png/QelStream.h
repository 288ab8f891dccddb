#pragma once
// Buffered big-endian streams under the PNG encoder and decoder: a reader and
// a writer with 64 KiB buffers and progress bookkeeping, and their graphic
// forms that add the bitmap being decoded or encoded.

#include <cstdint>
#include <memory>

#include "base/ByteString.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"
#include "png/SFunc.h"

namespace quorvex {

/// Size of the read and write buffers.
inline constexpr std::int32_t kQelBufferSize = 65536;

/// Reads big-endian data from a source stream through a 64 KiB buffer (a
/// memory stream is read in place). Reads never raise for running out of
/// data: they set ReadError, return 0 and make every later read a no-op.
class TQelCustomReadStream {
 public:
  TQelCustomReadStream() = default;
  virtual ~TQelCustomReadStream() = default;
  TQelCustomReadStream(const TQelCustomReadStream&) = delete;
  TQelCustomReadStream& operator=(const TQelCustomReadStream&) = delete;

  /// Attaches to `source` at its current position; `size` bytes may be read,
  /// or everything to the end of the source when `size` is 0 or less.
  void BeginRead(Stream& source, std::int64_t size);
  /// Frees the buffer and leaves the source right after the bytes used.
  void EndRead();
  /// Reads on into the buffer behind `keep` bytes already moved to its start.
  bool FillBuffer(std::int32_t keep);

  void Skip(std::int64_t count);
  /// Returns the number of bytes read: `count`, or 0 when nothing was read.
  std::int64_t ReadBytes(void* target, std::int64_t count);
  std::uint8_t ReadByte();
  std::uint16_t ReadWordBE();
  std::uint32_t ReadLongBE();

  /// Called with the overall percentage; true asks the reader to stop.
  virtual bool Progress(std::int32_t percent);
  void ProgressBegin();
  /// Starts a stage taking `percent` of what is left (0 or 100 and above: all
  /// of it); mode 0 measures it by bytes consumed, any other mode by steps of
  /// `units`.
  void ProgressStage(std::int32_t mode, std::int32_t units, std::int32_t percent);
  void ProgressStep(std::int32_t index);
  void ProgressEnd();

  bool Stopped() const { return stopped_; }
  bool ReadError() const { return readError_; }
  /// Option: skip a 128-byte block in front of the data (a Macintosh header).
  bool SkipHeader = false;
  bool HeaderSkipped() const { return headerSkipped_; }
  std::int64_t Limit() const { return limit_; }
  std::int64_t Consumed() const { return consumed_; }

 protected:
  bool stopped_ = false;
  bool readError_ = false;

 private:
  std::int32_t ReadBigEndian(int count);
  bool Blocked() const { return stopped_ || readError_; }

  // Progress bookkeeping; 64-bit so that byte counts times percentages cannot overflow.
  std::int64_t base_ = 0, last_ = 0, span_ = 0, left_ = 0, units_ = 1, stageStart_ = 0;
  std::int32_t mode_ = 0, lastIndex_ = 0;

  std::int64_t limit_ = 0;
  std::int64_t consumed_ = 0;
  const std::uint8_t* cursor_ = nullptr;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::int64_t buffered_ = 0;
  std::int64_t startPos_ = 0;
  bool headerSkipped_ = false;
  Stream* source_ = nullptr;
};

/// Writes big-endian data to a destination stream through a 64 KiB buffer;
/// writes of 65520 bytes or more go straight through.
class TQelCustomWriteStream {
 public:
  TQelCustomWriteStream();
  virtual ~TQelCustomWriteStream() = default;
  TQelCustomWriteStream(const TQelCustomWriteStream&) = delete;
  TQelCustomWriteStream& operator=(const TQelCustomWriteStream&) = delete;

  void BeginWrite(Stream& dest);
  /// Hands the buffered bytes to the destination.
  void Flush();
  /// A zero-length write sets Stopped: it ends all writing on this stream.
  void WriteBytes(const void* source, std::int64_t count);
  void WriteLongBE(std::uint32_t value);

  /// Called with the overall percentage; true asks the writer to stop.
  virtual bool Progress(std::int32_t percent);
  void ProgressBegin();
  /// Like the reader's, always measured in steps of `units`.
  void ProgressStage(std::int32_t mode, std::int32_t units, std::int32_t percent);
  void ProgressStep(std::int32_t index);
  void ProgressEnd();

  bool Stopped() const { return stopped_; }
  /// Bytes handed to the destination so far.
  std::int64_t Written() const { return written_; }
  /// Bytes waiting in the buffer.
  std::int32_t Fill() const { return fill_; }

 protected:
  bool stopped_ = false;
  ByteString message_;

 private:
  std::int64_t base_ = 0, last_ = 0, span_ = 0, left_ = 0, units_ = 1;
  std::int32_t fill_ = 0;
  std::int64_t written_ = 0;
  std::unique_ptr<std::uint8_t[]> buffer_;
  Stream* dest_ = nullptr;
};

/// A reader that decodes into a bitmap: the decoding frame, the header values
/// a decoder fills, and progress forwarded to the bitmap's progress handler.
class TQelCustomGraphicReadStream : public TQelCustomReadStream {
 public:
  TQelCustomGraphicReadStream();
  ~TQelCustomGraphicReadStream() override = default;

  /// Decodes `size` bytes of `source` (0: to its end) into `bitmap`, which may
  /// be null. The bitmap raises no change events meanwhile; the reader is
  /// detached and its buffers freed also when the decoder raises.
  void LoadBitmap(Bitmap* bitmap, Stream& source, std::int64_t size);

  /// Forwards to the bitmap's progress handler; never asks to stop.
  bool Progress(std::int32_t percent) override;

  ByteString Comment;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  /// Bit count of the target format: 1, 4, 8, 15, 16, 24 or 32.
  std::int32_t Bits = 0;
  /// A value the format's decoder defines (the PNG reader: the source's bit count).
  std::int32_t DecoderValue = 0;
  std::int32_t PaletteCount = 0;
  std::uint8_t ResolutionUnit = 0;
  std::int32_t ResolutionX = 0;
  std::int32_t ResolutionY = 0;

 protected:
  /// The format's decoder body.
  virtual void ReadImage() = 0;
  /// Shapes the target once the header is known: cleared, not transparent,
  /// the format of Bits, Width x Height, and the palette when one was read.
  virtual void SetupBitmap();
  /// The palette table, allocated on first use and freed after every decode.
  QuadTable& PaletteBuffer();
  bool HasPaletteBuffer() const { return paletteBuffer_ != nullptr; }

  Bitmap* bitmap_ = nullptr;
  bool noBitmap_ = true;
  ByteString message_;

 private:
  std::unique_ptr<QuadTable> paletteBuffer_;
};

/// A writer that encodes a bitmap: the encoding frame and progress forwarded
/// to the bitmap's progress handler.
class TQelCustomGraphicWriteStream : public TQelCustomWriteStream {
 public:
  TQelCustomGraphicWriteStream() = default;
  ~TQelCustomGraphicWriteStream() override = default;

  /// Encodes `bitmap` into `dest`. When the encoder raises, what is still
  /// buffered is not written and the exception passes on.
  void SaveBitmap(Bitmap& bitmap, Stream& dest);

  /// Forwards to the bitmap's progress handler; never asks to stop.
  bool Progress(std::int32_t percent) override;

 protected:
  /// The format's encoder body.
  virtual void WriteImage() = 0;

  Bitmap* bitmap_ = nullptr;
};

}  // namespace quorvex
