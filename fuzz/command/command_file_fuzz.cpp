// Fuzzes the vsmrcmd.dat parser: any bytes load without a fault, and the file
// written from a loaded list loads back to the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "command/command_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto list = std::make_unique<vsmr::CommandList>();
  std::vector<vsmr::CommandFileLine> report;
  vsmr::ParseCommandFile(bytes, *list, &report);
  if (list->count < 0 || list->count > vsmr::kMaxCommands) std::abort();
  for (int i = 0; i < list->count; ++i) {
    if (list->entries[i].name.Empty() || list->entries[i].body.Empty()) std::abort();
  }

  const std::string written = vsmr::FormatCommandFile(*list);
  auto again = std::make_unique<vsmr::CommandList>();
  vsmr::ParseCommandFile(written, *again);
  if (again->count != list->count) std::abort();
  if (vsmr::FormatCommandFile(*again) != written) std::abort();
  return 0;
}
