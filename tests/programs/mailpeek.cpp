// mailpeek.exe: looks at the program's mail window from outside, as a person reads it:
// the status line and the rows of the message list, and the time a check takes from
// the command that starts it to the count in the status line. Results go to a file
// (code page 932 text), never to standard output, which Wine's helpers inherit.
//   mailpeek OUT read
//     OUT: "status<TAB>text" and one "row<TAB>5 columns<TAB>image" line a row, or "none"
//   mailpeek OUT command MAIN-TITLE ID
//     posts window command ID to the main window titled MAIN-TITLE
//   mailpeek OUT time MAIN-TITLE ID TIMEOUT-MS
//     empties the status line, posts ID and waits for the count text there;
//     OUT: "milliseconds<TAB>status text", or "timeout<TAB>last status text".
//     The text is read every millisecond from the window manager's copy of it
//     (GetWindowTextA on another process's window sends the window nothing), so
//     the timing neither slows the check nor waits for a busy window.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kListId = 2301;
constexpr int kStatusId = 2302;
constexpr UINT kWaitMs = 5000;
constexpr DWORD kTimedPollMs = 1;
// The start of the status text that carries the count; the text shown while a check
// runs begins differently.
constexpr char kCountTextStart[] = "新着メールが";

HWND MailWindow() { return FindWindowA("#32770", "メール"); }

std::string StatusText(HWND mail) {
  char text[1024] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(mail, kStatusId), WM_GETTEXT, sizeof text,
                      reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kWaitMs, &ignored);
  return text;
}

// Memory inside the list's process: list-view messages take pointers that the list
// follows in its own address space.
class RemoteBlock {
 public:
  static constexpr SIZE_T kSize = 4096;
  static constexpr SIZE_T kTextOffset = 512;

  explicit RemoteBlock(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr)
      base_ = static_cast<char*>(
          VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (base_ != nullptr) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool Ok() const { return base_ != nullptr; }
  char* Base() const { return base_; }
  bool Write(SIZE_T offset, const void* data, SIZE_T size) {
    return WriteProcessMemory(process_, base_ + offset, data, size, nullptr) != 0;
  }
  bool Read(SIZE_T offset, void* data, SIZE_T size) {
    return ReadProcessMemory(process_, base_ + offset, data, size, nullptr) != 0;
  }

 private:
  HANDLE process_ = nullptr;
  char* base_ = nullptr;
};

// One cell of the list (and the row's image index for column 0), or false.
bool ReadCell(HWND list, RemoteBlock& block, int row, int column, std::string& text, int& image) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | (column == 0 ? LVIF_IMAGE : 0);
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = block.Base() + RemoteBlock::kTextOffset;
  item.cchTextMax = static_cast<int>(RemoteBlock::kSize - RemoteBlock::kTextOffset);
  char empty = 0;
  if (!block.Write(0, &item, sizeof item) || !block.Write(RemoteBlock::kTextOffset, &empty, 1))
    return false;
  DWORD_PTR ok = 0;
  if (!SendMessageTimeoutA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.Base()),
                           SMTO_NORMAL, kWaitMs, &ok) ||
      !ok)
    return false;
  char buffer[RemoteBlock::kSize - RemoteBlock::kTextOffset] = {};
  if (!block.Read(0, &item, sizeof item) ||
      !block.Read(RemoteBlock::kTextOffset, buffer, sizeof buffer - 1))
    return false;
  text = buffer;
  if (column == 0) image = item.iImage;
  return true;
}

int Read(std::FILE* out) {
  HWND mail = MailWindow();
  if (mail == nullptr) {
    std::fputs("none\r\n", out);
    return 0;
  }
  std::fprintf(out, "status\t%s\r\n", StatusText(mail).c_str());
  HWND list = GetDlgItem(mail, kListId);
  DWORD_PTR rows = 0;
  SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kWaitMs, &rows);
  RemoteBlock block(list);
  if (!block.Ok()) return 1;
  for (int row = 0; row < static_cast<int>(rows); ++row) {
    std::string line = "row";
    int image = -1;
    for (int column = 0; column < 5; ++column) {
      std::string text;
      if (!ReadCell(list, block, row, column, text, image)) return 1;
      line += '\t' + text;
    }
    std::fprintf(out, "%s\t%d\r\n", line.c_str(), image);
  }
  return 0;
}

bool PostCommand(const char* main_title, int id) {
  HWND main = FindWindowA(nullptr, main_title);
  return main != nullptr && PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0) != 0;
}

int Time(std::FILE* out, const char* main_title, int id, int timeout_ms) {
  if (HWND mail = MailWindow()) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(mail, kStatusId), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(""), SMTO_NORMAL, kWaitMs, &ignored);
  }
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!PostCommand(main_title, id)) return 1;
  std::string status;
  for (;;) {
    HWND mail = MailWindow();
    if (mail != nullptr) {
      char text[1024] = {};
      GetWindowTextA(GetDlgItem(mail, kStatusId), text, sizeof text);
      status = text;
    }
    QueryPerformanceCounter(&now);
    const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    if (mail != nullptr && status.rfind(kCountTextStart, 0) == 0) {
      std::fprintf(out, "%.1f\t%s\r\n", ms, status.c_str());
      return 0;
    }
    if (ms > timeout_ms) {
      std::fprintf(out, "timeout\t%s\r\n", status.c_str());
      return 0;
    }
    Sleep(kTimedPollMs);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 2;
  int code = 2;
  if (std::strcmp(argv[2], "read") == 0) {
    code = Read(out);
  } else if (std::strcmp(argv[2], "command") == 0 && argc == 5) {
    code = PostCommand(argv[3], std::atoi(argv[4])) ? 0 : 1;
  } else if (std::strcmp(argv[2], "time") == 0 && argc == 6) {
    code = Time(out, argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
  }
  std::fclose(out);
  return code;
}
