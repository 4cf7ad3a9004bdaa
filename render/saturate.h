#pragma once
// Float-to-integer steps defined for every input the renderer can meet: a
// mesh may hold huge or non-finite positions and texture coordinates, and a
// cast of such a value to int is undefined. The value is truncated toward
// zero and held to lo..hi; NaN counts as 0 (held to the range as well).

#include <algorithm>
#include <cmath>

namespace mok {

inline int SaturatingInt(double value, int lo, int hi) {
  if (std::isnan(value)) return std::clamp(0, lo, hi);
  return static_cast<int>(std::clamp(value, static_cast<double>(lo), static_cast<double>(hi)));
}

}  // namespace mok
