#pragma once
// |SYSTEM: the help's version and compression, and what the project file
// said: title, copyright, contents topic, start-up macros, windows, language.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/ByteString.h"
#include "hlp/HelpFileSystem.h"

namespace quorvex {

/// A window of the project's [WINDOWS] section.
struct HelpWindow {
  ByteString Type, Name, Caption;
  std::optional<std::uint32_t> Background;  ///< 0xRRGGBB of the scrolling region, when given
};

struct SystemInfo {
  std::uint16_t Minor = 0;  ///< 15: WinHelp 3.0; 21: 3.1; 33: 4.0
  std::uint16_t Flags = 0;  ///< 4 or 8: the topic text is LZ77-packed
  ByteString Title;         ///< bytes in the help's code page
  ByteString Copyright;
  std::optional<std::uint32_t> ContentsOffset;  ///< topic offset of the contents topic (3.1 on)
  std::vector<ByteString> Macros;               ///< run when the help opens
  std::vector<HelpWindow> Windows;
  int Language = 0;             ///< the Windows language id, 0 when not said
  int Charset = -1;             ///< the character set, -1 when not said
  ByteString ContentsFileName;  ///< the .cnt the help names

  /// Help files of WinHelp 3.0 number their topics and keep no hashes.
  bool IsVersion30() const { return Minor <= 16; }
  /// The size of a block of |TOPIC as stored: 2 KB in WinHelp 3.0 and with
  /// flag 8, else 4 KB.
  std::size_t TopicBlockSize() const { return IsVersion30() || (Flags & 8) != 0 ? 2048 : 4096; }
  /// Whether each topic block is LZ77-packed (flag 4 or 8), and then expands
  /// to 16384 bytes at most.
  bool TopicsPacked() const { return !IsVersion30() && (Flags & 0x0C) != 0; }
};

/// Reads |SYSTEM. A file that is none raises EHelpFileError; records that
/// cannot be read are left out, as problems.
SystemInfo ReadSystem(const InternalFile& file, ReadProblems& problems);

}  // namespace quorvex
