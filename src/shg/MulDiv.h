#pragma once
// Multiply then divide as the platform does it.

#include <cstdint>

namespace quorvex {

/// a * b / c with a 64-bit intermediate, rounded to the nearest integer with
/// halves away from zero; -1 when c is 0 or the result leaves 32 bits.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace quorvex
