// Delayed imports: see delay_imports_win.h. Binding every import here, before any
// worker thread starts, leaves no first call through the delay-load stub, so no two
// threads ever race to fill the same import slot.
#include "app/delay_imports_win.h"

extern "C" FARPROC WINAPI __delayLoadHelper2(const ImgDelayDescr* descriptor, FARPROC* slot);
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace vsmr {

bool LoadDelayedImports() {
  auto* base = reinterpret_cast<BYTE*>(&__ImageBase);
  bool all = true;
  for (const ImgDelayDescr* const* dll = kDelayedDlls; *dll; ++dll) {
    const char* name = reinterpret_cast<const char*>(base + (*dll)->rvaDLLName);
    // The helper raises an exception for a DLL it cannot load; ask the loader first.
    if (!LoadLibraryA(name)) {
      all = false;
      continue;
    }
    auto* slot = reinterpret_cast<FARPROC*>(base + (*dll)->rvaIAT);
    for (auto* import = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + (*dll)->rvaINT);
         import->u1.AddressOfData != 0; ++import, ++slot) {
      __delayLoadHelper2(*dll, slot);
    }
  }
  return all;
}

}  // namespace vsmr
