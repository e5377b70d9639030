// The options dialog's list views: columns, rows of texts, the check box of a
// row, its icon and the selection, over the list-view messages.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace vsmr {

struct ListColumn {
  const char* title;
  int width;  // pixels
};

// Full-row selection, grid lines, draggable headers and, when `check_boxes`,
// a check box per row; then the columns in order.
void SetUpList(HWND list, std::initializer_list<ListColumn> columns, bool check_boxes);

// Appends a row of `texts` (one per column) with image `image` (-1: none).
void AppendRow(HWND list, std::initializer_list<std::string_view> texts, int image = -1);
// Rewrites the texts of `row` from its first column on.
void SetRowTexts(HWND list, int row, std::initializer_list<std::string_view> texts);
void SetRowImage(HWND list, int row, int image);
int RowImage(HWND list, int row);
void DeleteRow(HWND list, int row);

bool RowChecked(HWND list, int row);
void CheckRow(HWND list, int row, bool checked);

// The first selected row, or -1.
int SelectedRow(HWND list);
// Makes `row` the one selected row, focused and scrolled into view.
void SelectRow(HWND list, int row);

}  // namespace vsmr
