// The one window procedure and the one dialog procedure of every window that
// keeps its object: the object's address comes with the creation message, is
// kept in the window's data, and every later message goes to the object.
#pragma once
#include <windows.h>

namespace vsmr {

// For a window created with the object's address as its creation parameter
// (lpCreateParams of WM_NCCREATE). T declares
//   LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// and befriends WindowProcedure<T> when that is private. Messages before
// WM_NCCREATE go to DefWindowProcA; after WM_NCDESTROY the window no longer
// names the object.
template <class T>
struct WindowProcedure {
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      void* object = reinterpret_cast<const CREATESTRUCTA*>(lp)->lpCreateParams;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    const LRESULT result = self->OnMessage(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return result;
  }
};

// For a dialog created with the object's address as its parameter (the lParam
// of WM_INITDIALOG), modal or modeless. T declares
//   INT_PTR OnMessage(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
// answering as a dialog procedure does (FALSE: not handled), and befriends
// DialogProcedure<T> when that is private. Messages before WM_INITDIALOG and
// after WM_NCDESTROY are left to the dialog manager.
template <class T>
struct DialogProcedure {
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lp);
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self) return FALSE;
    const INT_PTR result = self->OnMessage(dialog, msg, wp, lp);
    if (msg == WM_NCDESTROY) SetWindowLongPtrA(dialog, DWLP_USER, 0);
    return result;
  }
};

}  // namespace vsmr
