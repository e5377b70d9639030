// probe.exe: a stand-in program for tests that start programs through the
// shell. Each run appends one record to a log file and exits with 0:
//   <command line> TAB <working directory> CR LF
// exactly as GetCommandLineA and GetCurrentDirectoryA give them (code page
// 932). The log file is named by the environment variable VSMR_PROBE_LOG, or
// else is probe.log beside the executable.
#include <windows.h>

#include <string>

namespace {

std::string LogPath() {
  char buffer[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableA("VSMR_PROBE_LOG", buffer, sizeof buffer);
  if (n > 0 && n < sizeof buffer) return std::string(buffer, n);
  n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string path(buffer, n < sizeof buffer ? n : 0);
  // Cut after the last backslash; a trail byte 0x5C of a double-byte
  // character is not one.
  std::size_t cut = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (path[i] == '\\') cut = i + 1;
  }
  return path.substr(0, cut) + "probe.log";
}

}  // namespace

int main() {
  std::string record = GetCommandLineA();
  record += '\t';
  char directory[MAX_PATH * 2];
  DWORD n = GetCurrentDirectoryA(sizeof directory, directory);
  if (n > 0 && n < sizeof directory) record.append(directory, n);
  record += "\r\n";

  // Several probes may run at once: retry while another holds the file.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = CreateFileA(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(10);
  }
  return 0;
}
