// Loading a launcher item's icon through the platform (see
// item_icon.h for the order of the fallbacks).
#pragma once
#include <windows.h>

#include "base/gdi_handles_win.h"
#include "dialogs/item_icon.h"

namespace vsmr {

// The icon number `index` of `file` at `size` (kItemIconLarge or
// kItemIconSmall); failing that the shell's icon for the file; failing that
// the resource icon of `resources`. Any other size gives no icon.
IconHandle LoadItemIcon(const char* file, int index, int size, const ItemIconResources& resources);

}  // namespace vsmr
