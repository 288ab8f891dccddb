#include "document/DocumentPictures.h"

#include <algorithm>

#include "base/ByteReader.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "document/TextOutput.h"
#include "metafile/Metafile.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "png/QelPNG.h"
#include "project/SourceFiles.h"
#include "shg/PictureImages.h"
#include "topics/Pictures.h"

namespace quorvex {
namespace {

using Format = EmbeddedPicture::Format;

// Larger pictures than this are drawn no larger.
constexpr int kMaxSide = 8000;

int Clamped(long long pixels) { return static_cast<int>(std::clamp<long long>(pixels, 1, kMaxSide)); }

// A length in twips, scaled by a percentage, in pixels at 96 per inch.
int TwipsToPixels(int twips, int scale) { return Clamped((static_cast<long long>(twips) * scale / 100 + 7) / 15); }

struct Size {
  int Width = 0, Height = 0;
};

// The size a picture is shown at: its goal size when the document gives one.
Size ShownSize(const EmbeddedPicture& picture, Size natural) {
  Size shown = natural;
  if (picture.GoalWidth > 0) shown.Width = TwipsToPixels(picture.GoalWidth, picture.ScaleX);
  else if (natural.Width > 0) shown.Width = Clamped(static_cast<long long>(natural.Width) * picture.ScaleX / 100);
  if (picture.GoalHeight > 0) shown.Height = TwipsToPixels(picture.GoalHeight, picture.ScaleY);
  else if (natural.Height > 0) shown.Height = Clamped(static_cast<long long>(natural.Height) * picture.ScaleY / 100);
  return shown;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BMP file image of a packed DIB (information header, colours, bits).
std::vector<std::uint8_t> BmpOfDib(const std::vector<std::uint8_t>& dib) {
  ByteReader reader(dib);
  const std::uint32_t headerSize = reader.U32LE();
  reader.Skip(8);
  reader.Skip(2);
  const std::uint16_t bitCount = reader.U16LE();
  const std::uint32_t compression = reader.U32LE();
  reader.Skip(12);
  const std::uint32_t colorsUsed = reader.U32LE();
  std::uint64_t colors = colorsUsed != 0 ? colorsUsed : (bitCount <= 8 ? 1u << bitCount : 0);
  std::uint64_t masks = compression == 3 && headerSize == 40 ? 12 : 0;
  std::uint64_t offset = 14 + std::uint64_t{headerSize} + (headerSize == 12 ? 3 : 4) * colors + masks;
  if (offset > 14 + dib.size()) throw EInvalidGraphic("Bitmap image is not valid");
  std::vector<std::uint8_t> bmp = {'B', 'M'};
  Put32(bmp, static_cast<std::uint32_t>(14 + dib.size()));
  Put32(bmp, 0);
  Put32(bmp, static_cast<std::uint32_t>(offset));
  bmp.insert(bmp.end(), dib.begin(), dib.end());
  return bmp;
}

// A BMP file image of a device-dependent bitmap: rows top-down, `WidthBytes`
// each; one bit per pixel is black and white, more bits are read as grey or colour.
std::vector<std::uint8_t> BmpOfDdb(const EmbeddedPicture& picture) {
  const int bits = picture.BitsPerPixel * std::max(1, picture.Planes);
  if (picture.Width <= 0 || picture.Height <= 0 || picture.Width > kMaxSide || picture.Height > kMaxSide ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
    throw EInvalidGraphic("Bitmap image is not valid");
  }
  const std::size_t srcRow = picture.WidthBytes > 0 ? static_cast<std::size_t>(picture.WidthBytes)
                                                    : (static_cast<std::size_t>(picture.Width) * bits + 15) / 16 * 2;
  const std::size_t dstRow = (static_cast<std::size_t>(picture.Width) * bits + 31) / 32 * 4;
  if (srcRow * static_cast<std::size_t>(picture.Height) > picture.Data.size()) throw EInvalidGraphic("Bitmap image is not valid");
  const std::uint32_t colors = bits <= 8 ? 1u << bits : 0;
  std::vector<std::uint8_t> bmp = {'B', 'M'};
  const std::uint32_t offset = 14 + 40 + 4 * colors;
  Put32(bmp, static_cast<std::uint32_t>(offset + dstRow * static_cast<std::size_t>(picture.Height)));
  Put32(bmp, 0);
  Put32(bmp, offset);
  Put32(bmp, 40);
  Put32(bmp, static_cast<std::uint32_t>(picture.Width));
  Put32(bmp, static_cast<std::uint32_t>(-picture.Height));  // top-down, as the rows come
  Put16(bmp, 1);
  Put16(bmp, static_cast<std::uint32_t>(bits));
  for (int i = 0; i < 6; ++i) Put32(bmp, 0);
  for (std::uint32_t i = 0; i < colors; ++i) {
    std::uint8_t grey = static_cast<std::uint8_t>(colors > 1 ? i * 255 / (colors - 1) : 0);
    bmp.insert(bmp.end(), {grey, grey, grey, 0});
  }
  for (int y = 0; y < picture.Height; ++y) {
    auto row = picture.Data.begin() + static_cast<std::ptrdiff_t>(srcRow * static_cast<std::size_t>(y));
    std::size_t copied = std::min(srcRow, dstRow);
    bmp.insert(bmp.end(), row, row + static_cast<std::ptrdiff_t>(copied));
    bmp.insert(bmp.end(), dstRow - copied, 0);
  }
  return bmp;
}

void DrawMetafile(const Metafile& metafile, Bitmap& bitmap) {
  bitmap.SetFormat(PixelFormat::Bit24);
  bitmap.SetSize(Clamped(metafile.Width()), Clamped(metafile.Height()));
  BitmapCanvas(bitmap).FillRect({0, 0, bitmap.Width(), bitmap.Height()}, RgbColor(255, 255, 255));
  metafile.Draw(bitmap, 0, 0);
}

// The picture drawn into a bitmap (for the kinds that become PNG files we write).
void Render(const EmbeddedPicture& picture, Bitmap& bitmap, Size shown) {
  switch (picture.Type) {
    case Format::Dib: bitmap.LoadFromMemory(BmpOfDib(picture.Data)); break;
    case Format::Ddb: bitmap.LoadFromMemory(BmpOfDdb(picture)); break;
    case Format::Wmf:
      DrawMetafile(Metafile(BuildPlaceableMetafile(static_cast<std::uint32_t>(shown.Width),
                                                   static_cast<std::uint32_t>(shown.Height), picture.Data)),
                   bitmap);
      break;
    case Format::Emf: DrawMetafile(Metafile(EnhancedToPlaceableMetafile(picture.Data)), bitmap); break;
    default: throw EInvalidGraphic("Picture format is not supported");
  }
}

// The size a PNG file's header gives.
Size PngSize(const std::vector<std::uint8_t>& data) {
  ByteReader reader(data);
  reader.Skip(16);
  Size size;
  size.Width = static_cast<int>(std::min<std::uint32_t>(reader.U32BE(), kMaxSide));
  size.Height = static_cast<int>(std::min<std::uint32_t>(reader.U32BE(), kMaxSide));
  return size;
}

// Writes the picture under img\ and gives its file name and the size it is shown at.
std::pair<ByteString, Size> WritePicture(const ConversionJob& job, const EmbeddedPicture& picture, const ByteString& base) {
  const ByteString folder = job.OutputFolder + "img\\";
  const std::string_view data(reinterpret_cast<const char*>(picture.Data.data()), picture.Data.size());
  if (picture.Type == Format::Png || picture.Type == Format::Jpeg) {
    Size natural = picture.Type == Format::Png ? PngSize(picture.Data) : Size{picture.Width, picture.Height};
    ByteString name = base + (picture.Type == Format::Png ? ".png" : ".jpg");
    WriteFileInside(job.OutputFolder, folder + name, data);
    return {name, ShownSize(picture, natural)};
  }
  Size natural{picture.Width, picture.Height};
  if (picture.Type == Format::Wmf || picture.Type == Format::Emf) {  // \picw and \pich are hundredths of a millimetre
    auto pixels = [](int himetric) { return Clamped((static_cast<long long>(himetric) * 96 + 1270) / 2540); };
    natural = {pixels(picture.Width), pixels(picture.Height)};
  }
  Size shown = ShownSize(picture, natural);
  if (shown.Width <= 0 || shown.Height <= 0) shown = {Clamped(natural.Width), Clamped(natural.Height)};
  Bitmap bitmap;
  Render(picture, bitmap, shown);
  if (natural.Width <= 0 || natural.Height <= 0) shown = ShownSize(picture, {bitmap.Width(), bitmap.Height()});
  const ByteString name = base + ".png";
  TQelPNG png;
  png.Assign(&bitmap);
  png.SaveToFile(folder + name, job.OutputFolder);
  return {name, shown};
}

PictureAlignment AlignmentOf(Placement placement) {
  switch (placement) {
    case Placement::Left: return PictureAlignment::Left;
    case Placement::Right: return PictureAlignment::Right;
    default: return PictureAlignment::Centred;
  }
}

}  // namespace

ByteString PictureReferenceHtml(TopicPage& page, const Inline& reference) {
  std::vector<ByteString> names;
  std::size_t start = 0;
  while (start <= reference.Text.size()) {
    std::size_t end = reference.Text.find(U';', start);
    if (end == DocText::npos) end = reference.Text.size();
    ByteString name = PlainText(TrimBlanks(std::u32string_view(reference.Text).substr(start, end - start)));
    if (!name.empty()) names.push_back(name);
    start = end + 1;
  }
  if (names.empty()) return kMissingPicture;
  ByteString chosen = names[0];
  for (const ByteString& name : names) {
    if (FileExists(PictureFilePath(page.Job, name))) {
      chosen = name;
      break;
    }
  }
  return ConvertPictureFile(page, chosen, AlignmentOf(reference.Alignment), true);
}

ByteString EmbeddedPictureHtml(TopicPage& page, const DocumentFile& file, std::size_t index, Placement placement) {
  const EmbeddedPicture& picture = file.Document.Pictures.at(index);
  const ByteString number = DecimalText(static_cast<long long>(index + 1));
  const ByteString wanted = FitForFileName(file.Name) + "_" + number + (picture.Type == Format::Jpeg ? ".jpg" : ".png");
  const ByteString base = ChangeFileExt(page.Job.ImageNames.Claim(file.Path + "|" + number, wanted), "");
  try {
    if (picture.Type == Format::Segmented) {
      return ConvertHelpPicture(page, picture.Data, base + ".png", AlignmentOf(placement));
    }
    auto [name, size] = WritePicture(page.Job, picture, base);
    return "<img src=\"../img/" + name + "\" width=" + DecimalText(size.Width) + " height=" + DecimalText(size.Height) + ">";
  } catch (const EFCreateError&) {
    throw;
  } catch (const Exception& error) {
    page.Job.Warn(file.Path, "picture " + DecimalText(static_cast<long long>(index + 1)) + " of the file cannot be drawn: " + error.Message());
    return kMissingPicture;
  }
}

}  // namespace quorvex
