#include "support/ChmOracle.h"

#include <chm_lib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace quorvex::test {
namespace {

// chmlib opens files only, so the bytes go through a temporary one.
class OpenChm {
 public:
  explicit OpenChm(const std::string& bytes) {
    dir_.Write("t.chm", bytes);
    handle_ = chm_open((dir_.Native() + "/t.chm").c_str());
  }
  ~OpenChm() {
    if (handle_) chm_close(handle_);
  }
  chmFile* get() const { return handle_; }

 private:
  TempDir dir_;
  chmFile* handle_ = nullptr;
};

std::optional<std::string> Retrieve(chmFile* chm, chmUnitInfo& unit) {
  std::string data(static_cast<std::size_t>(unit.length), '\0');
  if (unit.length == 0) return data;
  LONGINT64 got = chm_retrieve_object(chm, &unit, reinterpret_cast<unsigned char*>(data.data()), 0, unit.length);
  if (got != static_cast<LONGINT64>(unit.length)) return std::nullopt;
  return data;
}

struct Enumeration {
  std::map<std::string, std::string> files;
  bool failed = false;
};

int Collect(chmFile* chm, chmUnitInfo* unit, void* context) {
  auto* enumeration = static_cast<Enumeration*>(context);
  std::optional<std::string> data = Retrieve(chm, *unit);
  if (!data) {
    enumeration->failed = true;
    return CHM_ENUMERATOR_FAILURE;
  }
  enumeration->files[unit->path] = std::move(*data);
  return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

std::optional<std::map<std::string, std::string>> ReadWithChmlib(const std::string& chmBytes) {
  OpenChm chm(chmBytes);
  if (!chm.get()) return std::nullopt;
  Enumeration enumeration;
  chm_enumerate(chm.get(), CHM_ENUMERATE_ALL, Collect, &enumeration);
  if (enumeration.failed) return std::nullopt;
  return enumeration.files;
}

std::optional<std::string> ResolveWithChmlib(const std::string& chmBytes, const std::string& name) {
  OpenChm chm(chmBytes);
  chmUnitInfo unit;
  if (!chm.get() || chm_resolve_object(chm.get(), name.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  return Retrieve(chm.get(), unit);
}

}  // namespace quorvex::test
