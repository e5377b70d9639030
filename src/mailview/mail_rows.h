// What the mail window keeps about its rows beyond the list itself: the account
// slot each row belongs to (a rebuild of the check list moves entries, never
// slots), and the status text for the number of rows.
#pragma once
#include <string>
#include <vector>

namespace vsmr {

class MailRowAccounts {
 public:
  void Clear() { index_.clear(); }
  // Records that `row` belongs to account slot `account`. Only a row the list
  // holds (0 to list_rows - 1) is recorded, so that a row number from another
  // process never grows the table past the list.
  void Set(int row, int account, int list_rows);
  // Applies the window command that carries either -1 (forget every row) or
  // row * 10 + account slot, for a list of `list_rows` rows.
  void Apply(long parameter, int list_rows);
  // The row's account slot, -1 when none was recorded.
  int IndexOf(int row) const;
  // The row's message number inside its account: rows of one account are
  // contiguous and in message order, so it counts from the account's first row.
  // 0 when the row has no recorded entry.
  int MessageNumber(int row) const;

 private:
  std::vector<int> index_;
};

// The status line after a check: the number of listed messages, or that there are none.
std::string MailCountText(int rows);

}  // namespace vsmr
