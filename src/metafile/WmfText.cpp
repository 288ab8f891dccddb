// The text records: bytes decoded by the selected font's character set,
// glyphs from fontconfig fonts drawn by cairo with antialiasing off, placed
// by the text alignment, the character spacing and the records' advances.

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/Encoding.h"
#include "metafile/CharsetText.h"
#include "metafile/WmfPlayer.h"

namespace quorvex {

namespace {

constexpr std::uint16_t kEtoOpaque = 0x0002;
constexpr std::uint16_t kEtoClipped = 0x0004;
constexpr std::uint16_t kTaUpdateCp = 0x0001;
constexpr std::uint16_t kTaRight = 0x0002;
constexpr std::uint16_t kTaCenter = 0x0006;
constexpr std::uint16_t kTaBottom = 0x0008;
constexpr std::uint16_t kTaBaseline = 0x0018;

// The pixel size of a font whose height is 0: GDI's default of 12 points at 96 dpi.
constexpr double kDefaultEm = 16;
// Largest em drawn, in pixels; larger fonts only cost time.
constexpr double kMaxEm = 4096;

std::string FaceNameUtf8(const ByteString& face) {
  if (std::optional<std::string> utf8 = Cp932ToUtf8(face)) return *utf8;
  std::string out;  // not code page 932: taken as Latin-1
  for (unsigned char c : face) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

cairo_font_options_t* AliasedOptions() {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  return options;
}

// A face at a size, for measuring.
class ScaledFont {
 public:
  ScaledFont(cairo_font_face_t* face, double emX, double emY) {
    cairo_matrix_t matrix, identity;
    cairo_matrix_init_scale(&matrix, emX, emY);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = AliasedOptions();
    font_ = cairo_scaled_font_create(face, &matrix, &identity, options);
    cairo_font_options_destroy(options);
  }
  ~ScaledFont() { cairo_scaled_font_destroy(font_); }
  ScaledFont(const ScaledFont&) = delete;
  ScaledFont& operator=(const ScaledFont&) = delete;

  bool Ok() const { return cairo_scaled_font_status(font_) == CAIRO_STATUS_SUCCESS; }
  cairo_font_extents_t Extents() const {
    cairo_font_extents_t e{};
    if (Ok()) cairo_scaled_font_extents(font_, &e);
    return e;
  }
  double Advance(const std::string& utf8) const {
    cairo_text_extents_t e{};
    if (Ok()) cairo_scaled_font_text_extents(font_, utf8.c_str(), &e);
    return e.x_advance;
  }

 private:
  cairo_scaled_font_t* font_;
};

}  // namespace

void WmfPlayer::TextOut(ByteReader& p) {
  const std::int16_t count = p.I16LE();
  if (count < 0) return;
  std::span<const std::uint8_t> text = p.Bytes(static_cast<std::size_t>(count));
  if (count % 2) p.U8();
  const double y = p.I16LE();
  const double x = p.I16LE();
  DrawText(x, y, text, nullptr, 0, std::nullopt);
}

void WmfPlayer::ExtTextOut(ByteReader& p) {
  const double y = p.I16LE();
  const double x = p.I16LE();
  const std::int16_t count = p.I16LE();
  const std::uint16_t options = p.U16LE();
  if (count < 0) return;
  const std::size_t padded = (static_cast<std::size_t>(count) + 1) / 2 * 2;
  // Some writers store the rectangle without the flags that call for it;
  // the record's size tells.
  const std::size_t rest = p.Remaining();
  const bool rectFlags = (options & (kEtoOpaque | kEtoClipped)) != 0;
  const std::size_t advances = 2 * static_cast<std::size_t>(count);
  const bool fitsWithout = rest == padded || rest == padded + advances;
  const bool rectStored = rectFlags || (!fitsWithout && (rest == 8 + padded || rest == 8 + padded + advances));
  std::optional<LogicalRect> rect;
  if (rectStored) {
    LogicalRect r;
    r.Left = p.I16LE();
    r.Top = p.I16LE();
    r.Right = p.I16LE();
    r.Bottom = p.I16LE();
    if (rectFlags) rect = r;
  }
  std::span<const std::uint8_t> text = p.Bytes(static_cast<std::size_t>(count));
  if (count % 2 && p.Remaining() > 0) p.U8();
  std::vector<std::int16_t> dx;
  if (p.Remaining() >= 2 * static_cast<std::size_t>(count)) {
    for (std::int16_t i = 0; i < count; ++i) dx.push_back(p.I16LE());
  }
  DrawText(x, y, text, dx.empty() ? nullptr : &dx, options, rect);
}

void WmfPlayer::DrawText(double x, double y, std::span<const std::uint8_t> bytes, const std::vector<std::int16_t>* dx,
                         std::uint16_t options, const std::optional<LogicalRect>& rect) {
  const std::vector<TextChar> chars = DecodeCharsetText(bytes, dc_.Font.Charset);
  std::vector<double> advances;
  if (dx) {
    // One advance per byte; a two-byte character moves by the sum of its pair.
    std::size_t at = 0;
    for (const TextChar& c : chars) {
      double sum = 0;
      for (int i = 0; i < c.Bytes && at < dx->size(); ++i) sum += (*dx)[at++];
      advances.push_back(sum);
    }
  }
  DrawDecodedText(x, y, chars, dx ? &advances : nullptr, options, rect);
}

// Where the characters of one text go, in device pixels.
struct TextLayout {
  double Em = 0;   // pixels per em, vertically
  double EmX = 0;  // and horizontally
  cairo_font_extents_t Extents{};
  std::vector<double> Widths;
  double Total = 0;
  double Angle = 0;         // radians, counter-clockwise
  double Ux = 1, Uy = 0;    // along the baseline
  double Vx = 0, Vy = 1;    // down from it
  DPoint Origin;            // start of the baseline

  DPoint At(double along, double down) const {
    return {Origin.X + Ux * along + Vx * down, Origin.Y + Uy * along + Vy * down};
  }
  // The text's cell: from the ascent above the baseline to the descent below.
  Figure Cell() const {
    return {At(0, -Extents.ascent), At(Total, -Extents.ascent), At(Total, Extents.descent), At(0, Extents.descent)};
  }
};

namespace {

FontRequest RequestFor(const FontObject& font) {
  FontRequest request;
  request.Family = FaceNameUtf8(font.FaceName);
  request.Bold = font.Weight >= 600;
  request.Italic = font.Italic;
  request.Japanese = IsJapaneseCharset(font.Charset);
  request.PitchAndFamily = font.PitchAndFamily;
  return request;
}

// Pixels per em of `font` under the mapping, at most kMaxEm.
double EmPixels(const FontObject& font, cairo_font_face_t* face, double scaleY) {
  double em = kDefaultEm;
  if (font.Height < 0) {
    em = -font.Height * scaleY;
  } else if (font.Height > 0) {
    // A positive height is the cell (ascent + descent), not the em.
    const cairo_font_extents_t unit = ScaledFont(face, 1, 1).Extents();
    const double cell = unit.ascent + unit.descent;
    em = font.Height * scaleY / (cell > 0 ? cell : 1);
  }
  return std::min(em, kMaxEm);
}

// A bar along the baseline, `offset` below it, for underlines and strike-outs.
void AddBar(cairo_t* cr, const TextLayout& t, double offset, double thickness) {
  const DPoint a = t.At(0, offset), b = t.At(t.Total, offset);
  const DPoint c = t.At(t.Total, offset + thickness), d = t.At(0, offset + thickness);
  cairo_move_to(cr, a.X, a.Y);
  cairo_line_to(cr, b.X, b.Y);
  cairo_line_to(cr, c.X, c.Y);
  cairo_line_to(cr, d.X, d.Y);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace

void WmfPlayer::DrawDecodedText(double x, double y, const std::vector<TextChar>& chars,
                                const std::vector<double>* advances, std::uint16_t options,
                                const std::optional<LogicalRect>& rect) {
  std::optional<Figure> box;
  if (rect) {
    IPoint a, b;
    DeviceBox(*rect, a, b);
    box = Figure{{double(a.X), double(a.Y)}, {double(b.X), double(a.Y)}, {double(b.X), double(b.Y)},
                 {double(a.X), double(b.Y)}};
  }
  BrushObject background;
  background.Color = dc_.BkColor;
  // The opaque rectangle is filled even without text: records use it to paint boxes.
  const bool opaqueBox = box && (options & kEtoOpaque);
  if (opaqueBox) PaintCoverage(Coverage::Fill(raster_, {*box}, false), background, 13);

  const FontRequest request = RequestFor(dc_.Font);
  std::optional<TextLayout> layout = LayOutText(x, y, chars, advances, request);
  if (!layout) return;
  if (!opaqueBox && dc_.BkMode == 2 && layout->Total != 0) {
    PaintCoverage(Coverage::Fill(raster_, {layout->Cell()}, false), background, 13);
  }
  PaintGlyphs(*layout, chars, request, (options & kEtoClipped) ? box : std::nullopt);
}

std::optional<TextLayout> WmfPlayer::LayOutText(double x, double y, const std::vector<TextChar>& chars,
                                                const std::vector<double>* advances, const FontRequest& request) {
  const FontObject& font = dc_.Font;
  const PageMapping& m = dc_.Mapping;
  cairo_font_face_t* face = fonts_.Face(request);
  if (!face || chars.empty()) return std::nullopt;
  TextLayout t;
  const double scaleX = std::abs(m.ScaleX());
  t.Em = EmPixels(font, face, std::abs(m.ScaleY()));
  if (!(t.Em >= 0.5)) return std::nullopt;
  // A width asks for that average character width; the fonts' average is about half an em.
  t.EmX = font.Width != 0 ? std::min(std::abs(font.Width * scaleX) * 2, kMaxEm) : t.Em;

  const ScaledFont measure(face, t.EmX, t.Em);
  t.Extents = measure.Extents();
  for (std::size_t i = 0; i < chars.size(); ++i) {
    double w;
    if (advances) {
      w = i < advances->size() ? (*advances)[i] * scaleX : 0;
    } else {
      cairo_font_face_t* own = fonts_.FaceFor(request, chars[i].Code);
      w = (own == face ? measure.Advance(chars[i].Utf8) : ScaledFont(own, t.EmX, t.Em).Advance(chars[i].Utf8)) +
          dc_.TextCharExtra * scaleX;
    }
    t.Widths.push_back(w);
    t.Total += w;
  }

  t.Angle = font.Escapement / 10.0 * std::numbers::pi / 180;
  t.Ux = std::cos(t.Angle), t.Uy = -std::sin(t.Angle);
  t.Vx = -t.Uy, t.Vy = t.Ux;
  const bool useCp = (dc_.TextAlign & kTaUpdateCp) != 0;
  DPoint ref = m.ToDevice(useCp ? dc_.CurrentX : x, useCp ? dc_.CurrentY : y);
  ref = {std::floor(ref.X + 0.5), std::floor(ref.Y + 0.5)};
  const std::uint16_t horizontal = dc_.TextAlign & kTaCenter;
  const std::uint16_t vertical = dc_.TextAlign & kTaBaseline;
  const double along = horizontal == kTaCenter ? -t.Total / 2 : horizontal == kTaRight ? -t.Total : 0;
  const double down = vertical == kTaBaseline ? 0 : vertical == kTaBottom ? -t.Extents.descent : t.Extents.ascent;
  t.Origin = {ref.X + t.Ux * along + t.Vx * down, ref.Y + t.Uy * along + t.Vy * down};
  if (useCp && horizontal == 0) {
    const DPoint end = m.ToLogical(ref.X + t.Ux * t.Total, ref.Y + t.Uy * t.Total);
    dc_.CurrentX = end.X, dc_.CurrentY = end.Y;
  }
  return t;
}

void WmfPlayer::PaintGlyphs(const TextLayout& t, const std::vector<TextChar>& chars, const FontRequest& request,
                            const std::optional<Figure>& clip) {
  double left = kDeviceLimit, top = kDeviceLimit, right = -kDeviceLimit, bottom = -kDeviceLimit;
  for (const DPoint& p : t.Cell()) {
    left = std::min(left, p.X), top = std::min(top, p.Y), right = std::max(right, p.X), bottom = std::max(bottom, p.Y);
  }
  const double margin = t.Em + 2;
  cairo_font_options_t* fontOptions = AliasedOptions();
  Coverage glyphs(raster_, left - margin, top - margin, right + margin, bottom + margin, [&](cairo_t* cr) {
    if (clip) {
      cairo_rectangle(cr, (*clip)[0].X, (*clip)[0].Y, (*clip)[2].X - (*clip)[0].X, (*clip)[2].Y - (*clip)[0].Y);
      cairo_clip(cr);
    }
    cairo_set_font_options(cr, fontOptions);
    cairo_matrix_t matrix, turn;
    cairo_matrix_init_scale(&matrix, t.EmX, t.Em);
    cairo_matrix_init_rotate(&turn, -t.Angle);
    cairo_matrix_multiply(&matrix, &matrix, &turn);
    double pen = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      if (chars[i].Code >= 0x20) {
        cairo_set_font_face(cr, fonts_.FaceFor(request, chars[i].Code));
        cairo_set_font_matrix(cr, &matrix);
        const DPoint at = t.At(pen, 0);
        cairo_move_to(cr, at.X, at.Y);
        cairo_show_text(cr, chars[i].Utf8.c_str());
      }
      pen += t.Widths[i];
    }
    const double thickness = std::max(1.0, std::round(t.Em / 14));
    if (dc_.Font.Underline) AddBar(cr, t, std::max(1.0, std::round(t.Extents.descent / 3)), thickness);
    if (dc_.Font.StrikeOut) AddBar(cr, t, -std::round(t.Extents.ascent / 3), thickness);
  });
  cairo_font_options_destroy(fontOptions);
  const Rgb color = Resolve(dc_.TextColor);
  glyphs.ForEach([&](std::int32_t px, std::int32_t py) { raster_.Put(px, py, color); });
}

}  // namespace quorvex
