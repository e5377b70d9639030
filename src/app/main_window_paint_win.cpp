// Painting the clock face and the small owner-drawn buttons from the skin,
// which is read again whenever its file changed (see paint_cache_win.h).
#include "app/main_window_win.h"
#include "app/startup_trace_win.h"

#include "app/clock_face.h"

namespace vsmr {

namespace {

constexpr int kSkinWidth = 146;
constexpr int kCloseSkinX = 96;
constexpr int kPressedOffset = 36;  // pressed faces sit 36 columns right of the others

}  // namespace

void MainWindow::CheckSkinPresent() {
  const auto& path = state_.settings.skin_bitmap_path;
  DWORD attributes = path.Empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  state_.skin_present =
      attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HBITMAP MainWindow::Skin() {
  return skin_cache_.Get(instance_, state_.skin_present, state_.settings.skin_bitmap_path.c_str(),
                         kSkinWidth, kStripHeight, IDB_SKIN);
}

void MainWindow::OnPaint() {
  PaintScope paint(hwnd_);
  HDC dc = paint.dc();
  HBITMAP skin = Skin();
  MemoryDc skin_dc(dc);
  MemoryDc face_dc(dc);
  GdiObject<HBITMAP> face(CreateCompatibleBitmap(dc, kClockFaceWidth, kStripHeight));
  if (!skin || !skin_dc || !face_dc || !face) return;
  {
    Selection skin_sel(skin_dc.get(), skin);
    Selection face_sel(face_dc.get(), face.get());
    BitBlt(face_dc.get(), 0, 0, kClockFaceWidth, kStripHeight, skin_dc.get(), 0, 0, SRCCOPY);

    SYSTEMTIME now;
    GetLocalTime(&now);
    auto status = state_.status.Read();
    ClockText shown = ChooseClockText(status.View(), state_.shutdown_active,
                                      ClockTime{now.wHour, now.wMinute, now.wSecond},
                                      static_cast<ColorRef>(state_.settings.clock_font_color));
    GdiObject<HFONT> font(CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                      SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      PROOF_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック"));
    Selection font_sel(face_dc.get(), font.get());
    SetBkMode(face_dc.get(), TRANSPARENT);
    SetTextColor(face_dc.get(), shown.color);
    TextOutA(face_dc.get(), 21, 5, shown.text.c_str(), static_cast<int>(shown.text.View().size()));
    BitBlt(dc, 0, 0, kClockFaceWidth, kStripHeight, face_dc.get(), 0, 0, SRCCOPY);
    TraceFirstPaint();
  }
  if (state_.layout.launcher_open) {
    // The frame under and right of the launcher box.
    int right = state_.layout.opened_length + kClockFaceWidth - 1;
    Selection pen(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, kClockFaceWidth, kStripHeight - 1, nullptr);
    LineTo(dc, right, kStripHeight - 1);
    LineTo(dc, right, -1);
  }
}

void MainWindow::OnDrawItem(const DRAWITEMSTRUCT* item) {
  if (!item) return;
  int id = static_cast<int>(item->CtlID);
  if (id != IDM_CLOSE && id != IDM_TRAY_TOGGLE) {
    DrawLauncherButton(item);
    return;
  }
  bool pressed = (item->itemState & ODS_SELECTED) != 0;
  int src_x = kCloseSkinX + (pressed ? kPressedOffset : 0);
  int src_y = id == IDM_CLOSE ? 0 : kCloseButtonHeight;
  int height = id == IDM_CLOSE ? kCloseButtonHeight : kTrayButtonHeight;
  HBITMAP skin = Skin();
  MemoryDc skin_dc(item->hDC);
  if (!skin || !skin_dc) return;
  Selection sel(skin_dc.get(), skin);
  BitBlt(item->hDC, 0, 0, kSmallButtonWidth, height, skin_dc.get(), src_x, src_y, SRCCOPY);
}

}  // namespace vsmr
