// The row account table and the count text of the mail window.
#include "mailview/mail_rows.h"

#include <cstdio>

namespace vsmr {

void MailRowAccounts::Set(int row, int account, int list_rows) {
  if (row < 0 || row >= list_rows) return;
  if (static_cast<std::size_t>(row) >= index_.size()) index_.resize(row + 1, -1);
  index_[row] = account;
}

void MailRowAccounts::Apply(long parameter, int list_rows) {
  if (parameter == -1) {
    Clear();
  } else if (parameter >= 0) {
    Set(static_cast<int>(parameter / 10), static_cast<int>(parameter % 10), list_rows);
  }
}

int MailRowAccounts::IndexOf(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= index_.size()) return -1;
  return index_[row];
}

void MailRowAccounts::SetMessage(int row, const MailMessageRef& message) {
  if (row < 0) return;
  if (static_cast<std::size_t>(row) >= messages_.size()) messages_.resize(row + 1);
  messages_[row] = message;
}

MailMessageRef MailRowAccounts::Message(int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= messages_.size()) return {};
  return messages_[row];
}

std::string MailCountText(int rows) {
  if (rows <= 0) return "新着メールはありません";
  char text[64];
  std::snprintf(text, sizeof text, "新着メールが%d通あります", rows);
  return text;
}

}  // namespace vsmr
