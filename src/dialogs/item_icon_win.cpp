// Loads a launcher item's icon through the platform: icon extraction, the
// shell's file icon, and the program's own icon resources.
#include <windows.h>
#include <shellapi.h>

#include "dialogs/item_icon_win.h"

namespace vsmr {

namespace {

HICON FromFile(const char* file, int index, bool large) {
  HICON icon = nullptr;
  // Only the handle counts: with index -1 the call answers the number of icons.
  if (large) {
    ExtractIconExA(file, index, &icon, nullptr, 1);
  } else {
    ExtractIconExA(file, index, nullptr, &icon, 1);
  }
  return icon;
}

HICON FromShell(const char* file, bool large) {
  SHFILEINFOA info{};
  UINT flags = SHGFI_ICON | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON);
  if (SHGetFileInfoA(file, 0, &info, sizeof info, flags) == 0) return nullptr;
  return info.hIcon;
}

HICON FromResource(const ItemIconResources& resources, int size) {
  bool large = size == kItemIconLarge;
  int cx = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
  int cy = GetSystemMetrics(large ? SM_CYICON : SM_CYSMICON);
  // Not shared: every icon handed out is the caller's to destroy.
  return static_cast<HICON>(LoadImageA(static_cast<HINSTANCE>(resources.module),
                                       MAKEINTRESOURCEA(FallbackIconId(size, resources)),
                                       IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
}

}  // namespace

IconHandle LoadItemIcon(const char* file, int index, int size, const ItemIconResources& resources) {
  if (!IsItemIconSize(size)) return IconHandle();
  bool large = size == kItemIconLarge;
  bool named = file != nullptr && file[0] != '\0';
  for (ItemIconSource source : kItemIconSources) {
    HICON icon = nullptr;
    switch (source) {
      case ItemIconSource::kFileIcon:
        if (named) icon = FromFile(file, index, large);
        break;
      case ItemIconSource::kShellIcon:
        if (named) icon = FromShell(file, large);
        break;
      case ItemIconSource::kResource:
        icon = FromResource(resources, size);
        break;
    }
    if (icon != nullptr) return IconHandle(icon);
  }
  return IconHandle();
}

}  // namespace vsmr
