// What painting keeps between paints: the skin bitmap and each launcher
// button's icon. Both are keyed by their file's size and last write time, so a
// file changed on disk is read again at the next paint, as if nothing were
// kept; an unchanged one is not read and decoded for every button on every
// paint (64 buttons did that in a single repaint), and buttons that share a
// source read it once between them.
#pragma once
#include <windows.h>

#include <string>

#include "app/shell_layout.h"
#include "base/gdi_handles_win.h"
#include "dialogs/item_icon_win.h"

namespace vsmr {

// A file's identity for caching: whether it exists, its size and write time.
struct FileStamp {
  bool exists = false;
  ULONGLONG size = 0;
  ULONGLONG written = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const char* path);

class SkinCache {
 public:
  // The skin to paint with, owned by the cache: the file `path` scaled to
  // `width` x `height` when `use_file` and it can be read, else bitmap resource
  // `resource_id` of `instance`. Null when neither loads.
  HBITMAP Get(HINSTANCE instance, bool use_file, const char* path, int width, int height,
              int resource_id);

 private:
  GdiObject<HBITMAP> bitmap_;
  bool from_file_ = false;
  std::string path_;
  FileStamp stamp_;
};

class ButtonIconCache {
 public:
  // The small icon of the item shown at `position` (LoadItemIcon of `path`
  // and `index`), owned by the cache. Null when there is none.
  HICON Get(int position, const char* path, int index, const ItemIconResources& resources);

 private:
  struct Entry {
    std::string path;
    int index = 0;
    FileStamp stamp;
    IconHandle icon;
  };
  Entry entries_[kMaxButtons];
};

}  // namespace vsmr
