// Opens one item editor with the program's own templates and code:
//   editor_host.exe account          the mail account editor on an empty account
//   editor_host.exe item ICON INDEX  the launcher item dialog for item 3, whose
//                                    icon is ICON,INDEX, over vsmrcmd.dat here
// and writes the result and the record, one field a line, to editor_out.txt.
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/completion_enum_win.h"
#include "dialogs/item_editors_win.h"
#include "dialogs/launcher_item_dialog_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace vsmr;
  const std::string kind = __argc > 1 ? __argv[1] : "";
  OleInitialize(nullptr);
  IMalloc* allocator = nullptr;
  SHGetMalloc(&allocator);
  FileChooserState chooser;
  const EditorContext editor{instance, nullptr, &chooser};
  std::ofstream out("editor_out.txt", std::ios::binary);
  if (kind == "account") {
    MailAccount record;
    const int result = RunAccountEditor(editor, record);
    out << result << '\n' << record.server.View() << '\n' << record.user_name.View() << '\n'
        << record.password.View() << '\n' << record.sound_file.View() << '\n' << record.security
        << '\n' << record.port << '\n';
  } else if (kind == "item" && __argc > 3) {
    static CommandList commands;
    LoadCommandList(commands, "vsmrcmd.dat");
    LauncherItem record;
    record.icon_path.Set(__argv[2]);
    record.icon_index = std::atoi(__argv[3]);
    LauncherItemDialogContext context;
    context.item_number = 3;
    context.editor = editor;
    context.commands = &commands;
    context.icons.module = instance;
    context.attach_completion = [allocator](HWND edit, const std::vector<std::string>& words) {
      return AttachCompletion(edit, words, allocator);
    };
    const int result = RunLauncherItemDialog(context, record);
    out << result << '\n' << record.path.View() << '\n' << record.icon_path.View() << '\n'
        << record.icon_index << '\n' << record.comment.View() << '\n';
  }
  if (allocator) allocator->Release();
  OleUninitialize();
  return 0;
}
