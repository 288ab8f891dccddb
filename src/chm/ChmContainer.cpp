#include "chm/ChmContainer.h"

#include <algorithm>
#include <set>

#include "base/Errors.h"
#include "chm/ChmBytes.h"
#include "chm/ChmDirectory.h"
#include "chm/ChmNames.h"
#include "chm/LzxFormat.h"

namespace quorvex {
namespace {

constexpr char kStorage[] = "::DataSpace/Storage/MSCompressed/";
constexpr char kTransformGuid[] = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}";
constexpr std::uint32_t kHeaderSize = 0x60;
constexpr std::uint32_t kHeaderSection0Size = 0x18;

std::string Utf16(std::string_view ascii) {
  std::string out;
  for (char c : ascii) AppendU16(out, static_cast<unsigned char>(c));
  return out;
}

// The names of the two sections, in UTF-16 with their lengths.
std::string NameList() {
  std::string body;
  AppendU16(body, 2);
  for (const char* name : {"Uncompressed", "MSCompressed"}) {
    AppendU16(body, static_cast<std::uint32_t>(std::string_view(name).size()));
    body += Utf16(name);
    AppendU16(body, 0);
  }
  std::string out;
  AppendU16(out, static_cast<std::uint32_t>((body.size() + 2) / 2));
  return out + body;
}

// Window and reset interval in units of 32 KiB (version 2 of the control data).
std::string ControlData(const LzxSettings& lzx) {
  std::string out;
  AppendU32(out, 6);
  out += "LZXC";
  AppendU32(out, 2);
  AppendU32(out, static_cast<std::uint32_t>(lzx.resetFrames));
  AppendU32(out, (std::uint32_t{1} << lzx.windowBits) / kLzxFrameSize);
  AppendU32(out, 1);  // cache size: chmlib multiplies the reset interval by it
  AppendU32(out, 0);
  return out;
}

std::string ResetTable(const LzxOutput& lzx, std::uint64_t uncompressed) {
  std::string out;
  AppendU32(out, 2);
  AppendU32(out, static_cast<std::uint32_t>(lzx.frameOffsets.size()));
  AppendU32(out, 8);
  AppendU32(out, 0x28);
  AppendU64(out, uncompressed);
  AppendU64(out, lzx.bytes.size());
  AppendU64(out, kLzxFrameSize);
  for (std::uint64_t offset : lzx.frameOffsets) AppendU64(out, offset);
  return out;
}

std::string SpanInfo(std::uint64_t uncompressed) {
  std::string out;
  AppendU64(out, uncompressed);
  return out;
}

// Every folder above a name ("/html/a.htm" -> "/", "/html/"), as HTML
// Help's compiler lists them.
void AddFolders(const std::string& name, std::set<std::string, decltype(&ChmNameLess)>& folders) {
  for (std::size_t slash = name.find('/'); slash != std::string::npos && slash + 1 < name.size();
       slash = name.find('/', slash + 1)) {
    folders.insert(name.substr(0, slash + 1));
  }
}

}  // namespace

std::string BuildChmContainer(std::vector<ChmFile> files, const ChmContainerSettings& settings) {
  // Compiled help uses a 64 KiB window, and readers count the reset interval
  // in halves of the window (chmlib does), which are frames only at that size.
  QV_ASSERT(settings.lzx.windowBits == 16, "compiled help uses a 64 KiB LZX window");
  std::stable_sort(files.begin(), files.end(), [](const ChmFile& a, const ChmFile& b) { return ChmNameLess(a.name, b.name); });
  for (std::size_t i = 1; i < files.size(); ++i) {
    QV_ASSERT(!ChmNameEqual(files[i - 1].name, files[i].name), "compiled help names must be unique");
  }

  // Section 1: the files one after another, then compressed as a whole.
  std::vector<ChmDirectoryEntry> entries;
  std::set<std::string, decltype(&ChmNameLess)> folders(&ChmNameLess);
  std::string content;
  for (const ChmFile& file : files) {
    QV_ASSERT(!file.name.empty() && file.name[0] == '/', "compiled help names begin with /");
    AddFolders(file.name, folders);
    if (file.data.empty()) {
      entries.push_back({file.name, 0, 0, 0});
      continue;
    }
    entries.push_back({file.name, 1, content.size(), file.data.size()});
    content += file.data;
  }
  for (const std::string& folder : folders) entries.push_back({folder, 0, 0, 0});
  // The last frame is filled up with zeros: chmlib (like other readers)
  // asks the decoder for a whole frame even at the end of the section.
  const std::uint64_t contentSize = content.size();
  content.resize((content.size() + kLzxFrameSize - 1) / kLzxFrameSize * kLzxFrameSize, '\0');
  LzxOutput compressed =
      CompressLzx(std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()), settings.lzx);

  // Section 0: the control files and the compressed stream.
  std::vector<std::pair<std::string, std::string>> section0 = {
      {"::DataSpace/NameList", NameList()},
      {std::string(kStorage) + "ControlData", ControlData(settings.lzx)},
      {std::string(kStorage) + "SpanInfo", SpanInfo(contentSize)},
      {std::string(kStorage) + "Transform/List", Utf16(kTransformGuid)},
      {std::string(kStorage) + "Transform/" + kTransformGuid + "/InstanceData/ResetTable",
       ResetTable(compressed, contentSize)},
      {std::string(kStorage) + "Content", std::move(compressed.bytes)},
  };
  std::string section0Bytes;
  for (auto& [name, data] : section0) {
    entries.push_back({name, 0, section0Bytes.size(), data.size()});
    section0Bytes += data;
  }
  for (const char* folder : {"::DataSpace/", "::DataSpace/Storage/", kStorage}) entries.push_back({folder, 0, 0, 0});
  for (const char* folder : {"Transform/", "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/",
                             "Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"}) {
    entries.push_back({std::string(kStorage) + folder, 0, 0, 0});
  }
  std::sort(entries.begin(), entries.end(),
            [](const ChmDirectoryEntry& a, const ChmDirectoryEntry& b) { return ChmNameLess(a.name, b.name); });
  std::string directory = BuildChmDirectory(entries, settings.lcid);

  const std::uint64_t directoryOffset = kHeaderSize + kHeaderSection0Size;
  const std::uint64_t contentOffset = directoryOffset + directory.size();
  const std::uint64_t fileSize = contentOffset + section0Bytes.size();
  std::string out = "ITSF";
  AppendU32(out, 3);
  AppendU32(out, kHeaderSize);
  AppendU32(out, 1);
  AppendU32(out, 0);  // time stamp: none, so that the same project gives the same bytes
  AppendU32(out, settings.lcid);
  AppendGuid(out, {0x7C01FD10, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}});
  AppendGuid(out, {0x7C01FD11, 0x7BAA, 0x11D0, {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}});
  AppendU64(out, kHeaderSize);
  AppendU64(out, kHeaderSection0Size);
  AppendU64(out, directoryOffset);
  AppendU64(out, directory.size());
  AppendU64(out, contentOffset);
  AppendU32(out, 0x01FE);
  AppendU32(out, 0);
  AppendU64(out, fileSize);
  AppendU32(out, 0);
  AppendU32(out, 0);
  out += directory;
  out += section0Bytes;
  return out;
}

}  // namespace quorvex
