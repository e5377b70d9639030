// The mail window (MAILDLG): a modeless dialog listing what a mail check found,
// with a status line below. It lives on the user-interface thread; the mail
// check reaches it only through these calls made on that thread.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/gdi_handles_win.h"
#include "base/window_procedure_win.h"
#include "mail/jobs/mail_list_row.h"
#include "mailview/mail_rows.h"
#include "settings/settings_records.h"

namespace vsmr {

class MailWindow {
 public:
  MailWindow() = default;
  MailWindow(const MailWindow&) = delete;
  MailWindow& operator=(const MailWindow&) = delete;
  ~MailWindow();  // destroys the window if it still exists

  // Creates the dialog, owned by `owner`, hidden, with the rectangle and list
  // height read from `settings` (NewMailDialog*); the close writes them back
  // there. `settings` must outlive the window. False when it could not be made.
  bool Create(HINSTANCE instance, HWND owner, SettingsState& settings);
  bool Exists() const { return hwnd_ != nullptr; }
  HWND Handle() const { return hwnd_; }
  // Which window this is: every Create makes a new number, so a job that
  // wrote to a window the user closed never writes to the next one.
  std::uint32_t Instance() const { return instance_number_; }

  // Shows the window in its normal state and puts it at the top of the
  // z-order without moving or sizing it.
  void ShowAndRaise();
  // What the close button and the close box do: geometry and list height
  // written back to the settings, the window destroyed, Handle() null.
  void Close();

  // The check's updates. Each is also reachable as the window command the mail
  // check of old sent (107 with -1, 107 with row * 10 + account, 108). The
  // list holds no items of its own: it shows the rows kept here (a virtual
  // list), so a thousand rows cost a thousand appends, not a thousand inserts.
  void ClearRows();                               // command 107, parameter -1
  int AddRow(const MailListRow& row);             // appends with its message; returns the row, -1 on failure
  int AddRows(std::span<const MailListRow> rows); // as AddRow for each; returns the first row
  // Command 107 with row * 10 + account slot; a row the list does not hold is ignored.
  void SetRowAccount(int row, int account);
  void RefreshCount();                            // command 108: the count in the status line
  void SetStatus(std::string_view text);          // the status line (control 2302)
  void SetText(std::string_view text);            // the text view's whole text (control 2303)
  int RowCount() const;
  // The account slot and message number of a row (-1 and 0 when unknown).
  int RowAccount(int row) const { return rows_.IndexOf(row); }
  int RowMessageNumber(int row) const { return rows_.MessageNumber(row); }
  // The list height S: the splitter's position.
  int ListHeight() const { return list_height_; }
  // The format menu (MAILFPOPUPMENU) while the window exists.
  HMENU FormatMenu() const { return format_menu_.get(); }

  // What the window calls to start a mail job (kind, account slot, the row's
  // message, list row); false when the job was refused.
  using JobStarter = std::function<bool(int, int, const MailMessageRef&, int)>;
  void SetJobStarter(JobStarter starter) { start_job_ = std::move(starter); }

  // For the message loop: true when the dialog consumed `msg`.
  bool PreTranslate(MSG& msg);

 private:
  friend struct DialogProcedure<MailWindow>;
  INT_PTR OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnInit();
  void Layout(int list_height);
  int ClientHeight() const;
  bool OnSetCursor(WPARAM wp, LPARAM lp);
  void OnCommand(WPARAM wp, LPARAM lp);
  void OnDestroy();
  bool OnNotify(const NMHDR& header);
  // The list asks for a cell's text or a row's image.
  void OnGetDisplayInfo(LVITEMA& item) const;
  void OnGetDisplayInfo(LVITEMW& item) const;
  // Selects the link around the text view's selection; its target, or an
  // empty text when there is none.
  std::string SelectLink();
  void OpenLink();
  void PopupMenu(HMENU menu, POINT at);
  void PopupResourceMenu(const char* name, POINT at);
  void ToggleVertical();
  void ChooseViewerFont();
  void SaveText();
  // The first selected row in list order, or -1.
  int SelectedRow() const;
  // Starts job `kind` for `row` (its account and message).
  void StartRowJob(int kind, int row, int list_row);

  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HWND text_ = nullptr;
  HINSTANCE instance_ = nullptr;
  SettingsState* settings_ = nullptr;
  std::uint32_t instance_number_ = 0;
  std::vector<MailListRow> row_texts_;  // what the list shows, row by row
  MailRowAccounts rows_;
  int list_height_ = 0;
  int drag_start_ = 0;
  // Stops the list's drawing for a moment: a visible list redrawn at every
  // change keeps the user-interface thread busy with a thousand rows; the rows
  // that arrive meanwhile are drawn at once when a timer turns drawing back on.
  void PauseListDrawing();
  bool drawing_paused_ = false;  // rows are being added; a timer resumes drawing
  HIMAGELIST images_ = nullptr;
  GdiObject<HFONT> text_font_;
  MenuHandle format_menu_;
  JobStarter start_job_;
  // The font dialog's choice: kept for the run, across windows.
  LOGFONTA chosen_font_{};
  bool font_chosen_ = false;
};

}  // namespace vsmr
