// List-view helpers of the options dialog (see options_lists_win.h).
#include "dialogs/options_lists_win.h"

#include <commctrl.h>

#include <string>

namespace vsmr {

namespace {

void SetText(HWND list, int row, int column, std::string_view text) {
  std::string copy(text);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void SetUpList(HWND list, std::initializer_list<ListColumn> columns, bool check_boxes) {
  DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP;
  if (check_boxes) extended |= LVS_EX_CHECKBOXES;
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  int index = 0;
  for (const ListColumn& c : columns) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(c.title);
    column.cx = c.width;
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
    ++index;
  }
}

void AppendRow(HWND list, std::initializer_list<std::string_view> texts, int image) {
  const int row = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  std::string first(texts.size() > 0 ? *texts.begin() : std::string_view());
  LVITEMA item{};
  item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
  item.iItem = row;
  item.pszText = first.data();
  item.iImage = image;
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  SetRowTexts(list, row, texts);
}

void SetRowTexts(HWND list, int row, std::initializer_list<std::string_view> texts) {
  int column = 0;
  for (std::string_view text : texts) SetText(list, row, column++, text);
}

void SetRowImage(HWND list, int row, int image) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int RowImage(HWND list, int row) {
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

void DeleteRow(HWND list, int row) { SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0); }

bool RowChecked(HWND list, int row) {
  const auto state = SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                  LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void CheckRow(HWND list, int row, bool checked) {
  LVITEMA item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int SelectedRow(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                       LVNI_SELECTED));
}

void SelectRow(HWND list, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

}  // namespace vsmr
