// What the mail window keeps about its rows beyond the list itself: the account
// slot each row belongs to (a rebuild of the check list moves entries, never
// slots) and the message it stands for, and the status text for the number of rows.
#pragma once
#include <string>
#include <vector>

#include "mail/jobs/mail_list_row.h"

namespace vsmr {

class MailRowAccounts {
 public:
  void Clear() {
    index_.clear();
    messages_.clear();
  }
  // Records that `row` belongs to account slot `account`. Only a row the list
  // holds (0 to list_rows - 1) is recorded, so that a row number from another
  // process never grows the table past the list.
  void Set(int row, int account, int list_rows);
  // Applies the window command that carries either -1 (forget every row) or
  // row * 10 + account slot, for a list of `list_rows` rows.
  void Apply(long parameter, int list_rows);
  // The row's account slot, -1 when none was recorded.
  int IndexOf(int row) const;
  // Records the message `row` stands for (the server's number, not the row's place).
  void SetMessage(int row, const MailMessageRef& message);
  // The row's message (number 0 when none was recorded).
  MailMessageRef Message(int row) const;
  int MessageNumber(int row) const { return Message(row).number; }

 private:
  std::vector<int> index_;
  std::vector<MailMessageRef> messages_;
};

// The status line after a check: the number of listed messages, or that there are none.
std::string MailCountText(int rows);

}  // namespace vsmr
