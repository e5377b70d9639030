// The mail window on the platform: the MAILDLG dialog, its list rows, status
// line, layout, splitter and the geometry it reads from and writes back to the settings.
#include "mailview/mail_window_win.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <iterator>
#include <string>

#include "base/resource_ids.h"
#include "mail/jobs/mail_job.h"
#include "mailview/mail_layout.h"

namespace vsmr {

namespace {

constexpr int kImageSize = 11;
// Rows that arrive in a stream are drawn this often. Turning drawing back on
// costs Wine's list view some 10 ms (scroll bar and whole-list invalidation), so
// doing it after every hand-off made a check's count show late by as much.
constexpr UINT kListRedrawDelayMs = 100;
// The colour the build's image generator paints where a row state image is transparent.
constexpr COLORREF kImageMask = RGB(255, 0, 255);

struct Column {
  const char* heading;
  int width;
};
constexpr Column kColumns[] = {
    {"アカウント", 64}, {"送信者", 124}, {"件名", 198}, {"受信日時", 100}, {"サイズ", 50},
};

// An all-mask bitmap: the state image of a row that is neither new nor multipart.
HBITMAP EmptyImage() {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kImageSize, kImageSize);
  if (bitmap) {
    MemoryDc dc(screen);
    HGDIOBJ old = SelectObject(dc.get(), bitmap);
    const RECT all{0, 0, kImageSize, kImageSize};
    HBRUSH mask = CreateSolidBrush(kImageMask);
    FillRect(dc.get(), &all, mask);
    DeleteObject(mask);
    SelectObject(dc.get(), old);
  }
  ReleaseDC(nullptr, screen);
  return bitmap;
}

HIMAGELIST MakeStateImages(HINSTANCE instance) {
  HIMAGELIST images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR32 | ILC_MASK, 4, 0);
  if (!images) return nullptr;
  const int ids[] = {IDB_MAIL_MULTIPART, IDB_MAIL_NEW, IDB_MAIL_NEW_MULTIPART};
  for (int id : ids) {
    GdiObject<HBITMAP> bitmap(LoadBitmapA(instance, MAKEINTRESOURCEA(id)));
    ImageList_AddMasked(images, bitmap.get(), kImageMask);
  }
  GdiObject<HBITMAP> empty(EmptyImage());
  ImageList_AddMasked(images, empty.get(), kImageMask);
  return images;
}

HFONT MakeTextFont() {
  LOGFONTA font{};
  font.lfHeight = 12;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynA(font.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

// The text of `column` (0 to 4) of a row.
const std::string& CellText(const MailListRow& row, int column) {
  switch (column) {
    case 0: return row.account;
    case 1: return row.sender;
    case 2: return row.subject;
    case 3: return row.date;
    default: return row.size;
  }
}

// The list's item count after rows were added or removed: the rows already
// drawn stay as they are and the view does not scroll.
void ShowRowCount(HWND list, std::size_t rows) {
  SendMessageA(list, LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

}  // namespace

MailWindow::~MailWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool MailWindow::Create(HINSTANCE instance, HWND owner, SettingsState& settings) {
  if (hwnd_) return true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  instance_ = instance;
  settings_ = &settings;
  list_height_ = 0;
  ++instance_number_;
  row_texts_.clear();
  rows_.Clear();
  drawing_paused_ = false;  // a window closed while paused took its timer with it
  // The dialog procedure sets hwnd_ while the dialog initialises.
  HWND made = CreateDialogParamA(instance, "MAILDLG", owner,
                                 &DialogProcedure<MailWindow>::Procedure,
                                 reinterpret_cast<LPARAM>(this));
  if (!made) hwnd_ = nullptr;
  return hwnd_ != nullptr;
}

void MailWindow::ShowAndRaise() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void MailWindow::Close() {
  if (!hwnd_) return;
  format_menu_.Reset();
  RECT rect;
  if (GetWindowRect(hwnd_, &rect)) {
    settings_->new_mail_dialog_left = rect.left;
    settings_->new_mail_dialog_top = rect.top;
    settings_->new_mail_dialog_right = rect.right;
    settings_->new_mail_dialog_bottom = rect.bottom;
  }
  settings_->new_mail_dialog_list_height = list_height_;
  HWND closing = hwnd_;
  hwnd_ = nullptr;
  DestroyWindow(closing);
}

void MailWindow::ClearRows() {
  if (!hwnd_) return;
  // Emptying a visible list of a thousand rows redraws it, some 3 ms under Wine
  // that the check's worker spends waiting for its first answer.
  PauseListDrawing();
  row_texts_.clear();
  rows_.Clear();
  SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
}

void MailWindow::PauseListDrawing() {
  if (!drawing_paused_ && SetTimer(hwnd_, IDT_MAIL_LIST_REDRAW, kListRedrawDelayMs, nullptr)) {
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    drawing_paused_ = true;
  }
}

int MailWindow::AddRow(const MailListRow& row) { return AddRows({&row, 1}); }

int MailWindow::AddRows(std::span<const MailListRow> rows) {
  if (!hwnd_) return -1;
  PauseListDrawing();
  const int first = static_cast<int>(row_texts_.size());
  for (const MailListRow& row : rows) {
    row_texts_.push_back(row);
    rows_.SetMessage(static_cast<int>(row_texts_.size()) - 1, row.message);
  }
  // Once per batch: Wine's list view spends some 4 us on each new item count.
  ShowRowCount(list_, row_texts_.size());
  return first;
}

void MailWindow::OnGetDisplayInfo(LVITEMA& item) const {
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= row_texts_.size()) return;
  const MailListRow& row = row_texts_[item.iItem];
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    lstrcpynA(item.pszText, CellText(row, item.iSubItem).c_str(), item.cchTextMax);
  }
  if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = row.image;
}

void MailWindow::OnGetDisplayInfo(LVITEMW& item) const {
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= row_texts_.size()) return;
  const MailListRow& row = row_texts_[item.iItem];
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const std::string& text = CellText(row, item.iSubItem);
    const int made = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         item.pszText, item.cchTextMax - 1);
    item.pszText[made > 0 ? made : 0] = L'\0';
  }
  if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) item.iImage = row.image;
}

void MailWindow::SetRowAccount(int row, int account) {
  rows_.Set(row, account, RowCount());
}

void MailWindow::RefreshCount() { SetStatus(MailCountText(RowCount())); }

void MailWindow::SetStatus(std::string_view text) {
  if (!hwnd_) return;
  SetDlgItemTextA(hwnd_, IDC_MAIL_STATUS, std::string(text).c_str());
}

void MailWindow::SetText(std::string_view text) {
  if (!hwnd_) return;
  SetWindowTextA(text_, std::string(text).c_str());
}

int MailWindow::SelectedRow() const {
  return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void MailWindow::StartRowJob(int kind, int row, int list_row) {
  if (row < 0 || !start_job_) return;
  start_job_(kind, rows_.IndexOf(row), rows_.Message(row), list_row);
}

int MailWindow::RowCount() const {
  if (!hwnd_) return 0;
  return static_cast<int>(row_texts_.size());
}

bool MailWindow::PreTranslate(MSG& msg) {
  return hwnd_ && IsWindow(hwnd_) && IsDialogMessageA(hwnd_, &msg);
}

void MailWindow::OnInit() {
  HANDLE icon = LoadImageA(instance_, MAKEINTRESOURCEA(IDI_APP_LARGE), IMAGE_ICON,
                           GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  list_ = GetDlgItem(hwnd_, IDC_MAIL_LIST);
  SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumns[i].width;
    column.pszText = const_cast<char*>(kColumns[i].heading);
    column.iSubItem = i;
    SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }

  text_ = GetDlgItem(hwnd_, IDC_MAIL_TEXT);
  text_font_.Reset(MakeTextFont());
  SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(text_font_.get()), FALSE);
  PARAFORMAT paragraph{};
  paragraph.cbSize = sizeof paragraph;
  paragraph.dwMask = PFM_ALIGNMENT;
  paragraph.wAlignment = PFA_LEFT;
  SendMessageA(text_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
  SetFocus(text_);
  const LRESULT mask = SendMessageA(text_, EM_GETEVENTMASK, 0, 0);
  SendMessageA(text_, EM_SETEVENTMASK, 0, mask | ENM_MOUSEEVENTS);

  MoveWindow(hwnd_, settings_->new_mail_dialog_left, settings_->new_mail_dialog_top,
             settings_->new_mail_dialog_right - settings_->new_mail_dialog_left,
             settings_->new_mail_dialog_bottom - settings_->new_mail_dialog_top, TRUE);
  list_height_ = OpeningListHeight(settings_->new_mail_dialog_list_height, ClientHeight());
  Layout(list_height_);

  format_menu_.Reset(LoadMenuA(instance_, "MAILFPOPUPMENU"));
  images_ = MakeStateImages(instance_);
  SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
}

void MailWindow::OnDestroy() {
  // The list shares the image list (LVS_SHAREIMAGELISTS): it is released here.
  if (images_) ImageList_Destroy(images_);
  images_ = nullptr;
  format_menu_.Reset();
  text_font_.Reset();
  list_ = text_ = nullptr;
  hwnd_ = nullptr;
  row_texts_.clear();
  rows_.Clear();
}

int MailWindow::ClientHeight() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return client.bottom;
}

void MailWindow::Layout(int list_height) {
  RECT client;
  GetClientRect(hwnd_, &client);
  const auto places = LayoutMailWindow(client.right, client.bottom, list_height);
  HDWP moves = BeginDeferWindowPos(kMailControlCount);
  // Every moved control draws itself afresh: the bits it would be copied from
  // lie in a surface the window may just have been given at its new size, so a
  // copy leaves the control blank where it now stands.
  for (const MailControlPlace& p : places) {
    HWND control = GetDlgItem(hwnd_, p.id);
    if (moves && control) {
      moves = DeferWindowPos(moves, control, nullptr, p.x, p.y, p.width, p.height,
                             SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    }
  }
  if (moves) EndDeferWindowPos(moves);
}

bool MailWindow::OnSetCursor(WPARAM wp, LPARAM lp) {
  if (reinterpret_cast<HWND>(wp) != hwnd_ || LOWORD(lp) != HTCLIENT) return false;
  POINT pointer;
  GetCursorPos(&pointer);
  ScreenToClient(hwnd_, &pointer);
  if (!InSplitterBand(pointer.y, list_height_)) return false;
  SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
  SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, TRUE);
  return true;
}

void MailWindow::OnCommand(WPARAM wp, LPARAM lp) {
  switch (LOWORD(wp)) {
    case IDM_MAIL_ROWS:
      // The parameter is a 32-bit number however wide LPARAM is.
      if (static_cast<int>(lp) == -1) {
        ClearRows();
      } else {
        rows_.Apply(static_cast<int>(lp), RowCount());
      }
      break;
    case IDM_MAIL_COUNT:
      RefreshCount();
      break;
    case IDM_MAIL_SHOWN: {
      // A row selected while the message of row `lp` was downloading.
      const int row = SelectedRow();
      if (row >= 0 && row != static_cast<int>(lp)) StartRowJob(kMailJobShowMessage, row, row);
      break;
    }
    case IDM_MAIL_SOURCE:
      StartRowJob(kMailJobShowSource, SelectedRow(), SelectedRow());
      break;
    case IDM_MAIL_DELETE:
      if (settings_->delete_mail_permission != 0) StartRowJob(kMailJobDelete, SelectedRow(), 0);
      break;
    case IDOK:  // the "閉じる" button
      Close();
      break;
    case IDM_MAIL_FONT:
      ChooseViewerFont();
      break;
    case IDM_MAIL_VERTICAL:
      ToggleVertical();
      break;
    case IDM_MAIL_COPY:
      SendMessageA(text_, WM_COPY, 0, 0);
      break;
    case IDM_MAIL_SELECT_ALL: {
      CHARRANGE all{0, -1};
      SendMessageA(text_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
      break;
    }
    case IDC_MAIL_SAVE:
      SaveText();
      break;
    case IDC_MAIL_FORMAT: {
      POINT pointer;
      GetCursorPos(&pointer);
      PopupMenu(GetSubMenu(format_menu_.get(), 0), pointer);
      break;
    }
    default:
      break;
  }
}

bool MailWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_MAIL_LIST && header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    const bool selected = (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
                          !(change.uOldState & LVIS_SELECTED);
    if (selected) StartRowJob(kMailJobShowMessage, SelectedRow(), SelectedRow());
    return false;
  }
  if (header.idFrom == IDC_MAIL_LIST && header.code == NM_RCLICK) {
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    if (click.iItem < 0) return false;  // empty space
    POINT at = click.ptAction;
    ClientToScreen(list_, &at);
    PopupResourceMenu("MAILPOPUPMENU", at);
    return true;
  }
  if (header.idFrom == IDC_MAIL_TEXT && header.code == EN_MSGFILTER) {
    // The view handles the mouse message itself afterwards.
    switch (reinterpret_cast<const MSGFILTER&>(header).msg) {
      case WM_LBUTTONUP:
        SelectLink();
        break;
      case WM_LBUTTONDBLCLK:
        OpenLink();
        break;
      case WM_RBUTTONDOWN: {
        POINT pointer;
        GetCursorPos(&pointer);
        PopupResourceMenu("MAILEPOPUPMENU", pointer);
        break;
      }
      default:
        break;
    }
  }
  return false;
}

INT_PTR MailWindow::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    hwnd_ = hwnd;
    OnInit();
    return FALSE;  // the focus is already on the text view
  }
  if (msg == WM_DESTROY) {
    OnDestroy();
    return FALSE;
  }
  // Close() lets go of the window before destroying it, OnDestroy() after.
  if (hwnd_ != hwnd) return FALSE;
  switch (msg) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->idFrom == IDC_MAIL_LIST && header->code == LVN_GETDISPINFOA) {
        OnGetDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(lp)->item);
        return TRUE;
      }
      if (header->idFrom == IDC_MAIL_LIST && header->code == LVN_GETDISPINFOW) {
        OnGetDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(lp)->item);
        return TRUE;
      }
      return OnNotify(*header);
    }
    case WM_TIMER:
      if (wp != IDT_MAIL_LIST_REDRAW) return FALSE;
      KillTimer(hwnd_, IDT_MAIL_LIST_REDRAW);
      drawing_paused_ = false;
      SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(list_, nullptr, TRUE);
      return TRUE;
    case WM_COMMAND:
      OnCommand(wp, lp);
      return TRUE;
    case WM_CLOSE:
      Close();
      return TRUE;
    case WM_SIZE:
      Layout(list_height_);
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = kMailSmallestWidth;
      info->ptMinTrackSize.y = SmallestMailWindowHeight(list_height_);
      return TRUE;
    }
    case WM_SETCURSOR:
      return OnSetCursor(wp, lp);
    case WM_LBUTTONDOWN:
      if (InSplitterBand(GET_Y_LPARAM(lp), list_height_)) {
        drag_start_ = GET_Y_LPARAM(lp);
        SetCapture(hwnd_);
        SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
      }
      return TRUE;
    case WM_MOUSEMOVE:
      if (GetCapture() == hwnd_) {
        Layout(DraggedListHeight(list_height_, drag_start_, GET_Y_LPARAM(lp), ClientHeight()));
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      }
      return TRUE;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd_) {
        list_height_ = DraggedListHeight(list_height_, drag_start_, GET_Y_LPARAM(lp), ClientHeight());
        Layout(list_height_);
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        ReleaseCapture();
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace vsmr
