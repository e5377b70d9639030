// What a long run must leave as it found it, counted from inside the process:
// GDI objects, user objects, kernel handles and committed private memory.
// Under Wine GetGuiResources and GetProcessHandleCount answer 0 and
// PrivateUsage stays 0, so each count probes the handle values itself.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace vsmr {

// The live GDI handles: a leak of 100 objects shows as +100.
inline int CountGdiObjects() {
  int n = 0;
  for (UINT_PTR h = 0x20; h <= 0xFFFF; ++h) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0) ++n;
  }
  return n;
}

// Windows of this process and menus. User handles are even values in
// 0x20-0xFFEF (the high word, a reuse count, may be left 0). Icons are not
// counted here: each holds bitmaps, so a leaked icon shows among the GDI objects.
inline int CountUserObjects() {
  const DWORD self = GetCurrentProcessId();
  int n = 0;
  for (UINT_PTR h = 0x20; h <= 0xFFEF; h += 2) {
    HWND window = reinterpret_cast<HWND>(h);
    DWORD owner = 0;
    if (IsWindow(window)) {
      if (GetWindowThreadProcessId(window, &owner) && owner == self) ++n;
    } else if (IsMenu(reinterpret_cast<HMENU>(h))) {
      ++n;
    }
  }
  return n;
}

// Kernel handles of this process: multiples of 4 the system knows.
inline int CountKernelHandles() {
  int n = 0;
  for (UINT_PTR h = 4; h <= 0x10000; h += 4) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++n;
  }
  return n;
}

// Committed private bytes: PrivateUsage where the system fills it, else
// PagefileUsage (the same commit charge, the one Wine reports).
inline std::int64_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return -1;
  }
  return static_cast<std::int64_t>(counters.PrivateUsage ? counters.PrivateUsage
                                                         : counters.PagefileUsage);
}

struct ProcessCounters {
  int gdi = 0;
  int user = 0;
  int handles = 0;
  std::int64_t private_bytes = 0;

  static ProcessCounters Read() {
    return {CountGdiObjects(), CountUserObjects(), CountKernelHandles(), PrivateBytes()};
  }
};

// Prints one line per measure, so the test's log shows the figures.
inline void PrintCounters(const char* run, const ProcessCounters& before,
                          const ProcessCounters& after) {
  std::printf("%s: GDI objects %d -> %d, user objects %d -> %d, handles %d -> %d, "
              "private bytes %lld -> %lld (%+lld)\n",
              run, before.gdi, after.gdi, before.user, after.user, before.handles, after.handles,
              static_cast<long long>(before.private_bytes),
              static_cast<long long>(after.private_bytes),
              static_cast<long long>(after.private_bytes - before.private_bytes));
  std::fflush(stdout);
}

// The growth an endurance run may show, counted after a warm-up that fills the caches.
inline constexpr int kGdiDrift = 0;
inline constexpr int kUserDrift = 0;
inline constexpr int kHandleDrift = 0;
inline constexpr std::int64_t kPrivateBytesDrift = 256 * 1024;

// Every count within its drift, and the memory counter known to answer.
inline void ExpectFlat(const ProcessCounters& before, const ProcessCounters& after) {
  EXPECT_LE(after.gdi - before.gdi, kGdiDrift);
  EXPECT_LE(after.user - before.user, kUserDrift);
  EXPECT_LE(after.handles - before.handles, kHandleDrift);
  EXPECT_LE(after.private_bytes - before.private_bytes, kPrivateBytesDrift);
  EXPECT_GT(before.private_bytes, 0) << "the memory counters answered nothing";
}

}  // namespace vsmr
