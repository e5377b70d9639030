// Portable part of the item icon: which sizes are served and which resource
// stands in for each.
#include "dialogs/item_icon.h"

namespace vsmr {

int FallbackIconId(int size, const ItemIconResources& resources) {
  if (size == kItemIconLarge) return resources.large_id;
  if (size == kItemIconSmall) return resources.small_id;
  return 0;
}

}  // namespace vsmr
