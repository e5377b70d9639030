// Building a command menu from the arguments and running the chosen slot.
#include "command/command_menu.h"

#include <cctype>

#include "base/sjis.h"

namespace vsmr {
namespace {

std::string Cut(std::string_view text, std::size_t max_bytes) {
  return std::string(text.substr(0, SjisCutLength(text, max_bytes)));
}

}  // namespace

std::string MenuLabel(std::string_view text, const CommandList& commands) {
  std::size_t space = text.find(' ');
  std::string_view word = text.substr(0, space);
  std::string_view label = text;
  for (int i = 0; i < commands.count; ++i) {
    if (SjisEqualIgnoringCase(commands.entries[i].name.View(), word)) {
      label = commands.entries[i].comment.View();
      break;
    }
  }
  constexpr std::size_t kMax = kMenuLabelBuffer - 1;
  const auto first = static_cast<unsigned char>(text.empty() ? '\0' : text[0]);
  // A lone lead byte is no character to give as an access key.
  if (label.find('&') != std::string_view::npos || first == '\0' || IsSjisLeadByte(first)) {
    return Cut(label, kMax);
  }
  std::string key = "(&";
  key += static_cast<char>(std::toupper(first));
  key += ')';
  return Cut(label, kMax - key.size()) + key;
}

void BuildCommandMenu(const ArgumentVector& arguments, const CommandList& commands,
                      MenuSlots& slots, CommandMenu& menu) {
  menu.count = 0;
  // An absent argument reads "-1"; so the count of entries is the first of them.
  int used = 0;
  while (used < kMenuSlotCount && std::string_view(arguments.Get(used + 1)) != "-1") ++used;

  for (int p = 0; p < used; ++p) {
    std::string_view text = arguments.Get(p + 1);
    MenuEntry& entry = menu.entries[menu.count++];
    entry = MenuEntry{};
    entry.position = p;
    if (text == "-separator-") {
      entry.kind = MenuEntry::Kind::kSeparator;
      continue;
    }
    std::size_t space = text.find(' ');
    std::string_view word = text.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? text : text.substr(space + 1);
    if (word == "-subitem-") {
      entry.kind = MenuEntry::Kind::kSubmenu;
      entry.id = IDM_MENU_CASCADE;
      entry.label = Cut(rest, kMenuLabelBuffer - 1);
      if (used > IDM_MENU_CASCADE_INNER - IDM_FIRST_MENU_ENTRY) {
        // A full menu: the inner entry runs position 30, as its id says.
        entry.inner_id = IDM_MENU_CASCADE_INNER;
        slots.text[p] = std::string(text);
      } else {
        // Position 30 is no entry of this menu: the inner entry runs the
        // cascade's own text from this position instead of a stale slot.
        entry.inner_id = IDM_FIRST_MENU_ENTRY + p;
        slots.text[p] = std::string(rest);
      }
      continue;
    }
    slots.text[p] = std::string(text);
    entry.id = IDM_FIRST_MENU_ENTRY + p;
    entry.label = MenuLabel(text, commands);
  }
}

int RunMenuChoice(int id, const MenuSlots& slots, Interpreter& interpreter, WindowRef window) {
  if (!IsMenuCommand(id)) return 0;
  // A copy: the run may build another menu over the same slot.
  const std::string line = slots.text[id - IDM_FIRST_MENU_ENTRY];
  // Inside whatever run is in progress: a choice starts no fresh run.
  return RunCommandLine(interpreter, window, line, kContextMenu);
}

}  // namespace vsmr
