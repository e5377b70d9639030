// The start-up and save sequences: the command file and the settings file,
// in the program's order.
#include "program/program_settings.h"

namespace vsmr {

ProgramFiles ProgramFilesFor(std::string_view executable_path) {
  ProgramFiles files;
  files.settings_path = SettingsPath(executable_path);
  files.command_file_path = CommandFilePath(executable_path);
  files.default_icon_path = DefaultIconPath(files.settings_path);
  return files;
}

LoadedFiles LoadProgramSettings(SettingsState& settings, CommandList& commands,
                                const ProgramFiles& files, std::int32_t work_area_right,
                                std::int32_t work_area_bottom) {
  LoadedFiles loaded;
  loaded.commands = LoadCommandList(commands, files.command_file_path, &loaded.command_file);
  // The file is read once; nothing writes it while the program starts.
  ProfileDocument file = ProfileDocument::Load(files.settings_path, &loaded.settings);
  SettingsLoadInputs inputs;
  inputs.work_area_right = work_area_right;
  inputs.work_area_bottom = work_area_bottom;
  inputs.default_icon_path = files.default_icon_path;
  LoadSettingsFile(settings, file, inputs);
  // Only the password switches the lock off, and an empty line is never
  // taken: a lock saved without one would hold for good.
  if (settings.leave_room_password.Empty()) settings.leave_room_mode = 0;
  return loaded;
}

namespace {

// A file the start-up could not read holds what the user had: the run only
// knows defaults in its place.
bool LeftAlone(const FileRead& read, const std::string& path, FileSave& save) {
  save.path = path;
  if (read.outcome != FileReadOutcome::kUnreadable) return false;
  save.outcome = FileSave::Outcome::kLeftAlone;
  save.reason = read.reason;
  return true;
}

}  // namespace

ProgramSave SaveProgramSettings(const SettingsState& settings, const CommandList& commands,
                                const LiveSettings& live, const ProgramFiles& files,
                                const LoadedFiles& loaded) {
  ProgramSave save;
  if (!LeftAlone(loaded.commands, files.command_file_path, save.commands) &&
      !SaveCommandList(commands, files.command_file_path, &loaded.command_file,
                       &save.commands.reason)) {
    save.commands.outcome = FileSave::Outcome::kFailed;
  }
  if (LeftAlone(loaded.settings, files.settings_path, save.settings)) return save;
  // The keys the program does not write are kept as the file holds them now.
  FileRead now;
  ProfileDocument file = ProfileDocument::Load(files.settings_path, &now);
  if (now.outcome == FileReadOutcome::kUnreadable) {
    save.settings.outcome = FileSave::Outcome::kFailed;
    save.settings.reason = now.reason;
    return save;
  }
  DocumentWriter out(file);
  SaveSettingsFile(settings, live, out);
  if (!file.Save(files.settings_path, &save.settings.reason)) {
    save.settings.outcome = FileSave::Outcome::kFailed;
  }
  return save;
}

std::string LoadedFilesNotice(const LoadedFiles& loaded, const ProgramFiles& files) {
  std::string text;
  auto add = [&text](const std::string& part) {
    if (!text.empty()) text += "\n\n";
    text += part;
  };
  const struct {
    const FileRead& read;
    const std::string& path;
  } reads[] = {{loaded.settings, files.settings_path}, {loaded.commands, files.command_file_path}};
  for (const auto& r : reads) {
    if (r.read.outcome != FileReadOutcome::kUnreadable) continue;
    add(r.path + " を読み込めませんでした。\n" + r.read.reason +
        "\nこのファイルは書き換えません。読めるようにしてから起動し直してください。");
  }
  const CommandFileKeep& keep = loaded.command_file;
  if (keep.RestHoldsLines()) {
    const char* why = "";
    switch (keep.stop) {
      case CommandFileKeep::Stop::kEmptyLine: why = "空の行があるため"; break;
      case CommandFileKeep::Stop::kMalformed: why = "コマンド名と内容がタブで区切られていないため"; break;
      case CommandFileKeep::Stop::kCapacity: why = "コマンドは256個までのため"; break;
      case CommandFileKeep::Stop::kEndMark: why = "ファイルの終わりを示す文字 (Ctrl+Z) があるため"; break;
      case CommandFileKeep::Stop::kNone: break;
    }
    add(files.command_file_path + " の " + std::to_string(keep.stop_line) + " 行目から後は、" +
        why + "読み込んでいません。\nこれらの行はファイルにそのまま残します。");
  }
  if (keep.first_cut_line > 0) {
    add(files.command_file_path + " の " + std::to_string(keep.first_cut_line) +
        " 行目には長すぎる欄があり、切り詰めて使います。\nファイルには書かれたまま残します。");
  }
  return text;
}

std::string_view LoadedFilesNoticeWord(const LoadedFiles& loaded) {
  const bool unreadable = loaded.settings.outcome == FileReadOutcome::kUnreadable ||
                          loaded.commands.outcome == FileReadOutcome::kUnreadable;
  return unreadable ? "FileErrR" : "FileErrL";
}

std::string SaveFailureText(const ProgramSave& save) {
  std::string text;
  for (const FileSave* file : {&save.commands, &save.settings}) {
    if (file->outcome != FileSave::Outcome::kFailed) continue;
    if (!text.empty()) text += "\n\n";
    text += file->path + " に保存できませんでした。\n" + file->reason;
  }
  return text;
}

}  // namespace vsmr
