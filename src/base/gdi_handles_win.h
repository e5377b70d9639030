// Small owners for GDI and USER handles: every bitmap, DC, font, region, icon
// and menu the program makes is released on every path, so repeated painting
// cannot leak.
#pragma once
#include <windows.h>

namespace vsmr {

// A GDI object (bitmap, font, region, pen, brush) deleted with DeleteObject.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(o.Release()) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = o.Release();
    }
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
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

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

// An icon or menu: destroyed with DestroyIcon / DestroyMenu. Move-only.
template <class H, BOOL(WINAPI* Destroy)(H)>
class UserHandle {
 public:
  UserHandle() = default;
  explicit UserHandle(H h) : h_(h) {}
  ~UserHandle() { Reset(); }
  UserHandle(const UserHandle&) = delete;
  UserHandle& operator=(const UserHandle&) = delete;
  UserHandle(UserHandle&& o) noexcept : h_(o.Release()) {}
  UserHandle& operator=(UserHandle&& o) noexcept {
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
using IconHandle = UserHandle<HICON, DestroyIcon>;
using MenuHandle = UserHandle<HMENU, DestroyMenu>;

}  // namespace vsmr
