#include "platform/Graphic.h"

namespace quorvex {

namespace {

ByteString AssignMessage(const Persistent* source, const Persistent& target) {
  ByteString message = "Cannot assign a ";
  message += source ? source->ClassName() : "nil";
  message += " to a ";
  message += target.ClassName();
  return message;
}

}  // namespace

EAssignError::EAssignError(const Persistent* source, const Persistent& target)
    : Exception(AssignMessage(source, target)) {}

void Persistent::Assign(const Persistent* source) {
  if (source == nullptr) throw EAssignError(nullptr, *this);
  source->AssignTo(*this);
}

void Persistent::AssignTo(Persistent& target) const { throw EAssignError(this, target); }

// A graphic without a palette of its own ignores a new one, as the platform does.
void Graphic::SetPalette(const Palette&) {}

void Graphic::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void Graphic::Changed() {
  modified_ = true;
  if (onChange_) onChange_(*this);
}

void Graphic::Progress(ProgressStage stage, std::uint8_t percent, bool redrawNow, const Rect& rect,
                       const ByteString& message) {
  if (onProgress_) onProgress_(*this, stage, percent, redrawNow, rect, message);
}

}  // namespace quorvex
