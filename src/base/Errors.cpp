#include "base/Errors.h"

#include "base/Encoding.h"
#include "base/Files.h"
#include "base/Texts.h"

namespace quorvex {

std::string Exception::DisplayMessage() const { return DisplayText(message_); }

EFileError::EFileError(const char* pattern, std::string_view path)
    : Exception(FormatText(pattern, path)), pattern_(pattern), path_(path) {}

// Engine paths use backslashes; the user knows the file by its native path.
std::string EFileError::DisplayMessage() const { return FormatText(DisplayText(pattern_), NativePath(path_)); }

EFOpenError::EFOpenError(std::string_view path) : EFileError(kFileOpenError, path) {}

EFCreateError::EFCreateError(std::string_view path) : EFileError(kFileCreateError, path) {}

EConvertError::EConvertError(std::string_view text) : Exception(FormatText(kNotAnInteger, text)) {}

EListError::EListError(long long index) : Exception(FormatText(kListIndexError, DecimalText(index))) {}

}  // namespace quorvex
