// The completion source of the launcher box and the launcher item dialog: an IEnumString over wide copies of
// the completion list, handing out strings allocated with the shell allocator.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/completion_list.h"

namespace vsmr {

class CompletionEnum final : public IEnumString {
 public:
  // `texts` are ANSI (code page 932); converted once to wide characters.
  static CompletionEnum* Create(const std::vector<std::string>& texts, IMalloc* allocator);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IEnumString
  HRESULT STDMETHODCALLTYPE Next(ULONG requested, LPOLESTR* out, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumString** out) override;

 private:
  using Texts = std::vector<std::wstring>;
  CompletionEnum(std::shared_ptr<const Texts> texts, IMalloc* allocator, EnumCursor cursor);
  ~CompletionEnum();

  LONG refs_ = 1;
  std::shared_ptr<const Texts> texts_;  // shared with clones
  IMalloc* allocator_;
  EnumCursor cursor_;
};

// Attaches the shell's auto-completion (suggest and append) over `texts` to
// the edit control `edit`. Returns the completion object, which the caller
// releases after destroying the field, or null when there is none (the field
// then works without it).
IUnknown* AttachCompletion(HWND edit, const std::vector<std::string>& texts, IMalloc* allocator);

}  // namespace vsmr
