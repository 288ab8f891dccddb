#include "png/QelPNG.h"

#include "base/Files.h"
#include "platform/PictureFormats.h"

namespace quorvex {

namespace {

// Registers the class for "PNG" when the program starts and removes it when
// it ends.
struct QelPNGRegistration {
  QelPNGRegistration() {
    RegisterPictureFormat("PNG", "PNG Format", "TQelPNG", [] { return std::make_unique<TQelPNG>(); });
  }
  ~QelPNGRegistration() { UnregisterPictureClass("TQelPNG"); }
};
const QelPNGRegistration registration;

// Installs a progress handler on a bitmap for the duration of a save and gives
// the bitmap its own handler back on every way out, so no bitmap keeps a
// handler that points at a graphic which may be gone.
class ProgressHandlerSwap {
 public:
  ProgressHandlerSwap(Bitmap& bitmap, const ProgressHandler& handler) : bitmap_(bitmap), active_(bool(handler)) {
    if (!active_) return;
    saved_ = bitmap_.OnProgress();
    bitmap_.SetOnProgress(handler);
  }
  ~ProgressHandlerSwap() {
    if (active_) bitmap_.SetOnProgress(std::move(saved_));
  }
  ProgressHandlerSwap(const ProgressHandlerSwap&) = delete;
  ProgressHandlerSwap& operator=(const ProgressHandlerSwap&) = delete;

 private:
  Bitmap& bitmap_;
  bool active_;
  ProgressHandler saved_;
};

}  // namespace

TQelPNG::TQelPNG()
    : StoredTime(CurrentUtcTime()), alphaBitmap_(std::make_unique<Bitmap>()), imageBitmap_(std::make_unique<Bitmap>()) {}

TQelPNG::~TQelPNG() = default;

void TQelPNG::Assign(const Persistent* source) {
  if (source == this) return;
  ImageRef = nullptr;
  if (const auto* png = dynamic_cast<const TQelPNG*>(source)) {
    imageBitmap_->Assign(png->imageBitmap_.get());
    alphaBitmap_->Assign(png->alphaBitmap_.get());
    ImageRef = png->ImageRef;
    AlphaRef = png->AlphaRef;
    CompressionLevel = png->CompressionLevel;
    FilterMode = png->FilterMode;
    IDATSize = png->IDATSize;
    Interlace = png->Interlace;
    GrayScale = png->GrayScale;
    Comment = png->Comment;
    BackgroundColor = png->BackgroundColor;
    TransparentColor = png->TransparentColor;
    Gamma = png->Gamma;
    SignificantBits = png->SignificantBits;
    PhysUnit = png->PhysUnit;
    PhysX = png->PhysX;
    PhysY = png->PhysY;
    UseCurrentTime = png->UseCurrentTime;
    StoredTime = png->StoredTime;
    Chromaticity = png->Chromaticity;
  } else if (dynamic_cast<const Graphic*>(source)) {
    imageBitmap_->Assign(source);
  } else {
    Graphic::Assign(source);
    return;
  }
  ImageChanged(*imageBitmap_);
}

void TQelPNG::AssignTo(Persistent& target) const {
  if (!dynamic_cast<Graphic*>(&target)) throw EAssignError(this, target);
  target.Assign(&Image());
}

void TQelPNG::ImageChanged(Bitmap& bitmap) {
  SetPaletteModified(true);
  if (Transparent() == bitmap.Transparent()) {
    Changed();
    return;
  }
  inTransparencySync_ = true;
  try {
    SetTransparent(bitmap.Transparent());
  } catch (...) {
    inTransparencySync_ = false;
    throw;
  }
  inTransparencySync_ = false;
}

void TQelPNG::SetWidth(std::int32_t width) {
  if (!Image().Empty()) Image().SetWidth(width);
  if (!Alpha().Empty()) Alpha().SetWidth(width);
  Changed();
}

void TQelPNG::SetHeight(std::int32_t height) {
  if (!Image().Empty()) Image().SetHeight(height);
  if (!Alpha().Empty()) Alpha().SetHeight(height);
  Changed();
}

void TQelPNG::SetPalette(const Palette& palette) {
  Image().SetPalette(palette);
  Changed();
}

void TQelPNG::SetTransparent(bool transparent) {
  if (!inTransparencySync_ && Image().Transparent() != transparent) Image().SetTransparent(transparent);
  Graphic::SetTransparent(transparent);
}

void TQelPNG::CopyChunkOptions(TQelPNGWriteStream& writer) const {
  writer.GrayScale = GrayScale;
  writer.Comment = Comment;
  writer.BackgroundColor = BackgroundColor;
  writer.TransparentColor = TransparentColor;
  writer.Gamma = Gamma;
  writer.SignificantBits = SignificantBits;
  writer.PhysUnit = PhysUnit;
  writer.PhysX = PhysX;
  writer.PhysY = PhysY;
  writer.StoredTime = &StoredTime;
  writer.Chromaticity = &Chromaticity;
  writer.GifExtension = &GifExtension;
}

void TQelPNG::SaveToStream(Stream& stream) {
  TQelPNGWriteStream writer;
  writer.CompressionLevel = CompressionLevel;
  writer.FilterMode = FilterMode;
  writer.SetIDATSize(IDATSize);
  writer.Interlace = Interlace;
  writer.UseCurrentTime = UseCurrentTime;
  writer.OnWriteRow = OnWriteRow;
  writer.RowKey = RowKey;
  CopyChunkOptions(writer);
  if (HasAlpha) writer.AlphaBitmap = &Alpha();
  ProgressHandlerSwap progress(Image(), OnProgress());
  writer.SaveBitmap(Image(), stream);
}

void TQelPNG::SaveToFile(const ByteString& path, const ByteString& outputFolder) {
  // Files are written whole through the files layer, which keeps every write
  // inside the output folder; the PNG is built in memory first.
  MemoryStream png;
  auto writeFile = [&] {
    WriteFileInside(outputFolder, path, std::string_view(reinterpret_cast<const char*>(png.Memory()), png.Bytes().size()));
  };
  try {
    SaveToStream(png);
  } catch (...) {
    try {
      writeFile();  // what was encoded before the failure, as a partly written file
    } catch (...) {
    }
    throw;
  }
  writeFile();
}

void TQelPNG::LoadFromStream(Stream& stream) { Decode(stream, false); }

void TQelPNG::LoadFromFile(const ByteString& path) {
  ByteString data = ReadFile(path);
  MemoryStream stream(std::vector<std::uint8_t>(data.begin(), data.end()));
  LoadFromStream(stream);
}

void TQelPNG::ReadData(Stream& stream) {
  if (stream.Size() - stream.Position() > 0) {
    Decode(stream, true);
    Changed();
    return;
  }
  ImageRef = AlphaRef = nullptr;
  imageBitmap_->Clear();
  alphaBitmap_->Clear();
  HasAlpha = false;
  ImageChanged(*imageBitmap_);
  Changed();
}

void TQelPNG::Decode(Stream& stream, bool streaming) {
  // The file's values land in copies first, so a failed load changes nothing.
  DateTime time = StoredTime;
  Chromaticities chromaticity = Chromaticity;
  GifExtensionData gif = GifExtension;
  Bitmap image;
  Bitmap alpha;
  TQelPNGReadStream reader;
  reader.AlphaTarget = &alpha;
  reader.StoredTime = &time;
  reader.Chromaticity = &chromaticity;
  reader.GifExtension = &gif;
  if (!streaming) {
    reader.OnReadRow = OnReadRow;
    reader.ReducedRGB = ReducedRGB;
    reader.OnRowKey = OnRowKey;
    reader.RowKey = RowKey;
    reader.SkipHeader = SkipHeader;
    // Progress is reported with the image in use as the sender, as if it
    // were decoded in place.
    if (OnProgress()) {
      image.SetOnProgress([this](Graphic&, quorvex::ProgressStage stage, std::uint8_t percent, bool redrawNow,
                                 const Rect& rect, const ByteString& message) {
        if (OnProgress()) OnProgress()(Image(), stage, percent, redrawNow, rect, message);
      });
    }
  }
  reader.LoadBitmap(&image, stream, 0);

  if (streaming) ImageRef = AlphaRef = nullptr;
  // Taking the new pixels raises no change events of the bitmap, as decoding
  // into it would not. They move rather than being copied: a copy of a large
  // picture costs about as much as decoding it.
  auto take = [](Bitmap& target, Bitmap& source) {
    ChangeHandler handler = target.OnChange();
    target.SetOnChange(nullptr);
    target.Take(source);
    target.SetOnChange(std::move(handler));
  };
  take(Image(), image);
  alphaBitmap_->Clear();
  if (reader.AlphaInUse()) take(Alpha(), alpha);

  HasAlpha = reader.HasAlpha;
  Comment = reader.Comment;
  BackgroundColor = reader.BackgroundColor;
  TransparentColor = reader.TransparentColor;
  if (!streaming) Interlace = static_cast<std::uint8_t>(reader.Interlace);
  Gamma = reader.Gamma;
  PhysUnit = reader.ResolutionUnit;
  PhysX = reader.ResolutionX;
  PhysY = reader.ResolutionY;
  SignificantBits = reader.SignificantBits;
  DecoderValue = reader.DecoderValue;
  GrayScale = reader.GrayScale;
  StoredTime = time;
  Chromaticity = chromaticity;
  GifExtension = gif;
  ImageChanged(Image());
}

void TQelPNG::WriteData(Stream& stream) {
  if (imageBitmap_->Empty()) return;
  TQelPNGWriteStream writer;
  CopyChunkOptions(writer);
  if (HasAlpha) writer.AlphaBitmap = alphaBitmap_.get();
  writer.SaveBitmap(*imageBitmap_, stream);
}

}  // namespace quorvex
