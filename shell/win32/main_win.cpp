// The program's main line: start-up, the message loop, and the wiring of the
// window's events to the handlers.
#include <windows.h>

#include "shell/app.h"
#include "shell/win32/file_system_win.h"
#include "shell/win32/main_window_win.h"
#include "shell/win32/message_loop_win.h"
#include "skin/skin.h"
#include "skin/skin_platform_win.h"

namespace quenstrel {
namespace {

void WireEvents(Win32MainWindow& window, App& app) {
  window.onCreated = [&app] { app.OnWindowCreated(); };
  window.编辑框_查询.onChange = [&app] { app.OnQueryTextChanged(); };
  window.编辑框_查询.onKeyDown = [&app](int key) { app.OnQueryKeyDown(key); };
  window.列表框1.onSelect = [&app] { app.OnListItemSelected(); };
  window.按钮_添加.onClick = [&app] { app.OnAddClicked(); };
  window.按钮_修改.onClick = [&app] { app.OnModifyClicked(); };
  window.按钮_删除.onClick = [&app] { app.OnDeleteClicked(); };
  window.透明标签1.onPressed = [&app] { app.OnFormatLabelPressed(); };
  window.透明标签2.onPressed = [&app] { app.OnDeleteLabelPressed(); };
  window.画板1.onPressed = [&app] { app.OnPicturePanelPressed(); };
  window.画板1.decode = DecodePngPicture;
}

int Run(int showCommand) {
  // First of all: it narrows where the process loads libraries from.
  WindowsSkinPlatform skinPlatform;
  Skin skin(skinPlatform);
  WindowsFileSystem fileSystem;
  Win32MainWindow window;
  // The catalogue lives in the App and is released when it goes.
  App app(window, fileSystem);
  app.attachSkin = [&skin] { skin.SecondSkinStep(); };
  skin.FirstSkinStep();
  WireEvents(window, app);
  if (!window.Create(showCommand)) return 1;
  return RunMessageLoop(window);
}

}  // namespace
}  // namespace quenstrel

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  return quenstrel::Run(showCommand);
}
