// Loading, applying, editing and saving the settings for the main window.
#include "app/settings_sequence_win.h"

#include <memory>
#include <vector>

#include "app/completion_enum_win.h"
#include "dialogs/editor_rules.h"

namespace vsmr {

void SettingsSequence::Load() {
  RECT area{0, 0, 0, 0};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
    area.right = GetSystemMetrics(SM_CXSCREEN);
    area.bottom = GetSystemMetrics(SM_CYSCREEN);
  }
  state_.loaded_files =
      LoadProgramSettings(state_.settings, state_.commands, state_.files, area.right, area.bottom);
  loaded_ = true;
  // Said without holding up the start: the code stands on the clock face, a
  // click on it tells the rest.
  files_notice_ = LoadedFilesNotice(state_.loaded_files, state_.files);
  files_notice_word_ = LoadedFilesNoticeWord(state_.loaded_files);
  if (!files_notice_.empty()) state_.status.Set(files_notice_word_);
}

void SettingsSequence::ApplyLoaded() {
  const SettingsState& loaded = state_.settings;
  SetWindowPos(window_, nullptr, loaded.window_position_x, loaded.window_position_y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  tray_.Restore(loaded.in_task_or_not != 0);
}

bool SettingsSequence::Save(bool tray_flag) {
  if (!loaded_) return true;
  LiveSettings live;
  live.command_line_launcher = state_.layout.launcher_open && state_.keep_launcher_open ? 1 : 0;
  RECT rect{0, 0, 0, 0};
  GetWindowRect(window_, &rect);
  live.window_position_x = rect.left;
  live.window_position_y = rect.top;
  live.in_task_or_not = tray_flag && tray_.active() ? 1 : 0;
  const ProgramSave save =
      SaveProgramSettings(state_.settings, state_.commands, live, state_.files, state_.loaded_files);
  if (save.Ok()) return true;
  system_.ShowMessageBox(window_, SaveFailureText(save).c_str(), "ERROR", MB_OK | MB_ICONERROR);
  return false;
}

std::string SettingsSequence::TakeFilesNotice() {
  if (files_notice_.empty() || state_.status.Read().View() != files_notice_word_) return {};
  std::string text = std::move(files_notice_);
  files_notice_.clear();
  return text;
}

void SettingsSequence::ShowOptions(IMalloc* allocator, const FollowOptions& follow) {
  if (options_open_) return;
  options_open_ = true;
  auto copy = std::make_unique<OptionsCopy>();
  TakeOptionsCopy(state_.settings, state_.commands, *copy);
  OptionsDialogContext context;
  context.item.editor = {instance_, window_, &state_.file_chooser};
  context.item.nt_platform = state_.nt_platform;
  context.item.icons.module = instance_;
  context.item.attach_completion = [allocator](HWND edit, const std::vector<std::string>& words) {
    return AttachCompletion(edit, words, allocator);
  };
  context.colors = &colors_;
  if (RunOptionsDialog(context, *copy) == kEditorOk) {
    follow(ApplyOptions(*copy, state_.settings, state_.commands, PathExistsOnDisk));
  }
  options_open_ = false;
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace vsmr
