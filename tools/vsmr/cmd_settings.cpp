// vsmr settings: runs the program's start-up sequence on a folder's files and
// prints every setting as the next save would write it, with a note for each
// value that save would change in the file.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "console_text.h"
#include "settings/compound_value.h"
#include "settings/settings_store.h"
#include "settings_tool.h"
#include "subcommand.h"

namespace vsmr::tool {

ProgramFiles FolderFiles(const std::string& folder) {
  std::string dir = folder.empty() ? "." : folder;
#ifdef _WIN32
  for (char& c : dir) {
    if (c == '/') c = '\\';
  }
  while (dir.size() > 1 && dir.back() == '\\' && dir[dir.size() - 2] != ':') dir.pop_back();
  return ProgramFilesFor(dir + "\\vesmira.exe");
#else
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  ProgramFiles files;
  files.settings_path = dir + "/vsmrsys.ini";
  files.command_file_path = dir + "/vsmrcmd.dat";
  files.default_icon_path = FromConsole(dir) + "\\vesmira.exe";
  return files;
#endif
}

bool LoadFolder(const char* command, const std::vector<std::string>& args, LoadedProgram& program) {
  std::string folder = ".";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool has_value = i + 1 < args.size();
    if (a == "--dir" && has_value) {
      folder = args[++i];
    } else if (a == "--work-area" && has_value) {
      int right = 0, bottom = 0;
      if (std::sscanf(args[++i].c_str(), "%d,%d", &right, &bottom) != 2) {
        std::fprintf(stderr, "vsmr %s: --work-area wants RIGHT,BOTTOM\n", command);
        return false;
      }
      program.window.work_area = {right, bottom};
    } else {
      std::fprintf(stderr, "vsmr %s: unexpected argument '%s'\nusage: vsmr %s [--dir DIR] [--work-area RIGHT,BOTTOM]\n",
                   command, a.c_str(), command);
      return false;
    }
  }
  program.files = FolderFiles(folder);
  program.in_tray = LoadProgramSettings(*program.settings, *program.commands, program.hot_key,
                                        program.window, program.files);
  return true;
}

namespace {

constexpr std::string_view kAbsent = "\x01(absent)";

std::string ReadRaw(const ProfileDocument& file, std::string_view section, std::string_view key) {
  char buffer[8192];
  file.ReadString(section, key, kAbsent, buffer, sizeof buffer);
  return buffer;
}

struct Entry {
  std::string section, key, text;
};

class ListingWriter : public SettingsWriter {
 public:
  std::vector<Entry> entries;
  void Write(std::string_view section, std::string_view key, std::string_view text) override {
    entries.push_back({std::string(section), std::string(key), std::string(text)});
  }
};

bool HasOlderLauncherKeys(const ProfileDocument& file, int index) {
  for (const char* name : {"ApplicationPath", "Comment", "IconPath", "IconIndex", "ShowButton"}) {
    if (ReadRaw(file, kButtonLauncherSection, LegacyLauncherKey(name, index)) != kAbsent) return true;
  }
  return false;
}

// Why `before` (as read now) becomes `after` (as read after the next save).
std::string Reason(const Entry& e, const std::string& before, const std::string& after) {
  if (e.key == "AutoCheckTime" && NumericField(before) != NumericField(after)) return "clamped";
  if (e.key == "CommandLineLauncher") return "launcher box not kept open";
  if (e.section == kTimerSection) {
    FieldCursor a(before), b(after);
    bool same = true;
    for (char sep : {',', ':', ','}) same = same && NumericField(a.Next(sep)) == NumericField(b.Next(sep));
    if (same && a.Rest() == b.Rest()) return "hour and minute written with two digits";
  }
  return "rewritten";
}

void PrintLine(std::string_view a, std::string_view b, std::string_view c) {
  std::printf("%s\t%s\t%s\n", EscapeField(a).c_str(), EscapeField(b).c_str(), EscapeField(c).c_str());
}

void PrintNote(const Entry& e, const std::string& text) {
  std::printf("note\t%s\t%s\t%s\n", EscapeField(e.section).c_str(), EscapeField(e.key).c_str(),
              EscapeField(text).c_str());
}

int RunSettings(const std::vector<std::string>& args) {
  LoadedProgram program;
  if (!LoadFolder("settings", args, program)) return 2;

  ListingWriter listing;
  WriteSettingsAndItems(*program.settings, program.in_tray, program.window, listing);
  listing.Write(kHotKeySection, kHotKeyKey, std::to_string(program.hot_key));

  // The file as it is, and as it will read after the next save.
  ProfileDocument now = ProfileDocument::Load(program.files.settings_path);
  ProfileDocument next = ProfileDocument::Load(program.files.settings_path);
  DocumentWriter apply(next);
  for (const Entry& e : listing.entries) apply.Write(e.section, e.key, e.text);

  int absent = 0;
  for (const Entry& e : listing.entries) {
    PrintLine(e.section, e.key, e.text);
    std::string before = ReadRaw(now, e.section, e.key);
    std::string after = ReadRaw(next, e.section, e.key);
    bool is_item_data = e.section == kButtonLauncherSection && e.key.size() == 14 &&
                        e.key.compare(10, 4, "Data") == 0;
    if (before == kAbsent) {
      int index = is_item_data ? std::atoi(e.key.substr(8, 2).c_str()) - 1 : -1;
      if (index >= 0 && HasOlderLauncherKeys(now, index)) {
        PrintNote(e, "older launcher form converted (" + LegacyLauncherKey("ApplicationPath", index) +
                         " and its siblings stay, unread)");
      } else {
        ++absent;
      }
    } else if (before != after) {
      PrintNote(e, Reason(e, before, after) + ": " + before + " -> " + after);
    }
  }
  if (absent > 0) {
    std::printf("note\t\t\t%d absent keys will be written with the values above\n", absent);
  }
  return 0;
}

const Subcommand kSettings("settings", "settings [--dir DIR] [--work-area RIGHT,BOTTOM]", RunSettings);

}  // namespace
}  // namespace vsmr::tool
