// The item editors' rules that need no window: what the opener does with the
// edit record after the dialog, how a number field is read, which characters
// an editor refuses, and the account editor's required fields, security
// choices and port.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "command/command_list.h"
#include "mail/account/account_values.h"
#include "settings/settings_records.h"

namespace vsmr {

// Dialog results of every item editor.
inline constexpr int kEditorOk = 1;
inline constexpr int kEditorCancel = 2;

// Characters a number field keeps: the field reads its text through a buffer
// of this many characters plus the NUL, so "1234" gives 123.
inline constexpr int kNumberFieldChars = 3;

// The number at the start of a field's text, read from its first
// kNumberFieldChars bytes only: leading blanks, an optional sign, then digits
// (no digits: 0). No range check.
int ReadFieldNumber(std::string_view text);
// The same over the first `chars` bytes of `text` (at most 9, so the value
// always fits).
int ReadFieldNumber(std::string_view text, std::size_t chars);

// True when `text` holds a TAB or a line break, which would split a line of
// vsmrcmd.dat or a value of vsmrsys.ini.
bool HasLineBreakingChar(std::string_view text);
// The warning an editor shows for such a text.
inline constexpr std::string_view kLineBreakWarning =
    "タブや改行は使えません。取り除いてからOKを押してください";

// The openers: each copies the edit record back into the edited one when its
// rule allows and says whether the record changed.
// A command changes unless the record's body is empty (CANCEL empties it).
bool ApplyCommandEdit(CommandEntry& command, const CommandEntry& record);
// A timer always takes the record (hour, minute, command), after CANCEL too;
// its enabled flag stays what the list's check box holds.
void ApplyTimerEdit(CommandTimer& timer, const CommandTimer& record);
// An account changes unless the record's server is empty; its enabled flag
// stays.
bool ApplyAccountEdit(MailAccount& account, const MailAccount& record);

// The time column of a timer's row: "%02d:%02d" of the values the clock
// compares, however large or negative they are.
std::string TimerRowTime(const CommandTimer& timer);

// The timer editor's OK: a warning when the hour is not 0 to 23 or the minute
// not 0 to 59 (the clock never reaches such a time, so the timer would never
// run), or empty. Times already stored are loaded and listed as they are.
std::string_view TimerTimeWarning(int hour, int minute);

// The account editor's OK: the warning for the first empty required field in
// the order server, user name, password, or empty when all three are set.
std::string_view MissingAccountField(std::string_view server, std::string_view user_name,
                                     std::string_view password);

// The account editor's security choices, each at the index of the value it
// stores.
inline constexpr std::string_view kSecurityChoices[] = {"なし (平文)", "SSL/TLS (POP3S)",
                                                        "STARTTLS (STLS)"};
static_assert(std::size(kSecurityChoices) == kPopSecurityLast + 1);
// A stored value the mail client does not know is shown as one more entry
// after the choices, never as clear text; it keeps the value unless the user
// picks a choice.
inline constexpr std::string_view kUnknownSecurityChoice = "不明";
inline constexpr int kUnknownSecurityEntry = kPopSecurityLast + 1;
// The entry the security list selects for a stored value.
int SecurityEntryOf(std::int32_t security);
// The value OK stores for the selected entry: a choice's own value; the
// unknown entry, or no selection, keeps `stored`.
std::int32_t SecurityOfEntry(int entry, std::int32_t stored);

// The account editor's port field: empty (blanks around are ignored) reads as
// 0, the security's usual port; otherwise decimal digits only, 0 to 65535.
// False for anything else, leaving `port` as it was.
bool ReadPortField(std::string_view text, std::int32_t& port);
inline constexpr std::string_view kPortWarning =
    "ポート番号は0から65535までの数字で入力してください。\n空欄か0なら標準のポートを使います。";

}  // namespace vsmr
