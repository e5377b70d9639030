// A position in screen or client pixels.
#pragma once

namespace vsmr {

struct Point {
  int x = 0;
  int y = 0;
};

}  // namespace vsmr
