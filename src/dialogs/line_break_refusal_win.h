// The notice every item editor gives for a TAB or line break in a field that
// is saved inside a tab- or line-separated record: the dialog stays open with
// the text as typed, and the field takes the focus.
#pragma once
#include <windows.h>

#include <initializer_list>

namespace vsmr {

// True (after the notice) when one of the fields `ids` of `dialog` holds a
// TAB or a line break.
bool RefuseLineBreaks(HWND dialog, std::initializer_list<int> ids);

}  // namespace vsmr
