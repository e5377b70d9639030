// The launcher button bar: which items have buttons and where, how the button
// count grows and shrinks, what a click or a file drop on a button runs, and
// how a drop is dispatched under the DropAction setting.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "app/shell_layout.h"
#include "base/resource_ids.h"
#include "command/interpreter.h"
#include "settings/settings_records.h"

namespace vsmr {

inline constexpr std::size_t kChangeMessageMax = 255;   // bytes of the item change question

// Where a button's face comes from in the skin and where its 16 x 16 icon
// sits on it: skin column 74 (110 while pressed), icon at (3, 3) or (4, 4).
struct ButtonFace {
  int skin_x;
  int icon_offset;
};
constexpr ButtonFace FaceOf(bool pressed) { return pressed ? ButtonFace{110, 4} : ButtonFace{74, 3}; }

// One button position (0-based, left to right).
struct ButtonSlot {
  WindowRef window = nullptr;  // the button control; null when its creation failed
  int item = -1;               // index of the LauncherItem it shows
};

// The 64 positions. How many are in use is the layout's button_count, the one
// number the window's width is computed from.
struct ButtonBar {
  ButtonSlot slots[kMaxButtons];
};

// What the bar needs from the main window.
class ButtonBarHost {
 public:
  virtual ~ButtonBarHost() = default;
  // Resizes the main window to `width` x 22 with its region and moves the two
  // small buttons to x = width - 14.
  virtual void ApplyWidth(int width) = 0;
  // Creates the owner-drawn button with control id IDM_FIRST_BUTTON + `position` at (x, 0),
  // 22 x 22. Returns it, or null when creation failed.
  virtual WindowRef CreateButton(int position, int x) = 0;
  virtual void DestroyButton(WindowRef button) = 0;
  // Replaces the button's tooltip by `text` (blue on white, whole button).
  virtual void RegisterTip(WindowRef button, std::string_view text) = 0;
  // Has the button drawn again (its item changed).
  virtual void RepaintButton(WindowRef button) = 0;
  // Shows the modal SELEDROPDLG and returns the id that closed it (IDC_DROP_RUN,
  // IDC_DROP_CHANGE, or 2, the cancel id); the main window is repainted afterwards.
  virtual int AskDropChoice() = 0;
  // Asks `question` (caption "変更確認", Yes and No); true for Yes.
  virtual bool ConfirmItemChange(std::string_view question) = 0;
};

// Appends a button for the item already entered in the next free slot
// (IDM_APPEND_BUTTON); nothing when all 64 are in use.
void AppendButton(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items,
                  ButtonBarHost& host);
// Removes the last button (IDM_REMOVE_BUTTON); nothing when there is none.
void RemoveLastButton(ButtonBar& bar, ShellLayout& layout, ButtonBarHost& host);
// Makes the button count `count`, cut to 0..64 (IDM_SET_BUTTON_COUNT).
void SetButtonCount(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items, int count,
                    ButtonBarHost& host);
// At the main window's creation: a button for every shown item, in item order.
void BuildButtonBar(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items,
                    ButtonBarHost& host);
// After show flags changed: the k-th shown item goes into slot k (existing
// buttons take its tooltip and are repainted when their item changed), then
// the count becomes the number of shown items (at most 64). Returns that count.
int RefreshButtonBar(ButtonBar& bar, ShellLayout& layout, const LauncherItem* items,
                     ButtonBarHost& host);

// The item index shown at `position`, or -1 when the position is not in use.
int SlotItem(const ButtonBar& bar, const ShellLayout& layout, int position);
// The button position for a window command id, or -1 when the id is none.
int ButtonPositionOfCommand(int command_id, const ShellLayout& layout);

// A click on the button at `position` (IDM_FIRST_BUTTON + position): runs its
// item's path as a fresh top-level run with ButtonContext(position).
// Nothing while the leave-room lock is on. Returns the run's result, 0 when
// nothing ran.
int ClickButton(const ButtonBar& bar, const ShellLayout& layout, const LauncherItem* items,
                int position, bool locked, Interpreter& interpreter, WindowRef window);

// The line run for files dropped on a button: the item's path, one blank and
// the drop list ("\"a\" \"b\""), each name marked as inserted so that it
// arrives as one argument, byte for byte. Names that would not fit whole
// within the kLineMax bytes of a line are left out, so no name arrives cut.
MarkedLine DropRunLine(std::string_view path, std::string_view drop_list);

// The last name of a drop list, without its quotes.
std::string_view LastDroppedName(std::string_view drop_list);

// The question asked before an item is replaced by a dropped file, cut to
// 255 bytes without splitting a double-byte character.
std::string ItemChangeQuestion(int position, int item, std::string_view name);

// Makes the item stand for `name`: path, icon path and comment (each cut to
// its field), icon index 0.
void ChangeItemTo(LauncherItem& item, std::string_view name);

// What a drop on a button does.
enum class DropChoice { kNothing, kRunWithParameters, kChangeItem };

// The DropAction (the UsingDropFile setting): what files dropped on a button do.
inline constexpr int kDropAsk = 0;           // ask with the selection dialog first
inline constexpr int kDropRun = 1;           // run the item with the files as parameters
inline constexpr int kDropChange = 2;        // change the item to the last file
inline constexpr int kDropRunOnce = 3;       // the dialog chose running: this drop only
inline constexpr int kDropChangeOnce = 4;    // the dialog chose changing: this drop only

// True when the DropAction says to ask with the selection dialog first
// (kDropAsk, or a value the setting does not know).
bool DropAsksFirst(int drop_action);
// The DropAction after the selection dialog closed with `dialog_id`:
// IDC_DROP_RUN sets kDropRunOnce, IDC_DROP_CHANGE kDropChangeOnce, a cancel leaves it.
int DropActionAfterDialog(int drop_action, int dialog_id);
// What the drop does under `drop_action`; the one-shot values go back to
// kDropAsk. After a cancelled dialog (still kDropAsk) the drop does nothing.
DropChoice TakeDropChoice(int& drop_action);

// Files dropped at client x of the main window when ClassifyDrop says a
// button: asks or acts as the DropAction says, runs the item with the drop
// list as parameters or changes the item to the last dropped name. Nothing
// while the leave-room lock is on or when x hits no button. Returns what it did.
DropChoice DropOnButton(ButtonBar& bar, const ShellLayout& layout, LauncherItem* items,
                        int client_x, std::string_view drop_list, int& drop_action, bool locked,
                        Interpreter& interpreter, WindowRef window, ButtonBarHost& host);

}  // namespace vsmr
