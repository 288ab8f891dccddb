#pragma once
// Compiles an HTML Help project (.hhp) into a compiled help (.chm): every
// file the project lists, and every local file its pages, contents and index
// refer to, under its path; the system files; the context ids of [MAP] with
// the pages of [ALIAS]. The same project gives the same bytes.

#include "base/ByteString.h"

namespace quorvex {

/// Where the compiler reports: problems that do not stop it, and progress.
class ChmReporter {
 public:
  virtual ~ChmReporter() = default;
  /// `file` (a name in the project) and what is wrong with it.
  virtual void Warn(const ByteString& file, const ByteString& what) = 0;
  virtual void Status(const ByteString& /*text*/) {}
};

/// Compiles `folder` + `projectName` (engine paths; the folder ends in "\")
/// and writes the compiled file the project names, which must lie in the
/// folder; returns its engine path. `compiler` goes into #SYSTEM. Raises an
/// Exception when the project cannot be read, lists a file that does not
/// exist or one outside its folder, or when the file cannot be written.
ByteString CompileHelpProject(const ByteString& folder, const ByteString& projectName, const ByteString& compiler,
                              ChmReporter& reporter);

}  // namespace quorvex
