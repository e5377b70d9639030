// Fuzzes the vsmrcmd.dat parser: any bytes load without a fault, the file
// written from a loaded list loads back to the same file, and written with
// what the load kept it is the file itself and loads as the first load did.
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

  vsmr::CommandFileKeep keep;
  vsmr::ParseCommandFile(bytes, *again, nullptr, &keep);
  if (again->count != list->count) std::abort();
  const std::string kept = vsmr::FormatCommandFile(*again, &keep);
  if (kept != bytes) std::abort();
  // An entry dropped: what remains still loads as it stands.
  if (again->count > 0) {
    again->count--;
    const std::string fewer = vsmr::FormatCommandFile(*again, &keep);
    auto reloaded = std::make_unique<vsmr::CommandList>();
    vsmr::ParseCommandFile(fewer, *reloaded);
    if (reloaded->count < again->count) std::abort();
    for (int i = 0; i < again->count; ++i) {
      const vsmr::CommandEntry& a = again->entries[i];
      const vsmr::CommandEntry& b = reloaded->entries[i];
      if (a.name.View() != b.name.View() || a.comment.View() != b.comment.View()) std::abort();
    }
  }
  return 0;
}
