#pragma once
// The exception types of the engine. Every error a user can meet carries its
// message as Shift-JIS bytes; the window and the command line convert it.

#include <exception>
#include <string>

#include "base/ByteString.h"

namespace quorvex {

/// Base of every error the engine raises.
class Exception : public std::exception {
 public:
  explicit Exception(ByteString message) : message_(std::move(message)) {}
  /// The message in Shift-JIS bytes.
  const ByteString& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  /// The message in UTF-8 for the terminal and the window.
  virtual std::string DisplayMessage() const;

 private:
  ByteString message_;
};

/// An error about one file; shown to the user with the file's native path.
class EFileError : public Exception {
 public:
  EFileError(const char* pattern, std::string_view path);
  const ByteString& Path() const { return path_; }
  std::string DisplayMessage() const override;

 private:
  const char* pattern_;
  ByteString path_;
};

/// An input file cannot be opened: "ファイル %s は開けません".
class EFOpenError : public EFileError {
 public:
  explicit EFOpenError(std::string_view path);
};

/// An output file cannot be created: "ファイル %s を作成できません".
class EFCreateError : public EFileError {
 public:
  explicit EFCreateError(std::string_view path);
};

/// A text is not an integer: "'%s' は整数ではありません".
class EConvertError : public Exception {
 public:
  explicit EConvertError(std::string_view text);
};

/// A list position out of range: "リストのインデックスが範囲を超えています (%d)".
class EListError : public Exception {
 public:
  explicit EListError(long long index);
};

/// A broken internal invariant. Raised by QV_ASSERT; never aborts the process.
class EAssertionFailed : public Exception {
 public:
  using Exception::Exception;
};

/// Reading binary data ran past its end.
class EReadPastEnd : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace quorvex

#define QV_ASSERT(cond, message)                                      \
  do {                                                                \
    if (!(cond)) throw ::quorvex::EAssertionFailed(message);          \
  } while (0)
