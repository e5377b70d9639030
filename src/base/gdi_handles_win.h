// Small owners for GDI and USER handles: every bitmap, DC, font, region, icon
// and menu the program makes is released on every path, so repeated painting
// cannot leak.
#pragma once
#include <windows.h>

namespace vsmr {

// Owns one handle and hands it to `Destroy` when dropped or replaced.
// Move-only.
template <class H, BOOL(WINAPI* Destroy)(H)>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(H h) : h_(h) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& o) noexcept : h_(o.Release()) {}
  OwnedHandle& operator=(OwnedHandle&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  H Release() {
    H h = h_;
    h_ = nullptr;
    return h;
  }
  void Reset(H h = nullptr) {
    if (h_) Destroy(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

template <class H>
BOOL WINAPI DeleteGdiObject(H h) {
  return DeleteObject(h);
}

// A GDI object (bitmap, font, region, pen, brush) deleted with DeleteObject.
template <class H>
using GdiObject = OwnedHandle<H, DeleteGdiObject<H>>;
// An icon or menu: destroyed with DestroyIcon / DestroyMenu.
using IconHandle = OwnedHandle<HICON, DestroyIcon>;
using MenuHandle = OwnedHandle<HMENU, DestroyMenu>;

// A memory DC compatible with another, deleted with DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back at scope end, so
// the object can be deleted afterwards.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint/EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace vsmr
