// The shared choosers of the item dialogs and the file-chooser built-in: the
// open-file dialog, whose chosen filter is remembered for the whole run, and
// the folder browser.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vsmr {

// Bytes of the path buffer of the file-chooser built-in (255 characters).
inline constexpr std::size_t kChooserPathBuffer = 256;

// What ChooseFile remembers between calls. One object lives for the whole run
// (the application state owns it) and every dialog passes the same one, so a
// filter picked in one dialog is preselected in the next, whichever it is.
struct FileChooserState {
  unsigned long filter_index = 0;  // 0: the platform's first filter
};

// Whether a chosen path fits a field of `capacity` bytes with its NUL.
constexpr bool ChosenPathFits(std::string_view chosen, std::size_t capacity) {
  return capacity > 0 && chosen.size() <= capacity - 1;
}

// The notice for a chosen path that does not fit a field of `capacity` bytes:
// it names the field's limit.
std::string PathTooLongNotice(std::size_t capacity);

// Replaces the NUL-terminated text in `path` (a buffer of `capacity` bytes) by
// `chosen`, cut so that it never splits a double-byte character. Returns 0 and
// leaves `path` as it was when `capacity` is 0.
int StoreChosenPath(char* path, std::size_t capacity, std::string_view chosen);

// The open-file dialog (title "ファイルを開く"), the file must exist. `path`
// (a buffer of `capacity` bytes) holds the initial name and receives the
// chosen one; `filters` is the platform's filter list (pairs of NUL-terminated
// texts, ending in an empty one). Returns nonzero when a file was chosen.
// A chosen path longer than the buffer holds is never cut: a notice titled
// "注意" names the limit, `path` stays as it was and the result is 0. `owner`
// is the owner window (an HWND) or null. Windows builds only.
int ChooseFile(void* owner, char* path, std::size_t capacity, const char* filters,
               FileChooserState& state);

// The folder browser (title "フォルダの選択", file-system folders only, rooted
// at the desktop). A chosen folder's full path replaces `path`; a cancel leaves
// it as it was. Returns 1 either way, 0 only when the shell allocator is not
// available (then nothing is shown). Windows builds only.
int ChooseFolder(void* owner, char* path, std::size_t capacity);

}  // namespace vsmr
