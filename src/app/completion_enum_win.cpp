// The launcher box's IEnumString (see completion_enum_win.h).
#include "app/completion_enum_win.h"

#include <shldisp.h>

#include <cstring>
#include <new>

namespace vsmr {

namespace {

// The class of the shell's autocompletion object. The interfaces' ids come from
// __uuidof; with this one named here, no object of libuuid (35 KiB of every id
// there is) is linked in.
constexpr CLSID kAutoCompleteClass = {0x00BB2763, 0x6A77, 0x11D0, {0xA5, 0x35, 0x00, 0xC0, 0x4F, 0xD7, 0xD0, 0x62}};

std::wstring Widen(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  }
  return wide;
}

}  // namespace

CompletionEnum* CompletionEnum::Create(const std::vector<std::string>& texts,
                                       IMalloc* allocator) {
  auto wide = std::make_shared<Texts>();
  wide->reserve(texts.size());
  for (const std::string& t : texts) wide->push_back(Widen(t));
  return new (std::nothrow) CompletionEnum(std::move(wide), allocator, EnumCursor{});
}

CompletionEnum::CompletionEnum(std::shared_ptr<const Texts> texts, IMalloc* allocator,
                               EnumCursor cursor)
    : texts_(std::move(texts)), allocator_(allocator), cursor_(cursor) {
  allocator_->AddRef();
}

CompletionEnum::~CompletionEnum() { allocator_->Release(); }

HRESULT CompletionEnum::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IEnumString))) {
    *out = static_cast<IEnumString*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CompletionEnum::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG CompletionEnum::Release() {
  LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT CompletionEnum::Next(ULONG requested, LPOLESTR* out, ULONG* fetched) {
  if (!out || (requested > 1 && !fetched)) return E_POINTER;
  std::size_t first = cursor_.position;
  std::size_t n = cursor_.Take(requested, texts_->size());
  ULONG given = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::wstring& text = (*texts_)[first + i];
    std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPOLESTR>(allocator_->Alloc(bytes));
    if (!copy) {
      // Out of memory: hand back what was allocated and stop where we are.
      cursor_.position = first + i;
      break;
    }
    std::memcpy(copy, text.c_str(), bytes);
    out[given++] = copy;
  }
  if (fetched) *fetched = given;
  return given == requested ? S_OK : S_FALSE;
}

HRESULT CompletionEnum::Skip(ULONG count) {
  return cursor_.Skip(count, texts_->size()) ? S_OK : S_FALSE;
}

HRESULT CompletionEnum::Reset() {
  cursor_.position = 0;
  return S_OK;
}

HRESULT CompletionEnum::Clone(IEnumString** out) {
  if (!out) return E_POINTER;
  *out = new (std::nothrow) CompletionEnum(texts_, allocator_, cursor_);
  return *out ? S_OK : E_OUTOFMEMORY;
}

IUnknown* AttachCompletion(HWND edit, const std::vector<std::string>& texts, IMalloc* allocator) {
  if (!allocator) return nullptr;
  IAutoComplete2* ac = nullptr;
  if (FAILED(CoCreateInstance(kAutoCompleteClass, nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IAutoComplete2), reinterpret_cast<void**>(&ac)))) {
    return nullptr;
  }
  CompletionEnum* source = CompletionEnum::Create(texts, allocator);
  if (!source || FAILED(ac->Init(edit, source, nullptr, nullptr))) {
    if (source) source->Release();
    ac->Release();
    return nullptr;
  }
  source->Release();  // the completion object keeps its own reference
  ac->SetOptions(ACO_AUTOSUGGEST | ACO_AUTOAPPEND);
  return ac;
}

}  // namespace vsmr
