// The version dialog: the instance name in its line, closed by OK alone.
#include "app/version_dialog_win.h"

#include "app/instance_name.h"
#include "base/resource_ids.h"

namespace vsmr {

namespace {

INT_PTR CALLBACK VersionDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_VERSION_LINE, kInstanceName);
      return TRUE;
    case WM_COMMAND:
      // Only OK (also Enter) closes the box; Escape arrives as IDCANCEL and is swallowed.
      if (LOWORD(wp) == IDOK) EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowVersionDialog(HINSTANCE instance, HWND owner) {
  DialogBoxParamA(instance, "VERSIONDLG", owner, VersionDialogProc, 0);
  InvalidateRect(owner, nullptr, TRUE);
}

}  // namespace vsmr
