// Every prefix and every single-byte corruption of a few valid metafiles:
// the reader refuses cleanly or plays, never crashes (the sanitizer build
// reports any read outside the data).

#include <gtest/gtest.h>

#include <functional>

#include "metafile/Metafile.h"
#include "support/BmpBuilder.h"
#include "support/EmfBuilder.h"
#include "support/MetafileProbe.h"
#include "support/TempDir.h"
#include "support/WmfBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;

void PlaySafely(const Bytes& placeable) {
  try {
    Metafile metafile(placeable);
    Bitmap target(48, 32, PixelFormat::Bit24);
    metafile.Draw(target, 0, 0);
  } catch (const EInvalidGraphic&) {
  }
}

void TranslateSafely(const Bytes& emf) {
  try {
    PlaySafely(EnhancedToPlaceableMetafile(emf));
  } catch (const EInvalidGraphic&) {
  }
}

// Every prefix, and every byte flipped in all bits and in its top bit.
void Mutate(const Bytes& original, const std::function<void(const Bytes&)>& use) {
  for (std::size_t n = 0; n < original.size(); ++n) use(Bytes(original.begin(), original.begin() + n));
  for (std::size_t i = 0; i < original.size(); ++i) {
    for (std::uint8_t mask : {0xFF, 0x80}) {
      Bytes copy = original;
      copy[i] ^= mask;
      use(copy);
    }
  }
}

Bytes Shapes() {
  test::WmfBuilder b;
  b.SetWindowExt(48, 32).CreatePen(0, 3, 0x0000FF).SelectObject(0).CreateBrush(2, 0x00FF00, 5).SelectObject(1);
  b.Ellipse(1, 1, 20, 15).Polygon({30, 2, 46, 10, 30, 20}).Record(0x081A, {0, 10, 10, 20, 20, 20, 0, 0});
  b.SaveDC().IntersectClipRect(0, 0, 24, 16).Rectangle(2, 2, 40, 30).RestoreDC(-1);
  b.Record(0x0538, {2, 3, 3, 0, 0, 5, 0, 0, 5, 10, 10, 15, 10, 10, 15});  // PolyPolygon
  return b.Placeable(0, 0, 48, 32, 96);
}

Bytes TextAndBitmap() {
  test::BmpBuilder bmp;
  bmp.Width = 3;
  bmp.Height = 2;
  bmp.BitCount = 8;
  bmp.ClrUsed = 2;
  bmp.Colors = {{255, 0, 0}, {0, 0, 255}};
  bmp.Compression = 1;
  bmp.Pixels = {3, 1, 0, 0, 2, 0, 0, 1};
  const Bytes file = bmp.Build();
  test::WmfBuilder b;
  b.CreateFont(-12, 128, test::Sjis("ＭＳ ゴシック")).SelectObject(0);
  b.ExtTextOut(2, 2, 0, test::Sjis("図の文字"), {12, 0, 12, 0, 12, 0, 12, 0});
  b.StretchDib(Bytes(file.begin() + 14, file.end()), 0, 20, 12, 8, 3, 2);
  return b.Placeable(0, 0, 48, 32, 96);
}

Bytes Enhanced() {
  test::EmfBuilder emf;
  emf.CreateBrush(1, 0, 0x0000FF).SelectObject(1).Rectangle(2, 2, 20, 12);
  emf.Polygon({24, 2, 40, 2, 32, 14});
  emf.CreateFont(2, -10, 128, u"ＭＳ ゴシック").SelectObject(2).TextOut(2, 16, u"日本");
  return emf.Build(0, 0, 1270, 847);
}

TEST(MetafileMutation, CutAndCorruptedMetafilesNeverCrash) {
  Mutate(Shapes(), PlaySafely);
  Mutate(TextAndBitmap(), PlaySafely);
}

TEST(MetafileMutation, CutAndCorruptedEnhancedMetafilesNeverCrash) { Mutate(Enhanced(), TranslateSafely); }

}  // namespace
}  // namespace quorvex
