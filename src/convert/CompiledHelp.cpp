#include "convert/CompiledHelp.h"

#include "Version.h"
#include "chm/HelpCompiler.h"

namespace quorvex {
namespace {

class SinkReporter : public ChmReporter {
 public:
  explicit SinkReporter(StatusSink& sink) : sink_(sink) {}
  void Warn(const ByteString& file, const ByteString& what) override { sink_.Warn(file, what); }
  void Status(const ByteString& text) override {
    sink_.SetStatus(text);
    sink_.ProcessPendingEvents();
  }

 private:
  StatusSink& sink_;
};

}  // namespace

ByteString CompileConvertedHelp(const ByteString& outputFolder, const ByteString& base, StatusSink& sink) {
  SinkReporter reporter(sink);
  return CompileHelpProject(outputFolder, base + ".hhp", ByteString("Quorvex ") + kQuorvexVersion, reporter);
}

}  // namespace quorvex
