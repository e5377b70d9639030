// Loading and saving the command list.
#include "command/command_list.h"

#include "base/file_io.h"
#include "base/sjis.h"
#include "command/command_file.h"

namespace vsmr {

std::string CommandFilePath(std::string_view executable_path) {
  constexpr std::string_view kFileName = "vsmrcmd.dat";
  std::size_t last = FindLastSjisChar(executable_path, '\\');
  if (last == std::string_view::npos) return std::string(kFileName);
  std::string path(executable_path.substr(0, last));
  path += '\\';
  path += kFileName;
  return path;
}

FileRead LoadCommandList(CommandList& list, const std::string& command_file_path,
                         CommandFileKeep* keep) {
  list.count = 0;
  if (keep) *keep = CommandFileKeep{};
  std::string bytes;
  const FileRead read = ReadFileChecked(command_file_path, bytes);
  if (read.outcome == FileReadOutcome::kRead) ParseCommandFile(bytes, list, nullptr, keep);
  return read;
}

bool SaveCommandList(const CommandList& list, const std::string& command_file_path,
                     const CommandFileKeep* keep, std::string* reason) {
  return WriteFileAtomically(command_file_path, FormatCommandFile(list, keep), reason);
}

}  // namespace vsmr
