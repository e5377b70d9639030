// Reading a dialog control's text: the whole text, however long, so that the
// one cut to a field happens here and ends on a character boundary.
#pragma once
#include <windows.h>

#include <string>

#include "base/fixed_text.h"

namespace vsmr {

// The whole text of control `id` of `dialog`.
std::string DialogItemText(HWND dialog, int id);

// Control `id`'s text into `field`, cut to the field without splitting a
// double-byte character.
template <std::size_t N>
void ReadDialogField(HWND dialog, int id, FixedText<N>& field) {
  field.SetChars(DialogItemText(dialog, id));
}

}  // namespace vsmr
