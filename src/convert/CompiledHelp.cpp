#include "convert/CompiledHelp.h"

#include "Version.h"
#include "chm/HelpCompiler.h"

namespace quorvex {
namespace {

// The writer names files from the project's folder; the sink gets their paths.
class SinkReporter : public ChmReporter {
 public:
  SinkReporter(StatusSink& sink, const ByteString& folder) : sink_(sink), folder_(folder) {}
  void Warn(const ByteString& file, const ByteString& what) override {
    ByteString path = folder_;
    for (std::size_t i = 0; i < file.size(); i += CharLength(file, i)) {
      path.append(file, i, CharLength(file, i));
      if (file[i] == '/') path.back() = '\\';
    }
    sink_.Warn(path, what);
  }
  void Status(const ByteString& text) override {
    sink_.SetStatus(text);
    sink_.ProcessPendingEvents();
  }

 private:
  StatusSink& sink_;
  ByteString folder_;
};

}  // namespace

ByteString CompileConvertedHelp(const ByteString& outputFolder, const ByteString& base, StatusSink& sink) {
  SinkReporter reporter(sink, outputFolder);
  return CompileHelpProject(outputFolder, base + ".hhp", ByteString("Quorvex ") + kQuorvexVersion, reporter);
}

}  // namespace quorvex
