// The command, timer and account editors: the shared dialog procedure binds
// each editor from the WM_INITDIALOG parameter, and the editor dispatches to
// short handlers that move text between the controls and the record.
#include "dialogs/item_editors_win.h"

#include <cstdio>
#include <string>

#include "base/resource_ids.h"
#include "base/window_procedure_win.h"
#include "dialogs/dialog_text_win.h"
#include "dialogs/editor_rules.h"
#include "dialogs/line_break_refusal_win.h"

namespace vsmr {

namespace {

constexpr char kCommandFilters[] = "All Files(*.*)\0*.*\0アプリケーションプログラム(*.exe)\0*.exe\0";
constexpr char kTimerFilters[] = "全てのファイル(*.*)\0*.*\0";
constexpr char kSoundFilters[] = "WAVファイル(*.wav)\0*.wav\0All Files(*.*)\0*.*\0";

template <std::size_t N>
void ReadField(HWND dialog, int id, FixedText<N>& field) {
  ReadDialogField(dialog, id, field);
}

template <std::size_t N>
void ShowField(HWND dialog, int id, const FixedText<N>& field) {
  SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, N - 1, 0);
  SetDlgItemTextA(dialog, id, field.c_str());
}

std::string FieldText(HWND dialog, int id, int capacity) {
  std::string text(static_cast<std::size_t>(capacity), '\0');
  text.resize(static_cast<std::size_t>(GetDlgItemTextA(dialog, id, text.data(), capacity)));
  return text;
}

void Warn(HWND dialog, std::string_view text) {
  MessageBoxA(dialog, std::string(text).c_str(), "注意", MB_OK | MB_ICONWARNING);
}

// The open-file chooser over the text of field `id`, taken into `field`
// first; a choice goes back into the control.
template <std::size_t N>
void BrowseFile(const EditorContext& context, HWND dialog, int id, FixedText<N>& field,
                const char* filters) {
  ReadField(dialog, id, field);
  if (ChooseFile(dialog, field.data, N, filters, *context.chooser)) {
    SetDlgItemTextA(dialog, id, field.c_str());
  }
}

// One editor: its record and the handlers its dialog procedure calls.
template <typename Record>
struct Editor {
  const EditorContext& context;
  Record& record;

  // Field set-up at WM_INITDIALOG and the buttons, through OnInit and OnCommand below.
  INT_PTR OnMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
};

using CommandEditor = Editor<CommandEntry>;
using TimerEditor = Editor<CommandTimer>;
using AccountEditor = Editor<MailAccount>;

void OnInit(CommandEditor& e, HWND dialog) {
  ShowField(dialog, IDC_CMD_BODY, e.record.body);
  ShowField(dialog, IDC_CMD_COMMENT, e.record.comment);
  ShowField(dialog, IDC_CMD_NAME, e.record.name);
}

bool OnCommand(CommandEditor& e, HWND dialog, int id) {
  switch (id) {
    case IDOK:
      if (RefuseLineBreaks(dialog, {IDC_CMD_BODY, IDC_CMD_NAME, IDC_CMD_COMMENT})) return true;
      ReadField(dialog, IDC_CMD_BODY, e.record.body);
      ReadField(dialog, IDC_CMD_NAME, e.record.name);
      ReadField(dialog, IDC_CMD_COMMENT, e.record.comment);
      EndDialog(dialog, kEditorOk);
      return true;
    case IDCANCEL:
      e.record.body.Clear();
      EndDialog(dialog, kEditorCancel);
      return true;
    case IDC_CMD_FILE:
      BrowseFile(e.context, dialog, IDC_CMD_BODY, e.record.body, kCommandFilters);
      return true;
    case IDC_CMD_DIR:
      ReadField(dialog, IDC_CMD_BODY, e.record.body);
      ChooseFolder(dialog, e.record.body.data, sizeof e.record.body.data);
      SetDlgItemTextA(dialog, IDC_CMD_BODY, e.record.body.c_str());
      return true;
  }
  return false;
}

void OnInit(TimerEditor& e, HWND dialog) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", static_cast<int>(e.record.hour));
  SetDlgItemTextA(dialog, IDC_TIMER_HOUR, number);
  std::snprintf(number, sizeof number, "%d", static_cast<int>(e.record.minute));
  SetDlgItemTextA(dialog, IDC_TIMER_MINUTE, number);
  ShowField(dialog, IDC_TIMER_COMMAND, e.record.command);
}

bool OnCommand(TimerEditor& e, HWND dialog, int id) {
  switch (id) {
    case IDOK: {
      if (RefuseLineBreaks(dialog, {IDC_TIMER_COMMAND})) return true;
      const int hour = ReadFieldNumber(FieldText(dialog, IDC_TIMER_HOUR, kNumberFieldChars + 1));
      const int minute = ReadFieldNumber(FieldText(dialog, IDC_TIMER_MINUTE, kNumberFieldChars + 1));
      const std::string_view warning = TimerTimeWarning(hour, minute);
      if (!warning.empty()) {
        Warn(dialog, warning);
        // The first field that is out of range is selected for typing over.
        const int field = TimerTimeWarning(hour, 0).empty() ? IDC_TIMER_MINUTE : IDC_TIMER_HOUR;
        SetFocus(GetDlgItem(dialog, field));
        SendDlgItemMessageA(dialog, field, EM_SETSEL, 0, -1);
        return true;
      }
      e.record.hour = hour;
      e.record.minute = minute;
      ReadField(dialog, IDC_TIMER_COMMAND, e.record.command);
      EndDialog(dialog, kEditorOk);
      return true;
    }
    case IDCANCEL:
      EndDialog(dialog, kEditorCancel);
      return true;
    case IDC_TIMER_BROWSE:
      // The chooser's text reaches the timer even after CANCEL.
      if (RefuseLineBreaks(dialog, {IDC_TIMER_COMMAND})) return true;
      BrowseFile(e.context, dialog, IDC_TIMER_COMMAND, e.record.command, kTimerFilters);
      return true;
  }
  return false;
}

void AddSecurityEntry(HWND dialog, std::string_view text) {
  SendDlgItemMessageA(dialog, IDC_MAIL_SECURITY, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>(std::string(text).c_str()));
}

void OnInit(AccountEditor& e, HWND dialog) {
  ShowField(dialog, IDC_MAIL_SERVER, e.record.server);
  ShowField(dialog, IDC_MAIL_USER, e.record.user_name);
  ShowField(dialog, IDC_MAIL_PASSWORD, e.record.password);
  ShowField(dialog, IDC_MAIL_SOUND, e.record.sound_file);
  const int entry = SecurityEntryOf(e.record.security);
  for (std::string_view choice : kSecurityChoices) AddSecurityEntry(dialog, choice);
  if (entry == kUnknownSecurityEntry) AddSecurityEntry(dialog, kUnknownSecurityChoice);
  SendDlgItemMessageA(dialog, IDC_MAIL_SECURITY, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  // Five digits hold every port; an empty field means the usual one.
  SendDlgItemMessageA(dialog, IDC_MAIL_PORT, EM_LIMITTEXT, 5, 0);
  if (e.record.port != 0) SetDlgItemInt(dialog, IDC_MAIL_PORT, static_cast<UINT>(e.record.port), FALSE);
}

bool OnCommand(AccountEditor& e, HWND dialog, int id) {
  MailAccount& r = e.record;
  switch (id) {
    case IDOK: {
      // Every field is saved inside the tab-separated Mail%dAccountData.
      if (RefuseLineBreaks(dialog, {IDC_MAIL_SERVER, IDC_MAIL_USER, IDC_MAIL_PASSWORD,
                                    IDC_MAIL_SOUND})) {
        return true;
      }
      // The fields are stored as they are read; the opener discards them
      // unless the dialog ends with a server set.
      ReadField(dialog, IDC_MAIL_SERVER, r.server);
      ReadField(dialog, IDC_MAIL_USER, r.user_name);
      ReadField(dialog, IDC_MAIL_PASSWORD, r.password);
      const std::string_view missing =
          MissingAccountField(r.server.View(), r.user_name.View(), r.password.View());
      if (!missing.empty()) {
        Warn(dialog, missing);
        return true;
      }
      const LRESULT entry = SendDlgItemMessageA(dialog, IDC_MAIL_SECURITY, CB_GETCURSEL, 0, 0);
      r.security = SecurityOfEntry(entry == CB_ERR ? -1 : static_cast<int>(entry), r.security);
      if (!ReadPortField(FieldText(dialog, IDC_MAIL_PORT, 64), r.port)) {
        Warn(dialog, kPortWarning);
        SetFocus(GetDlgItem(dialog, IDC_MAIL_PORT));
        SendDlgItemMessageA(dialog, IDC_MAIL_PORT, EM_SETSEL, 0, -1);
        return true;
      }
      ReadField(dialog, IDC_MAIL_SOUND, r.sound_file);
      EndDialog(dialog, kEditorOk);
      return true;
    }
    case IDCANCEL:
      r.server.Clear();
      EndDialog(dialog, kEditorCancel);
      return true;
    case IDC_MAIL_SOUND_BROWSE:
      BrowseFile(e.context, dialog, IDC_MAIL_SOUND, r.sound_file, kSoundFilters);
      return true;
  }
  return false;
}

template <typename Record>
INT_PTR Editor<Record>::OnMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) {
    OnInit(*this, dialog);
    return TRUE;
  }
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    return OnCommand(*this, dialog, LOWORD(wp)) ? TRUE : FALSE;
  }
  return FALSE;
}

template <typename Record>
int Run(const EditorContext& context, const char* name, Record& record) {
  Editor<Record> editor{context, record};
  return static_cast<int>(DialogBoxParamA(context.instance, name, context.owner,
                                          &DialogProcedure<Editor<Record>>::Procedure,
                                          reinterpret_cast<LPARAM>(&editor)));
}

}  // namespace

int RunCommandEditor(const EditorContext& context, CommandEntry& record) {
  return Run(context, "CMDIPTDLG", record);
}

int RunTimerEditor(const EditorContext& context, CommandTimer& record) {
  return Run(context, "TIMEREDITDLG", record);
}

int RunAccountEditor(const EditorContext& context, MailAccount& record) {
  return Run(context, "MAILEDITDLG", record);
}

}  // namespace vsmr
