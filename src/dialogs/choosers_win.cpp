// The choosers through the platform: GetOpenFileNameA and the shell's folder
// browser with its allocator.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "dialogs/choosers.h"

namespace vsmr {

namespace {

// Bytes the open-file dialog may write its choice into: more than any path the
// system hands out, so that a choice is never refused for the buffer's sake.
constexpr std::size_t kChooserDialogBuffer = 32768;

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
  if (path == nullptr || capacity == 0) return 0;
  // The dialog works in a private copy, so a cancel never disturbs the caller's
  // text, and one larger than any field, so that a path too long for the field
  // comes back whole and can be reported.
  std::string name(kChooserDialogBuffer, '\0');
  StoreChosenPath(name.data(), name.size(), std::string_view(path, ::strnlen(path, capacity)));
  HWND window = static_cast<HWND>(owner);
  BOOL chosen = RunOpenDialog(window, name.data(), static_cast<DWORD>(name.size()), filters, state);
  DWORD failure = chosen ? 0 : CommDlgExtendedError();
  if (failure == FNERR_INVALIDFILENAME) {
    // A starting text that is no file name (a URL, a command line) would keep
    // the dialog from opening at all: open it without one instead.
    name.assign(kChooserDialogBuffer, '\0');
    chosen = RunOpenDialog(window, name.data(), static_cast<DWORD>(name.size()), filters, state);
    failure = chosen ? 0 : CommDlgExtendedError();
  }
  const std::string_view chosen_path(name.data(), ::strnlen(name.data(), name.size()));
  if (failure == FNERR_BUFFERTOOSMALL || (chosen && !ChosenPathFits(chosen_path, capacity))) {
    MessageBoxA(window, PathTooLongNotice(capacity).c_str(), "注意", MB_OK | MB_ICONWARNING);
    return 0;
  }
  if (!chosen) return 0;
  StoreChosenPath(path, capacity, chosen_path);
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
