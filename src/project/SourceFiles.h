#pragma once
// Where the project's input files are: topic files under the ROOT= folders,
// pictures under the BMROOT= folders, then the project folder.

#include "base/ByteString.h"
#include "job/ConversionJob.h"

namespace quorvex {

/// The path of a folder the project names: relative names are relative to
/// ProjectFolder; "\..." and drive paths ("C:\...") stand as they are.
ByteString ProjectFolderPath(const ConversionJob& job, const ByteString& folder);

/// A ROOT= or BMROOT= folder as it is here: itself when it is relative or
/// exists; a path of the author's machine that does not exist as the longest
/// tail of it that is a folder below the project ("C:\work\help\bmp" ->
/// "help\bmp" or "bmp"); empty when none is.
ByteString LocalFolder(const ConversionJob& job, const ByteString& folder);

/// The file name of a path without its folders; "\", "/" and ":" all separate.
ByteString BareFileName(const ByteString& name);

/// True for "\..." and drive paths ("C:\...").
bool IsAbsoluteProjectPath(const ByteString& path);

/// The file `name` of the project (CNT=, an #include): relative names are
/// relative to ProjectFolder. A name with folders that lead to no file here
/// (a path of the machine the help was written on) is looked up by its file
/// name, with a warning that says where it was found (also for topic files and
/// pictures).
ByteString ProjectFilePath(const ConversionJob& job, const ByteString& name);

/// The topic file `name`: the first of the ROOT= folders and then
/// the project folder that holds it; when none does, the path in the first of
/// them, which is the path a missing file is reported by.
ByteString TopicFilePath(const ConversionJob& job, const ByteString& name);

/// The picture `name`, looked up the same way in the BMROOT= folders and
/// then the project folder, and at last among the [BITMAPS] files of its
/// file name.
ByteString PictureFilePath(const ConversionJob& job, const ByteString& name);

}  // namespace quorvex
