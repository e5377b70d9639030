// The skin and button icon caches (see paint_cache_win.h).
#include "app/paint_cache_win.h"

namespace vsmr {

FileStamp StampOf(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path == nullptr || path[0] == '\0' ||
      !GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
    return FileStamp{};
  }
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  stamp.written = (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
                  data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

HBITMAP SkinCache::Get(HINSTANCE instance, bool use_file, const char* path, int width, int height,
                       int resource_id) {
  FileStamp stamp = use_file ? StampOf(path) : FileStamp{};
  bool same = bitmap_ && from_file_ == use_file &&
              (!use_file || (path_ == path && stamp_ == stamp));
  if (same) return bitmap_.get();

  bitmap_.Reset();
  from_file_ = use_file;
  path_ = use_file ? path : "";
  stamp_ = stamp;
  if (use_file) {
    bitmap_.Reset(static_cast<HBITMAP>(
        LoadImageA(nullptr, path, IMAGE_BITMAP, width, height, LR_LOADFROMFILE)));
    // A file that is not a readable bitmap: the built-in skin rather than nothing.
  }
  if (!bitmap_) bitmap_.Reset(LoadBitmapA(instance, MAKEINTRESOURCEA(resource_id)));
  return bitmap_.get();
}

HICON ButtonIconCache::Get(int position, const char* path, int index,
                           const ItemIconResources& resources) {
  if (position < 0 || position >= kMaxButtons) return nullptr;
  Entry& entry = entries_[position];
  FileStamp stamp = StampOf(path);
  if (entry.icon && entry.path == path && entry.index == index && entry.stamp == stamp) {
    return entry.icon.get();
  }
  entry.path = path;
  entry.index = index;
  entry.stamp = stamp;
  entry.icon.Reset();
  // Buttons of one source (the same program, say) read its file once; each
  // keeps a copy of its own, so replacing one button's icon leaves the others.
  for (const Entry& other : entries_) {
    if (&other != &entry && other.icon && other.path == entry.path && other.index == index &&
        other.stamp == stamp) {
      entry.icon.Reset(CopyIcon(other.icon.get()));
      if (entry.icon) return entry.icon.get();
    }
  }
  entry.icon = LoadItemIcon(path, index, kItemIconSmall, resources);
  return entry.icon.get();
}

}  // namespace vsmr
