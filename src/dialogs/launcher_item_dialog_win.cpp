// The launcher item dialog: the shared dialog procedure binds the dialog object
// from the WM_INITDIALOG parameter, and the object dispatches to handlers that
// move text between the controls and the rules of launcher_item_rules.h.
#include "dialogs/launcher_item_dialog_win.h"

#include <shellapi.h>

#include <string>

#include "base/resource_ids.h"
#include "base/window_procedure_win.h"
#include "dialogs/choosers.h"
#include "dialogs/dialog_text_win.h"
#include "dialogs/editor_rules.h"
#include "dialogs/item_icon_win.h"
#include "dialogs/launcher_item_rules.h"
#include "dialogs/line_break_refusal_win.h"

namespace vsmr {

namespace {

constexpr char kItemFilters[] = "All Files(*.*)\0*.*\0アプリケーションプログラム(*.exe)\0*.exe\0";
constexpr int kIconPickerOrdinal = 62;  // the shell's icon picker, exported by number only
constexpr int kPickerBuffer = 260;

class LauncherItemDialog {
 public:
  LauncherItemDialog(const LauncherItemDialogContext& context, LauncherItem& record)
      : context_(context), record_(record) {}

  // Every message, through DialogProcedure.
  INT_PTR OnMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

 private:
  void OnInit(HWND dialog);
  bool OnCommand(int id, int code);
  // The path field's text as the record's path field holds it.
  std::string PathText() const {
    decltype(record_.path) path;
    ReadDialogField(dialog_, IDC_ITEM_PATH, path);
    return std::string(path.View());
  }
  // The icon box shows `icon` and owns it from now on.
  void ShowIcon(IconHandle icon);
  void ShowRecordIcon() {
    ShowIcon(LoadItemIcon(record_.icon_path.c_str(), record_.icon_index, kItemIconLarge,
                          context_.icons));
  }
  void RunIconRule();
  void OnFile();
  void OnDir();
  void OnPickIcon();
  void Close(int result);

  const LauncherItemDialogContext& context_;
  LauncherItem& record_;
  HWND dialog_ = nullptr;
  IconSource opening_;
  IconHandle shown_;
  IUnknown* completion_ = nullptr;
  const PathExists exists_ = PathExistsOnDisk;
};

void LauncherItemDialog::ShowIcon(IconHandle icon) {
  // The box is the first control with the shared static id.
  SendDlgItemMessageA(dialog_, IDC_STATIC_TEXT, STM_SETICON,
                      reinterpret_cast<WPARAM>(icon.get()), 0);
  shown_ = std::move(icon);  // the box no longer shows the old one
}

void LauncherItemDialog::OnInit(HWND dialog) {
  dialog_ = dialog;
  opening_ = {std::string(record_.icon_path.View()), record_.icon_index};
  const std::string title = ItemDialogTitle(context_.item_number);
  if (!title.empty()) SetWindowTextA(dialog, title.c_str());
  ShowRecordIcon();
  SendDlgItemMessageA(dialog, IDC_ITEM_PATH, EM_LIMITTEXT, sizeof record_.path.data - 1, 0);
  SendDlgItemMessageA(dialog, IDC_ITEM_COMMENT, EM_LIMITTEXT, sizeof record_.comment.data - 1, 0);
  SetDlgItemTextA(dialog, IDC_ITEM_PATH, record_.path.c_str());  // runs the icon rule
  SetDlgItemTextA(dialog, IDC_ITEM_COMMENT, record_.comment.c_str());
  if (context_.attach_completion) {
    completion_ = context_.attach_completion(GetDlgItem(dialog, IDC_ITEM_PATH),
                                             ItemCompletionWords(*context_.commands));
  }
}

void LauncherItemDialog::RunIconRule() {
  const IconSource icon =
      PreviewIcon(PathText(), record_.path.View(), opening_, *context_.commands, exists_);
  record_.icon_path.Set(icon.path);
  record_.icon_index = icon.index;
  ShowRecordIcon();
}

void LauncherItemDialog::OnFile() {
  record_.path.Set(PathText());
  if (!ChooseFile(dialog_, record_.path.data, sizeof record_.path.data, kItemFilters,
                  *context_.editor.chooser)) {
    return;
  }
  SetDlgItemTextA(dialog_, IDC_ITEM_PATH, record_.path.c_str());
  record_.icon_path = record_.path;
  ShowRecordIcon();
}

void LauncherItemDialog::OnDir() {
  record_.path.Set(PathText());
  ChooseFolder(dialog_, record_.path.data, sizeof record_.path.data);
  record_.icon_path = record_.path;
  SetDlgItemTextA(dialog_, IDC_ITEM_PATH, record_.path.c_str());
}

void LauncherItemDialog::OnPickIcon() {
  HMODULE shell = LoadLibraryA("SHELL32.DLL");
  if (!shell) return;
  using WidePicker = int(WINAPI*)(HWND, wchar_t*, UINT, int*);
  using AnsiPicker = int(WINAPI*)(HWND, char*, UINT, int*);
  // Through void*: the export's type is known only by its number.
  void* const export62 =
      reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(kIconPickerOrdinal)));
  char path[kPickerBuffer] = {};
  record_.icon_path.View().copy(path, kPickerBuffer - 1);
  int index = record_.icon_index;
  int confirmed = 0;
  if (export62 && context_.nt_platform) {
    wchar_t wide[kPickerBuffer] = {};
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kPickerBuffer);
    confirmed = reinterpret_cast<WidePicker>(export62)(dialog_, wide, kPickerBuffer, &index);
    wide[kPickerBuffer - 1] = L'\0';
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, path, kPickerBuffer, nullptr, nullptr)) {
      path[0] = '\0';
    }
  } else if (export62) {
    confirmed = reinterpret_cast<AnsiPicker>(export62)(dialog_, path, 0, &index);
    path[kPickerBuffer - 1] = '\0';
  }
  FreeLibrary(shell);
  if (confirmed != 1) return;
  char expanded[kPickerBuffer] = {};
  const DWORD length = ExpandEnvironmentStringsA(path, expanded, kPickerBuffer);
  record_.icon_path.Set(length > 0 && length <= kPickerBuffer ? expanded : path);
  record_.icon_index = index;
  // No fallback here: a file without that icon leaves the box empty.
  HICON icon = nullptr;
  ExtractIconExA(record_.icon_path.c_str(), index, &icon, nullptr, 1);
  ShowIcon(IconHandle(icon));
}

void LauncherItemDialog::Close(int result) {
  // The completion object lets go of its list when its field is destroyed.
  DestroyWindow(GetDlgItem(dialog_, IDC_ITEM_PATH));
  if (completion_) completion_->Release();
  completion_ = nullptr;
  EndDialog(dialog_, result);
}

bool LauncherItemDialog::OnCommand(int id, int code) {
  if (id == IDC_ITEM_PATH) {
    if (code == EN_CHANGE) RunIconRule();
    return code == EN_CHANGE;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDOK: {
      // Both are saved inside the tab-separated Launcher%02dData.
      if (RefuseLineBreaks(dialog_, {IDC_ITEM_PATH, IDC_ITEM_COMMENT})) return true;
      record_.path.Set(PathText());
      record_.icon_path.Set(OkIconPath(record_.path.View(), record_.icon_path.View(),
                                       *context_.commands, exists_));
      ReadDialogField(dialog_, IDC_ITEM_COMMENT, record_.comment);
      Close(kEditorOk);
      return true;
    }
    case IDCANCEL:
      record_.path.Clear();
      Close(kEditorCancel);
      return true;
    case IDC_ITEM_FILE:
      OnFile();
      return true;
    case IDC_ITEM_DIR:
      OnDir();
      return true;
    case IDC_ITEM_PICK_ICON:
      OnPickIcon();
      return true;
  }
  return false;
}

INT_PTR LauncherItemDialog::OnMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool PathExistsOnDisk(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

int RunLauncherItemDialog(const LauncherItemDialogContext& context, LauncherItem& record) {
  LauncherItemDialog dialog(context, record);
  return static_cast<int>(DialogBoxParamA(context.editor.instance, "BTNIPTDLG",
                                          context.editor.owner,
                                          &DialogProcedure<LauncherItemDialog>::Procedure,
                                          reinterpret_cast<LPARAM>(&dialog)));
}

}  // namespace vsmr
