#pragma once
// The errors of the DIB model. Each carries one fixed English message naming
// the class and operation that refused.

#include "base/Errors.h"

namespace quorvex {

/// Base of every DIB error.
class EVxDIBError : public Exception {
 public:
  using Exception::Exception;
};

/// The picture's header or pixel data is not a DIB this model handles.
class EVxDIBInvalidDIB : public EVxDIBError {
 public:
  using EVxDIBError::EVxDIBError;
};

/// The file is not a BMP file.
class EVxDIBInvalidDIBFile : public EVxDIBError {
 public:
  using EVxDIBError::EVxDIBError;
};

/// A size, bit count or colour count given by the caller is out of range.
class EVxDIBInvalidDIBPara : public EVxDIBError {
 public:
  using EVxDIBError::EVxDIBError;
};

/// A converter was handed a DIB of the wrong bit count or compression.
class EVxDIBBadDIBType : public EVxDIBError {
 public:
  using EVxDIBError::EVxDIBError;
};

/// A palette without entries was given.
class EVxDIBInvalidPalette : public EVxDIBError {
 public:
  using EVxDIBError::EVxDIBError;
};

/// Run-length data would have grown past the uncompressed size.
class EVxDIBCompressionFailed : public EVxDIBError {
 public:
  using EVxDIBError::EVxDIBError;
};

/// A canvas cannot be made over the DIB.
class EVxDIBCanvasFailed : public EVxDIBError {
 public:
  using EVxDIBError::EVxDIBError;
};

}  // namespace quorvex
