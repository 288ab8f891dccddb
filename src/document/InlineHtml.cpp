#include "document/InlineHtml.h"

#include <cstdio>

#include "document/DocumentPictures.h"
#include "document/Hotspots.h"
#include "document/TextOutput.h"

namespace quorvex {
namespace {

// The size of text against the document's body text, as a relative HTML font
// size; null when it is the body's size or either is not known.
const char* RelativeSize(int size, int body) {
  if (size <= 0 || body <= 0 || size == body) return nullptr;
  const double ratio = static_cast<double>(size) / body;
  if (ratio >= 2.0) return "+3";
  if (ratio >= 1.5) return "+2";
  if (ratio > 1.05) return "+1";
  if (ratio < 0.75) return "-2";
  if (ratio < 0.95) return "-1";
  return nullptr;
}

}  // namespace

std::vector<InlineHtml::Tag> InlineHtml::TagsFor(const CharFormat& format) const {
  std::vector<Tag> tags;
  const auto& colors = file_.Document.Colors;
  if (format.Color >= 0 && static_cast<std::size_t>(format.Color) < colors.size() && colors[format.Color]) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%06x", *colors[format.Color] & 0xFFFFFF);
    tags.push_back({'c', ByteString("<font color=#") + digits + ">", "</font>"});
  }
  if (const char* size = RelativeSize(format.FontSize, file_.Document.BodyFontSize)) {
    tags.push_back({'z', ByteString("<font size=") + size + ">", "</font>"});
  }
  if (format.Bold) tags.push_back(nonScrolling_ ? Tag{'b', "<h4>", "</h4>"} : Tag{'b', "<b>", "</b>"});
  if (format.Italic) tags.push_back({'i', "<i>", "</i>"});
  if (format.Superscript) tags.push_back({'p', "<sup>", "</sup>"});
  if (format.Subscript) tags.push_back({'s', "<sub>", "</sub>"});
  return tags;
}

void InlineHtml::FormatFor(const CharFormat& format) {
  std::vector<Tag> wanted = TagsFor(format);
  std::size_t keep = 0;
  while (keep < open_.size() && keep < wanted.size() && open_[keep] == wanted[keep]) ++keep;
  while (open_.size() > keep) {
    out_ += open_.back().Close;
    open_.pop_back();
  }
  for (std::size_t i = keep; i < wanted.size(); ++i) {
    out_ += wanted[i].Open;
    open_.push_back(wanted[i]);
  }
}

void InlineHtml::CloseTags() {
  while (!open_.empty()) {
    out_ += open_.back().Close;
    open_.pop_back();
  }
}

void InlineHtml::Piece(const Inline& piece) {
  switch (piece.Kind) {
    case InlineKind::Text:
      if (piece.Format.Hidden) return;
      FormatFor(piece.Format);
      out_ += HtmlText(piece.Text);
      return;
    case InlineKind::Tab: out_ += ' '; return;
    case InlineKind::LineBreak: out_ += "<br>"; return;
    case InlineKind::PictureRef:
      out_ += PictureReferenceHtml(page_, piece);
      page_.Job.Advance();
      return;
    case InlineKind::Picture:
      out_ += EmbeddedPictureHtml(page_, file_, piece.PictureIndex, piece.Alignment);
      page_.Job.Advance();
      return;
    case InlineKind::Anchor:
      if (!piece.Text.empty()) out_ += "<a name=\"" + HtmlText(piece.Text) + "\"></a>";
      return;
    case InlineKind::LinkStart: {
      if (inFieldLink_) return;
      std::optional<ByteString> href = links_.Url(PlainText(piece.Text));
      if (!href) return;  // the field's text stays, unlinked
      CloseTags();
      out_ += "<a href=\"" + *href + "\">";
      inFieldLink_ = true;
      return;
    }
    case InlineKind::LinkEnd:
      if (!inFieldLink_) return;
      CloseTags();
      out_ += "</a>";
      inFieldLink_ = false;
      return;
    case InlineKind::Button: {
      CloseTags();
      std::optional<ByteString> href = links_.Button(page_, piece.Target);
      if (href) out_ += "<a href=\"" + *href + "\">";
      out_ += HtmlText(piece.Text.empty() ? DocText(U"\u25B6") : piece.Text);
      if (href) out_ += "</a>";
      return;
    }
  }
}

ByteString InlineHtml::Paragraph(const quorvex::Paragraph& paragraph, bool nonScrolling) {
  out_.clear();
  open_.clear();
  nonScrolling_ = nonScrolling;
  inFieldLink_ = false;
  for (const Stretch& stretch : SplitHotspots(paragraph)) {
    if (!stretch.Hotspot) {
      Piece(paragraph.Inlines[stretch.First]);
      continue;
    }
    std::optional<ByteString> href;
    if (!inFieldLink_) href = links_.Hotspot(page_, stretch.Target, stretch.Jump);
    if (href) {
      CloseTags();
      out_ += "<a href=\"" + *href + "\">";
    }
    for (std::size_t i = stretch.First; i < stretch.Last; ++i) Piece(paragraph.Inlines[i]);
    if (href) {
      CloseTags();
      out_ += "</a>";
    }
  }
  CloseTags();
  if (inFieldLink_) out_ += "</a>";
  return out_;
}

}  // namespace quorvex
