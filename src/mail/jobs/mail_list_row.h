// One row of the mail window's message list, as a check builds it: the texts of
// the five columns, the state image and the message it stands for. The check
// makes rows; the window shows them.
#pragma once
#include <string>

namespace vsmr {

// State images of a row, by index in the list's image list.
inline constexpr int kMailImageMultipart = 0;     // multipart, not new
inline constexpr int kMailImageNew = 1;           // new, not multipart
inline constexpr int kMailImageNewMultipart = 2;  // new and multipart
inline constexpr int kMailImageNone = 3;          // neither: the empty entry

// The message a row stands for, as the check that listed it saw it: its
// number on the server in that check's session, its Message-ID and its size
// from LIST. A delete compares them with what the server holds then.
struct MailMessageRef {
  int number = 0;  // 0: unknown
  std::string message_id;
  int size = -1;   // -1: unknown
};

struct MailListRow {
  std::string account;  // the account's user name
  std::string sender;   // the From text without its angle-bracketed parts
  std::string subject;
  std::string date;     // the short form
  std::string size;     // bytes from LIST, in decimal
  int image = kMailImageNone;
  MailMessageRef message = {};
};

}  // namespace vsmr
