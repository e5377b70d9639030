// The icon of a launcher item: the icon inside the file it names, else the
// shell's icon for that file, else the program's own application icon. The
// rules; item_icon_win.h loads and draws.
#pragma once
#include <cstddef>

#include "base/resource_ids.h"

namespace vsmr {

inline constexpr int kItemIconLarge = 32;  // size value for the large icon
inline constexpr int kItemIconSmall = 16;  // size value for the small icon

// Where an item icon comes from, tried in this order until one gives an icon.
enum class ItemIconSource { kFileIcon, kShellIcon, kResource };
inline constexpr ItemIconSource kItemIconSources[] = {
    ItemIconSource::kFileIcon, ItemIconSource::kShellIcon, ItemIconSource::kResource};

// The program's own icons, the last fallback. `module` is the module handle
// (an HINSTANCE) that holds them: the program, or a test's data module.
struct ItemIconResources {
  void* module = nullptr;
  int large_id = IDI_APP_LARGE;
  int small_id = IDI_APP_SMALL;
};

// True for the two size values LoadItemIcon serves.
constexpr bool IsItemIconSize(int size) { return size == kItemIconLarge || size == kItemIconSmall; }

// The resource id used for `size` (0 for a size that is not served).
int FallbackIconId(int size, const ItemIconResources& resources);

}  // namespace vsmr
