#include "app/RunOtherExe.h"

#include "app/AppInfo.h"
#include "platform/FileUtil.h"
#include "platform/Process.h"

namespace vesk {

namespace {

void ShowError(IMessageSink& sink, std::string text) {
  Message message;
  message.text = std::move(text);
  message.title = g_AppTitle;
  message.icon = MessageIcon::Error;
  sink.Show(message);
}

}  // namespace

int RunOtherExe(const std::string& program, const std::string& arg1, const std::string& arg2,
                const CLanguage& language, IMessageSink& sink, IMainWindowVisibility* window) {
  HiddenWindow hidden(window);
  if (program.empty()) {
    ShowError(sink, language.GetText("SystemSet", "IDS_PATH_NULL"));
    return 0;
  }
  if (!fsutil::FileExists(program)) {
    ShowError(sink, language.GetText("SystemSet", "IDS_PATH_NOEXIST") + program + "\r\n");
    return 0;
  }
  // The existence check above looked at the path as given, relative to the current folder;
  // run that same file rather than one found on the search path.
  const std::string path = program.find('/') == std::string::npos ? "./" + program : program;
  return RunAndWait(path, {arg1, arg2}).started ? 1 : 0;
}

}  // namespace vesk
