// Command menus: a popup built from a built-in's arguments, one entry per
// argument, labelled with the stored command's comment when the first word
// names one. The texts stay in the menu slots until the chosen entry's
// window command arrives and runs its slot.
#pragma once
#include <string>
#include <string_view>

#include "base/resource_ids.h"
#include "command/interpreter.h"

namespace vsmr {

inline constexpr int kMenuSlotCount = 32;
inline constexpr int kLastMenuCommand = IDM_FIRST_MENU_ENTRY + kMenuSlotCount - 1;
inline constexpr std::size_t kMenuLabelBuffer = 256;

// The texts of the last menus' entries, one per position; each build
// overwrites the positions it uses. A slot holds a whole argument.
struct MenuSlots {
  std::string text[kMenuSlotCount];
};

struct MenuEntry {
  enum class Kind { kItem, kSeparator, kSubmenu };
  Kind kind = Kind::kItem;
  int position = 0;
  int id = 0;                // IDM_FIRST_MENU_ENTRY + position, or IDM_MENU_CASCADE
  std::string label;         // at most 255 bytes
  int inner_id = 0;          // kSubmenu: the id of its one inner entry
};

struct CommandMenu {
  MenuEntry entries[kMenuSlotCount];
  int count = 0;
};

// Builds the menu from `arguments` (entries until the first absent one) and
// fills the slots of the positions that carry a command.
void BuildCommandMenu(const ArgumentVector& arguments, const CommandList& commands,
                      MenuSlots& slots, CommandMenu& menu);

// The label of an entry whose text is `text`: the comment of the stored
// command named by its first word (any case), else the text itself, with an
// access key "(&X)" from the text's first character unless the label already
// has an "&" or the text begins with a double-byte character. Cut to 255 bytes.
std::string MenuLabel(std::string_view text, const CommandList& commands);

// True for the window commands of menu entries.
constexpr bool IsMenuCommand(int id) { return id >= IDM_FIRST_MENU_ENTRY && id <= kLastMenuCommand; }

// Runs the slot of the menu command `id` as a fresh run with kContextMenu.
// Returns the run's result (0 for an id that is no menu command).
int RunMenuChoice(int id, const MenuSlots& slots, Interpreter& interpreter, WindowRef window);

}  // namespace vsmr
