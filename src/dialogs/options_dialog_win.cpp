// The options dialog: the shared dialog procedure binds the dialog object from
// the WM_INITDIALOG parameter, and the object dispatches to handlers that fill
// the tabs from the working copy, open the item editors on rows and read the
// controls back into the copy on OK.
#include "dialogs/options_dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "base/resource_ids.h"
#include "base/window_procedure_win.h"
#include "dialogs/dialog_text_win.h"
#include "dialogs/editor_rules.h"
#include "dialogs/item_editors_win.h"
#include "dialogs/item_icon_win.h"
#include "dialogs/options_lists_win.h"

namespace vsmr {

namespace {

constexpr char kSkinFilters[] = "BMPファイル(*.bmp)\0*.bmp\0All Files(*.*)\0*.*\0";

// The controls of each tab, by id range.
struct TabPage {
  const char* title;
  int first_id;
  int last_id;
};
constexpr TabPage kPages[] = {
    {"タイマー", IDC_OPT_TIMER_LIST, IDC_OPT_TIMER_LAST},
    {"ランチャー", IDC_OPT_ITEM_LIST, IDC_OPT_ITEM_DOWN},
    {"コマンド", IDC_OPT_CMD_LIST, IDC_OPT_LAUNCHER_LENGTH},
    {"メール", IDC_OPT_MAIL_LIST, IDC_OPT_MAIL_SHOW_WINDOW},
    {"一般設定", IDC_OPT_SKIN, IDC_OPT_LEAVE_PASSWORD_LABEL},
};
constexpr int kDropRadioIds[] = {IDC_OPT_DROP_ASK, IDC_OPT_DROP_RUN, IDC_OPT_DROP_CHANGE};

class OptionsDialog {
 public:
  OptionsDialog(const OptionsDialogContext& context, OptionsCopy& copy)
      : context_(context), item_context_(context.item), copy_(copy) {
    item_context_.commands = &copy_.commands;
  }

  // Every message, through DialogProcedure.
  INT_PTR OnMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

 private:
  void OnInit(HWND dialog);
  bool OnCommand(int id, int code);
  bool OnNotify(const NMHDR* header);
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  std::string Text(int id, int capacity) const {
    std::string text(static_cast<std::size_t>(capacity), '\0');
    text.resize(static_cast<std::size_t>(GetDlgItemTextA(dialog_, id, text.data(), capacity)));
    return text;
  }
  EditorContext Editor() const {
    EditorContext editor = item_context_.editor;
    editor.owner = dialog_;
    return editor;
  }

  void ShowPage(int page);
  void FillTimers();
  void FillItems();
  void FillCommands();
  void FillMail();
  void FillGeneral();
  void FillFonts();

  void ShowTimerRow(int row);
  void ShowItemRow(int row);
  void ShowCommandRow(int row);
  void ShowAccountRow(int row);
  void LoadRowIcon(int row, int image);

  // Opens the editor of `list` (one of the four list ids) on its row `row`.
  void EditRow(int list, int row);
  void MoveItem(int step);
  void MoveCommand(int step);
  void AddCommand();
  void DeleteCommand();
  void BrowseSkin();
  void ChooseClockColor();
  void ReadControls();

  const OptionsDialogContext& context_;
  LauncherItemDialogContext item_context_;
  OptionsCopy& copy_;
  HWND dialog_ = nullptr;
  HIMAGELIST icons_ = nullptr;  // the launcher list owns it
  COLORREF clock_color_ = 0;
};

void OptionsDialog::OnInit(HWND dialog) {
  dialog_ = dialog;
  HWND tabs = Item(IDC_OPT_TABS);
  for (int i = 0; i < static_cast<int>(std::size(kPages)); ++i) {
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(kPages[i].title);
    SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
  }
  ShowPage(0);
  FillTimers();
  FillItems();
  FillCommands();
  FillMail();
  FillGeneral();
}

void OptionsDialog::ShowPage(int page) {
  for (int i = 0; i < static_cast<int>(std::size(kPages)); ++i) {
    for (int id = kPages[i].first_id; id <= kPages[i].last_id; ++id) {
      if (HWND control = Item(id)) ShowWindow(control, i == page ? SW_SHOW : SW_HIDE);
    }
  }
}

void OptionsDialog::FillTimers() {
  HWND list = Item(IDC_OPT_TIMER_LIST);
  SetUpList(list, {{"Time", 65}, {"Command", 194}}, true);
  for (int row = 0; row < kCommandTimerCount; ++row) {
    AppendRow(list, {"", ""});
    ShowTimerRow(row);
    CheckRow(list, row, copy_.settings.timers[row].enabled != 0);
  }
}

void OptionsDialog::ShowTimerRow(int row) {
  const CommandTimer& timer = copy_.settings.timers[row];
  SetRowTexts(Item(IDC_OPT_TIMER_LIST), row, {TimerRowTime(timer), timer.command.View()});
}

void OptionsDialog::FillItems() {
  HWND list = Item(IDC_OPT_ITEM_LIST);
  SetUpList(list, {{"ApplicationAddress", 159}, {"Comment", 100}}, true);
  icons_ = ImageList_Create(kItemIconSmall, kItemIconSmall, ILC_COLOR32 | ILC_MASK,
                            kLauncherItemCount, 0);
  // The list view destroys its image list with itself, that is with the dialog.
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_));
  for (int row = 0; row < kLauncherItemCount; ++row) {
    AppendRow(list, {"", ""}, row);
    LoadRowIcon(row, -1);
    ShowItemRow(row);
    CheckRow(list, row, copy_.settings.launcher_items[row].shown != 0);
  }
}

void OptionsDialog::LoadRowIcon(int row, int image) {
  const LauncherItem& item = copy_.settings.launcher_items[row];
  IconHandle icon =
      LoadItemIcon(item.icon_path.c_str(), item.icon_index, kItemIconSmall, item_context_.icons);
  // The image list keeps its own copy of the icon.
  const int index = ImageList_ReplaceIcon(icons_, image, icon.get());
  if (image < 0) SetRowImage(Item(IDC_OPT_ITEM_LIST), row, index);
}

void OptionsDialog::ShowItemRow(int row) {
  const LauncherItem& item = copy_.settings.launcher_items[row];
  SetRowTexts(Item(IDC_OPT_ITEM_LIST), row, {item.path.View(), item.comment.View()});
}

void OptionsDialog::FillCommands() {
  HWND list = Item(IDC_OPT_CMD_LIST);
  SetUpList(list, {{"Command", 88}, {"Comment", 169}, {"ApplicationAddress", 2}}, false);
  for (int row = 0; row < copy_.commands.count; ++row) {
    AppendRow(list, {"", "", ""});
    ShowCommandRow(row);
  }
  SendDlgItemMessageA(dialog_, IDC_OPT_HOT_KEY, HKM_SETHOTKEY, copy_.settings.hot_key, 0);
  SetDlgItemTextA(dialog_, IDC_OPT_LAUNCHER_LENGTH, copy_.launcher_length.c_str());
}

void OptionsDialog::ShowCommandRow(int row) {
  const CommandEntry& c = copy_.commands.entries[row];
  SetRowTexts(Item(IDC_OPT_CMD_LIST), row, {c.name.View(), c.comment.View(), c.body.View()});
}

void OptionsDialog::FillMail() {
  HWND list = Item(IDC_OPT_MAIL_LIST);
  SetUpList(list, {{"POP Server", 75}, {"Account", 76}, {"Notifying Wave File", 180}}, true);
  for (int row = 0; row < kMailAccountCount; ++row) {
    AppendRow(list, {"", "", ""});
    ShowAccountRow(row);
    CheckRow(list, row, copy_.settings.accounts[row].enabled != 0);
  }
  CheckDlgButton(dialog_, IDC_OPT_MAIL_LAUNCHER, copy_.settings.mail_launcher_or_not ? BST_CHECKED : 0);
  SendDlgItemMessageA(dialog_, IDC_OPT_MAIL_LAUNCHER_WORD, EM_LIMITTEXT,
                      sizeof copy_.settings.mail_launcher_command.data - 1, 0);
  SetDlgItemTextA(dialog_, IDC_OPT_MAIL_LAUNCHER_WORD, copy_.settings.mail_launcher_command.c_str());
  CheckDlgButton(dialog_, IDC_OPT_MAIL_KEEP_STATE,
                 copy_.settings.save_previous_mail_status ? BST_CHECKED : 0);
  CheckDlgButton(dialog_, IDC_OPT_MAIL_SHOW_WINDOW, copy_.settings.show_mail_dialog ? BST_CHECKED : 0);
  SetDlgItemTextA(dialog_, IDC_OPT_AUTO_HOURS, copy_.hours.c_str());
  SetDlgItemTextA(dialog_, IDC_OPT_AUTO_MINUTES, copy_.minutes.c_str());
  SetDlgItemTextA(dialog_, IDC_OPT_AUTO_SECONDS, copy_.seconds.c_str());
}

void OptionsDialog::ShowAccountRow(int row) {
  const MailAccount& a = copy_.settings.accounts[row];
  SetRowTexts(Item(IDC_OPT_MAIL_LIST), row,
              {a.server.View(), a.user_name.View(), a.sound_file.View()});
}

void OptionsDialog::FillGeneral() {
  SendDlgItemMessageA(dialog_, IDC_OPT_SKIN, EM_LIMITTEXT,
                      sizeof copy_.settings.skin_bitmap_path.data - 1, 0);
  SetDlgItemTextA(dialog_, IDC_OPT_SKIN, copy_.settings.skin_bitmap_path.c_str());
  FillFonts();
  clock_color_ = static_cast<COLORREF>(copy_.settings.clock_font_color);
  if (copy_.drop_radio != kNoDropRadio) {
    CheckDlgButton(dialog_, kDropRadioIds[copy_.drop_radio], BST_CHECKED);
  }
  SendDlgItemMessageA(dialog_, IDC_OPT_LEAVE_PASSWORD, EM_SETPASSWORDCHAR, '*', 0);
  SendDlgItemMessageA(dialog_, IDC_OPT_LEAVE_PASSWORD, EM_LIMITTEXT,
                      sizeof copy_.settings.leave_room_password.data - 1, 0);
  SetDlgItemTextA(dialog_, IDC_OPT_LEAVE_PASSWORD, copy_.settings.leave_room_password.c_str());
}

int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM combo) {
  if (font->lfFaceName[0] != '@') {
    SendMessageA(reinterpret_cast<HWND>(combo), CB_INSERTSTRING, 0,
                 reinterpret_cast<LPARAM>(font->lfFaceName));
  }
  return 1;
}

void OptionsDialog::FillFonts() {
  HWND combo = Item(IDC_OPT_FONT);
  LOGFONTA wanted{};
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  HDC dc = GetDC(dialog_);
  EnumFontFamiliesExA(dc, &wanted, AddFontFamily, reinterpret_cast<LPARAM>(combo), 0);
  ReleaseDC(dialog_, dc);
  // A name the system does not list stays in the field, so OK keeps it.
  SetWindowTextA(combo, copy_.settings.command_launcher_cmb_bx_font.c_str());
  const LRESULT found = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(copy_.settings.command_launcher_cmb_bx_font.c_str()));
  if (found != CB_ERR) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void OptionsDialog::EditRow(int list, int row) {
  if (row < 0) return;
  const EditorContext editor = Editor();
  switch (list) {
    case IDC_OPT_TIMER_LIST: {
      if (row >= kCommandTimerCount) return;
      CommandTimer record = copy_.settings.timers[row];
      RunTimerEditor(editor, record);
      ApplyTimerEdit(copy_.settings.timers[row], record);
      ShowTimerRow(row);
      return;
    }
    case IDC_OPT_ITEM_LIST: {
      if (row >= kLauncherItemCount) return;
      LauncherItem record = copy_.settings.launcher_items[row];
      LauncherItemDialogContext context = item_context_;
      context.editor = editor;
      context.item_number = row + 1;
      if (RunLauncherItemDialog(context, record) < 0) record.path.Clear();
      if (ApplyItemEdit(copy_.settings.launcher_items[row], record)) {
        LoadRowIcon(row, RowImage(Item(IDC_OPT_ITEM_LIST), row));
        ShowItemRow(row);
      }
      return;
    }
    case IDC_OPT_CMD_LIST: {
      if (row >= copy_.commands.count) return;
      CommandEntry record = copy_.commands.entries[row];
      if (RunCommandEditor(editor, record) < 0) record.body.Clear();
      if (ApplyCommandEdit(copy_.commands.entries[row], record)) ShowCommandRow(row);
      return;
    }
    case IDC_OPT_MAIL_LIST: {
      if (row >= kMailAccountCount) return;
      MailAccount record = copy_.settings.accounts[row];
      if (RunAccountEditor(editor, record) < 0) record.server.Clear();
      if (ApplyAccountEdit(copy_.settings.accounts[row], record)) ShowAccountRow(row);
      return;
    }
  }
}

void OptionsDialog::MoveItem(int step) {
  HWND list = Item(IDC_OPT_ITEM_LIST);
  const int row = SelectedRow(list);
  const int target = MovedRow(row, step, kLauncherItemCount);
  if (target < 0) return;
  // The check box and the icon travel with their record.
  const bool row_checked = RowChecked(list, row);
  const bool target_checked = RowChecked(list, target);
  const int row_image = RowImage(list, row);
  std::swap(copy_.settings.launcher_items[row], copy_.settings.launcher_items[target]);
  SetRowImage(list, row, RowImage(list, target));
  SetRowImage(list, target, row_image);
  CheckRow(list, row, target_checked);
  CheckRow(list, target, row_checked);
  ShowItemRow(row);
  ShowItemRow(target);
  SelectRow(list, target);
}

void OptionsDialog::MoveCommand(int step) {
  HWND list = Item(IDC_OPT_CMD_LIST);
  const int row = SelectedRow(list);
  const int target = MovedRow(row, step, copy_.commands.count);
  if (target < 0) return;
  std::swap(copy_.commands.entries[row], copy_.commands.entries[target]);
  ShowCommandRow(row);
  ShowCommandRow(target);
  SelectRow(list, target);
}

void OptionsDialog::AddCommand() {
  if (!BeginAddCommand(copy_.commands)) {
    MessageBoxA(dialog_, "追加できません", "ERROR", MB_OK | MB_ICONERROR);
    return;
  }
  CommandEntry& slot = copy_.commands.entries[copy_.commands.count];
  if (RunCommandEditor(Editor(), slot) < 0) slot.body.Clear();
  if (!FinishAddCommand(copy_.commands)) return;
  const int row = copy_.commands.count - 1;
  AppendRow(Item(IDC_OPT_CMD_LIST), {"", "", ""});
  ShowCommandRow(row);
  SelectRow(Item(IDC_OPT_CMD_LIST), row);
}

void OptionsDialog::DeleteCommand() {
  if (MessageBoxA(dialog_, "削除してもよろしいですか?", "削除", MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return;
  }
  HWND list = Item(IDC_OPT_CMD_LIST);
  const int row = SelectedRow(list);
  if (EraseCommand(copy_.commands, row)) DeleteRow(list, row);
}

void OptionsDialog::BrowseSkin() {
  char path[sizeof copy_.settings.skin_bitmap_path.data] = {};
  GetDlgItemTextA(dialog_, IDC_OPT_SKIN, path, sizeof path);
  if (ChooseFile(dialog_, path, sizeof path, kSkinFilters, *item_context_.editor.chooser)) {
    SetDlgItemTextA(dialog_, IDC_OPT_SKIN, path);
  }
}

void OptionsDialog::ChooseClockColor() {
  CHOOSECOLORA chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = dialog_;
  chooser.rgbResult = clock_color_;
  chooser.lpCustColors = context_.colors->custom;
  chooser.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (ChooseColorA(&chooser)) clock_color_ = chooser.rgbResult;
}

void OptionsDialog::ReadControls() {
  for (int row = 0; row < kCommandTimerCount; ++row) {
    copy_.settings.timers[row].enabled = RowChecked(Item(IDC_OPT_TIMER_LIST), row) ? 1 : 0;
  }
  for (int row = 0; row < kLauncherItemCount; ++row) {
    copy_.settings.launcher_items[row].shown = RowChecked(Item(IDC_OPT_ITEM_LIST), row) ? 1 : 0;
  }
  for (int row = 0; row < kMailAccountCount; ++row) {
    copy_.settings.accounts[row].enabled = RowChecked(Item(IDC_OPT_MAIL_LIST), row) ? 1 : 0;
  }
  copy_.launcher_length = Text(IDC_OPT_LAUNCHER_LENGTH, kOptionNumberChars + 1);
  copy_.hours = Text(IDC_OPT_AUTO_HOURS, kOptionNumberChars + 1);
  copy_.minutes = Text(IDC_OPT_AUTO_MINUTES, kOptionNumberChars + 1);
  copy_.seconds = Text(IDC_OPT_AUTO_SECONDS, kOptionNumberChars + 1);
  copy_.settings.save_previous_mail_status = IsDlgButtonChecked(dialog_, IDC_OPT_MAIL_KEEP_STATE) ? 1 : 0;
  copy_.settings.show_mail_dialog = IsDlgButtonChecked(dialog_, IDC_OPT_MAIL_SHOW_WINDOW) ? 1 : 0;
  ReadDialogField(dialog_, IDC_OPT_MAIL_LAUNCHER_WORD, copy_.settings.mail_launcher_command);
  copy_.settings.mail_launcher_or_not = IsDlgButtonChecked(dialog_, IDC_OPT_MAIL_LAUNCHER) ? 1 : 0;
  ReadDialogField(dialog_, IDC_OPT_SKIN, copy_.settings.skin_bitmap_path);
  copy_.settings.clock_font_color = static_cast<std::int32_t>(clock_color_);
  ReadDialogField(dialog_, IDC_OPT_FONT, copy_.settings.command_launcher_cmb_bx_font);
  copy_.settings.hot_key =
      static_cast<std::uint16_t>(SendDlgItemMessageA(dialog_, IDC_OPT_HOT_KEY, HKM_GETHOTKEY, 0, 0));
  for (int i = 0; i < static_cast<int>(std::size(kDropRadioIds)); ++i) {
    if (IsDlgButtonChecked(dialog_, kDropRadioIds[i]) == BST_CHECKED) copy_.drop_radio = i;
  }
  ReadDialogField(dialog_, IDC_OPT_LEAVE_PASSWORD, copy_.settings.leave_room_password);
}

bool OptionsDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDOK:
      ReadControls();
      EndDialog(dialog_, kEditorOk);
      return true;
    case IDCANCEL:
      EndDialog(dialog_, kEditorCancel);
      return true;
    case IDC_OPT_TIMER_EDIT:
    case IDC_OPT_ITEM_EDIT:
    case IDC_OPT_CMD_EDIT:
    case IDC_OPT_MAIL_EDIT: {
      const int list = id - 1;  // each EDIT button follows its list
      EditRow(list, SelectedRow(Item(list)));
      return true;
    }
    case IDC_OPT_ITEM_UP: MoveItem(-1); return true;
    case IDC_OPT_ITEM_DOWN: MoveItem(+1); return true;
    case IDC_OPT_CMD_UP: MoveCommand(-1); return true;
    case IDC_OPT_CMD_DOWN: MoveCommand(+1); return true;
    case IDC_OPT_CMD_ADD: AddCommand(); return true;
    case IDC_OPT_CMD_DELETE: DeleteCommand(); return true;
    case IDC_OPT_SKIN_BROWSE: BrowseSkin(); return true;
    case IDC_OPT_COLOR: ChooseClockColor(); return true;
  }
  return false;
}

bool OptionsDialog::OnNotify(const NMHDR* header) {
  const int id = static_cast<int>(header->idFrom);
  if (id == IDC_OPT_TABS && header->code == TCN_SELCHANGE) {
    ShowPage(static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
    return true;
  }
  if (header->code == NM_DBLCLK && IsWindowVisible(header->hwndFrom)) {
    EditRow(id, reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
    return true;
  }
  return false;
}

INT_PTR OptionsDialog::OnMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lp)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunOptionsDialog(const OptionsDialogContext& context, OptionsCopy& copy) {
  INITCOMMONCONTROLSEX classes{sizeof classes,
                               ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&classes);
  OptionsDialog dialog(context, copy);
  return static_cast<int>(DialogBoxParamA(context.item.editor.instance, "MNOPTDLG",
                                          context.item.editor.owner,
                                          &DialogProcedure<OptionsDialog>::Procedure,
                                          reinterpret_cast<LPARAM>(&dialog)));
}

}  // namespace vsmr
