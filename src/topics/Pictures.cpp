#include "topics/Pictures.h"

#include "base/Errors.h"
#include "base/Files.h"
#include "base/Texts.h"
#include "platform/Bitmap.h"
#include "project/SourceFiles.h"
#include "png/QelPNG.h"
#include "shg/shg.h"
#include "topics/JumpLinks.h"
#include "topics/PopupLinks.h"

namespace quorvex {

namespace {

const char* const kAlignmentAttributes[] = {"", " align=left", " align=right"};

// Where one picture comes from and goes to.
struct PictureFiles {
  ByteString Source;       ///< the picture in the project
  ByteString Output;       ///< the PNG under img\ of the output folder
  ByteString ImageSource;  ///< the PNG as the page refers to it
  ByteString Type;         ///< the extension, lower-cased, with its dot
};

// The picture is written into img\ itself under its file name, whatever
// folders the reference names ("bmp\a.bmp", "..\art\a.bmp", "C:\art\a.bmp").
PictureFiles FilesFor(ConversionJob& job, const ByteString& name) {
  const ByteString source = PictureFilePath(job, name);
  const ByteString pngName = job.ImageNames.Claim(source, LowerCase(ChangeFileExt(BareFileName(name), ".png")));
  return {source, job.OutputFolder + "img\\" + pngName, "../img/" + pngName, LowerCase(ExtractFileExt(name))};
}

// Segmented graphics and multi-resolution bitmaps share one layout; some
// projects ship plain BMP files under those names.
bool StartsLikeBmp(const ByteString& path) {
  ByteString head = ReadFile(path).substr(0, 2);
  return head == "BM";
}

void SaveAsPng(const Bitmap& bitmap, const ConversionJob& job, const ByteString& output) {
  TQelPNG png;
  png.Assign(&bitmap);
  png.SaveToFile(output, job.OutputFolder);
}

ByteString SizeAndAlignment(int width, int height, PictureAlignment alignment) {
  return " width=" + DecimalText(width) + " height=" + DecimalText(height) + kAlignmentAttributes[static_cast<int>(alignment)] +
         ">";
}

ByteString SizeAndAlignment(const Bitmap& bitmap, PictureAlignment alignment) {
  return SizeAndAlignment(bitmap.Width(), bitmap.Height(), alignment);
}

// One area per popup or jump hotspot; macros have no area. The coordinates
// are summed in full integers, so a rectangle reaching past 65535 keeps its size.
ByteString ImageMapAreas(TopicPage& page, const TShg& shg) {
  ByteString areas;
  for (std::int32_t i = 0; i < shg.HotSpotCount(); ++i) {
    const THotSpot& spot = shg.GetHotSpot(i);
    if (spot.Kind == 0) continue;
    areas += "<area shape=rect coords=\"" + DecimalText(spot.Left) + "," + DecimalText(spot.Top) + "," +
             DecimalText(int{spot.Left} + spot.Width) + "," + DecimalText(int{spot.Top} + spot.Height) +
             "\" a href=\"";
    if (spot.Kind == 1) {
      areas += PopupHref(AddPopupLink(page, spot.Target)) + "\">\r\n";
    } else {
      areas += AddJumpLink(page.Job, spot.Target) + "\">\r\n";
    }
  }
  return areas;
}

// The image of a picture `width` x `height` held by `shg`, with an image map for its hotspots.
ByteString SegmentedPictureTags(TopicPage& page, const TShg& shg, int width, int height, const ByteString& imageSource,
                                PictureAlignment alignment) {
  if (shg.HotSpotCount() < 1) return "<img src=\"" + imageSource + "\"" + SizeAndAlignment(width, height, alignment);
  const ByteString map = "test" + DecimalText(page.MapNumber);
  ByteString html = "<img src=\"" + imageSource + "\" usemap=\"#" + map + "\" border=0" +
                    SizeAndAlignment(width, height, alignment) + "\r\n<map name=\"" + map + "\">\r\n" +
                    ImageMapAreas(page, shg) + "</map>";
  ++page.MapNumber;
  return html;
}

// The picture `shg` holds, written as a PNG, with an image map for its hotspots.
ByteString SegmentedPictureHtml(TopicPage& page, const TShg& shg, const ByteString& output, const ByteString& imageSource,
                                PictureAlignment alignment) {
  Bitmap bitmap;
  shg.RenderToBitmap(bitmap);
  SaveAsPng(bitmap, page.Job, output);
  return SegmentedPictureTags(page, shg, bitmap.Width(), bitmap.Height(), imageSource, alignment);
}

ByteString ConvertSegmentedPicture(TopicPage& page, const PictureFiles& files, PictureAlignment alignment) {
  TShg shg;
  shg.FillShortPixelData = true;
  shg.LoadFromFile(files.Source);
  return SegmentedPictureHtml(page, shg, files.Output, files.ImageSource, alignment);
}

ByteString ConvertBitmapPicture(TopicPage& page, const PictureFiles& files, PictureAlignment alignment) {
  Bitmap bitmap;
  bitmap.LoadFromFile(files.Source);
  SaveAsPng(bitmap, page.Job, files.Output);
  return "<img src=\"" + files.ImageSource + "\"" + SizeAndAlignment(bitmap, alignment);
}

ByteString ConvertPictureFiles(TopicPage& page, const PictureFiles& files, PictureAlignment alignment, bool metafiles) {
  bool segmented = files.Type == ".shg" || files.Type == ".mrb";
  if (segmented && !StartsLikeBmp(files.Source)) return ConvertSegmentedPicture(page, files, alignment);
  if (metafiles && (files.Type == ".wmf" || files.Type == ".emf")) return ConvertSegmentedPicture(page, files, alignment);
  const bool bitmap = files.Type == ".bmp" || (metafiles && files.Type == ".dib");
  if (!bitmap && !segmented) return kMissingPicture;
  return ConvertBitmapPicture(page, files, alignment);
}

}  // namespace

ByteString ConvertPictureFile(TopicPage& page, const ByteString& name, PictureAlignment alignment, bool metafiles) {
  const PictureFiles files = FilesFor(page.Job, name);
  if (!FileExists(files.Source)) {
    page.Job.Warn(files.Source, "picture not found");
    return kMissingPicture;
  }
  try {
    return ConvertPictureFiles(page, files, alignment, metafiles);
  } catch (const EFCreateError&) {
    throw;  // the output, not the picture, is at fault
  } catch (const Exception& error) {
    if (!page.Job.KeepGoing) throw;
    page.Job.Warn(files.Source, error.Message());
    return kMissingPicture;
  }
}

ByteString ConvertHelpPicture(TopicPage& page, std::span<const std::uint8_t> picture, const ByteString& pngName,
                              PictureAlignment alignment) {
  TShg shg;
  shg.FillShortPixelData = true;
  shg.LoadFromHelpPicture(picture);
  // Bullets and icons recur on many pages: each is drawn and written once.
  auto [written, first] = page.Job.HelpPictures.try_emplace(pngName);
  if (first) {
    try {
      Bitmap bitmap;
      shg.RenderToBitmap(bitmap);
      SaveAsPng(bitmap, page.Job, page.Job.OutputFolder + "img\\" + pngName);
      written->second = {bitmap.Width(), bitmap.Height()};
    } catch (...) {
      page.Job.HelpPictures.erase(written);
      throw;
    }
  }
  return SegmentedPictureTags(page, shg, written->second.first, written->second.second, "../img/" + pngName, alignment);
}

ByteString ConvertPicture(TopicPage& page, LineCursor& cursor, PictureAlignment alignment) {
  const std::size_t start = cursor.Position();
  cursor.AdvanceTo('\\');
  const ByteString name(cursor.Line().substr(start, cursor.Position() - start));
  if (cursor.Is('\\')) cursor.Step(2);  // the backslash and the brace of the closing "\}"
  return ConvertPictureFile(page, name, alignment);
}

}  // namespace quorvex
