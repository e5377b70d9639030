// The name one running copy of the program goes by.
#pragma once

namespace vsmr {

// The instance name: mutex, class, window title, notification tip, version dialog.
inline constexpr char kInstanceName[] = "Vesmira2002(Ver2.69.53(2.7--) Build291)";

}  // namespace vsmr
