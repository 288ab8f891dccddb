#include "shg/RunLen.h"

#include <algorithm>

namespace quorvex {

std::vector<std::uint8_t> UnpackRunLen(std::span<const std::uint8_t> packed, std::size_t limit) {
  std::vector<std::uint8_t> out;
  std::size_t pos = 0;
  while (pos < packed.size() && out.size() < limit) {
    const std::uint8_t count = packed[pos++];
    const std::size_t room = limit - out.size();
    if (count & 0x80) {
      // Literal bytes past the end of the packed data are not there to copy.
      const std::size_t n = std::min<std::size_t>({count & 0x7Fu, packed.size() - pos, room});
      out.insert(out.end(), packed.begin() + pos, packed.begin() + pos + n);
      pos += count & 0x7Fu;
    } else if (pos < packed.size()) {
      out.insert(out.end(), std::min<std::size_t>(count, room), packed[pos++]);
    }
  }
  return out;
}

// The packer keeps one byte pending (read, not yet written), the literal
// bytes waiting before it and the length of the run that ends in it, so a
// run is noticed on its second byte and the literals before it go out first.
std::vector<std::uint8_t> PackRunLen(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  if (bytes.empty()) return out;
  std::vector<std::uint8_t> waiting;
  std::uint8_t pending = bytes[0];
  bool hasPending = true;
  int run = 0;
  auto flushLiterals = [&](std::size_t extra) {
    out.push_back(static_cast<std::uint8_t>(0x80 + waiting.size() + extra));
    out.insert(out.end(), waiting.begin(), waiting.end());
    waiting.clear();
  };
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    const std::uint8_t c = bytes[i];
    if (c == pending) {
      if (!waiting.empty()) flushLiterals(0);
      run = (run == 0 ? 1 : run) + 1;
      if (run == 127) {
        out.push_back(127);
        out.push_back(pending);
        run = 0;
        // The byte after a full run starts afresh, compared with nothing.
        hasPending = ++i < bytes.size();
        if (hasPending) pending = bytes[i];
      }
    } else if (run > 0) {
      out.push_back(static_cast<std::uint8_t>(run));
      out.push_back(pending);
      run = 0;
      pending = c;
    } else {
      waiting.push_back(pending);
      pending = c;
      if (waiting.size() == 127) flushLiterals(0);
    }
  }
  if (run > 0) {
    out.push_back(static_cast<std::uint8_t>(run));
    out.push_back(pending);
  } else if (!waiting.empty()) {
    flushLiterals(1);
    out.push_back(pending);
  } else if (hasPending) {
    out.push_back(0x81);
    out.push_back(pending);
  }
  return out;
}

}  // namespace quorvex
