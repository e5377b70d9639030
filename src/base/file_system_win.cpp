// Whole-file reads and atomic writes over the Win32 file API: the new bytes
// go to a temporary file, FlushFileBuffers puts them on the disk, and only
// then does MoveFileExA put the file in place of the old one.
#include <windows.h>

#include "base/file_io.h"

namespace vsmr {
namespace {

// The system's text for `error` (in the user's language), and its number.
std::string SystemReason(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason(text ? text : "", text ? length : 0);
  if (text) LocalFree(text);
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
    reason.pop_back();
  }
  if (!reason.empty()) reason += ' ';
  return reason + "(" + std::to_string(error) + ")";
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD part = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), part, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

FileRead ReadFileChecked(const std::string& path, std::string& bytes) {
  bytes.clear();
  FileRead result;
  // Others may go on reading and writing it: only this read must not be refused.
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      result.outcome = FileReadOutcome::kMissing;
    } else {
      result.outcome = FileReadOutcome::kUnreadable;
      result.reason = SystemReason(error);
    }
    return result;
  }
  char chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
      bytes.clear();
      result.outcome = FileReadOutcome::kUnreadable;
      result.reason = SystemReason(GetLastError());
      return result;
    }
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  result.outcome = FileReadOutcome::kRead;
  return result;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
  const std::string temp = TemporaryFileFor(path);
  FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  bool ok = file.Valid() && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  if (!file.Close() && ok) {
    ok = false;
    error = GetLastError();
  }
  if (ok && !MoveFileExA(temp.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileA(temp.c_str());
    if (reason) *reason = SystemReason(error);
  }
  return ok;
}

}  // namespace vsmr
