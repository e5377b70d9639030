// A POP3 account as the user sets it up: the settings file keeps five, the
// account editor edits them and the POP3 client logs in with one.
#pragma once
#include <cstdint>

#include "base/fixed_text.h"
#include "mail/account/account_values.h"

namespace vsmr {

// Numbered 1 to 5 in the file, 0 to 4 here.
struct MailAccount {
  FixedText<256> server;
  FixedText<64> user_name;
  FixedText<64> password;     // kept and stored as plain text
  FixedText<260> sound_file;  // empty: no sound on new mail
  std::int32_t enabled = 0;
  // One of the kPopSecurity values; any other value is kept as read and the
  // account is not checked.
  std::int32_t security = kPopSecurityClear;
  std::int32_t port = 0;      // 0: the security's usual port
};

}  // namespace vsmr
