#pragma once
// The errors the platform raises when it runs out of a resource.

#include "base/Errors.h"

namespace quorvex {

/// A system resource (a memory mapping, a device context, a palette) could
/// not be made.
class EOutOfResources : public Exception {
 public:
  using Exception::Exception;
};

/// Memory could not be allocated: "Out of memory" unless a message is given.
class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("Out of memory") {}
  using Exception::Exception;
};

}  // namespace quorvex
