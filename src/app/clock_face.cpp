// Choosing the clock face's text and colour (see clock_face.h).
#include "app/clock_face.h"

#include <cstdio>

namespace vsmr {

ClockText ChooseClockText(std::string_view status_word, bool shutdown_active, ClockTime now,
                          ColorRef clock_color) {
  ClockText out;
  if (!status_word.empty()) {
    out.text.Set(status_word);
    out.color = kStatusColor;
    return out;
  }
  if (shutdown_active) {
    out.text.Set("Shutdown");
    out.color = kStatusColor;
    return out;
  }
  std::snprintf(out.text.data, sizeof out.text.data, "%02d:%02d:%02d", now.hour, now.minute,
                now.second);
  out.color = (now.minute == 0 && (now.second == 0 || now.second == 1)) ? kHourColor : clock_color;
  return out;
}

}  // namespace vsmr
