// The choosers through the platform: GetOpenFileNameA and the shell's folder
// browser with its allocator.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

#include "dialogs/choosers.h"

namespace vsmr {

namespace {

// Releases the shell allocator on every path.
class ShellAllocator {
 public:
  ShellAllocator() {
    if (FAILED(SHGetMalloc(&malloc_))) malloc_ = nullptr;
  }
  ~ShellAllocator() {
    if (malloc_ != nullptr) malloc_->Release();
  }
  ShellAllocator(const ShellAllocator&) = delete;
  ShellAllocator& operator=(const ShellAllocator&) = delete;
  IMalloc* get() const { return malloc_; }

 private:
  IMalloc* malloc_ = nullptr;
};

// One run of the open-file dialog over `name`, the starting and resulting name.
BOOL RunOpenDialog(HWND owner, char* name, DWORD name_size, const char* filters,
                   FileChooserState& state) {
  char title[256] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters;
  ofn.nFilterIndex = state.filter_index;
  ofn.lpstrFile = name;
  ofn.nMaxFile = name_size;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrTitle = "ファイルを開く";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  BOOL chosen = GetOpenFileNameA(&ofn);
  // The dialog writes back the filter the user left selected.
  state.filter_index = ofn.nFilterIndex;
  return chosen;
}

}  // namespace

int ChooseFile(void* owner, char* path, std::size_t capacity, const char* filters,
               FileChooserState& state) {
  std::size_t size = ChooserNameCapacity(capacity);
  if (path == nullptr || size == 0) return 0;
  // The dialog works in a private copy, so a cancel never disturbs the caller's text.
  char name[kChooserPathBuffer] = {};
  StoreChosenPath(name, size, std::string_view(path, ::strnlen(path, capacity)));
  HWND window = static_cast<HWND>(owner);
  BOOL chosen = RunOpenDialog(window, name, static_cast<DWORD>(size), filters, state);
  if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
    // A starting text that is no file name (a URL, a command line) would keep
    // the dialog from opening at all: open it without one instead.
    name[0] = '\0';
    chosen = RunOpenDialog(window, name, static_cast<DWORD>(size), filters, state);
  }
  if (!chosen) return 0;
  StoreChosenPath(path, size, std::string_view(name, ::strnlen(name, size)));
  return 1;
}

int ChooseFolder(void* owner, char* path, std::size_t capacity) {
  ShellAllocator allocator;
  if (allocator.get() == nullptr) return 0;
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = static_cast<HWND>(owner);
  info.pidlRoot = nullptr;  // the desktop
  info.pszDisplayName = display;
  info.lpszTitle = "フォルダの選択";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST list = SHBrowseForFolderA(&info);
  if (list == nullptr) return 1;
  char chosen[MAX_PATH] = {};
  if (SHGetPathFromIDListA(list, chosen) && path != nullptr) {
    StoreChosenPath(path, capacity, std::string_view(chosen, ::strnlen(chosen, MAX_PATH)));
  }
  allocator.get()->Free(list);
  return 1;
}

}  // namespace vsmr
