#include "shell/win32/main_window_win.h"

#include "shell/win32/control_ids.h"

namespace quenstrel {
namespace {

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kViolet{144, 0, 255};
constexpr Colour kBlue{0, 96, 192};
constexpr Colour kLightBlue{0, 136, 255};
constexpr Colour kRed{255, 0, 0};

}  // namespace

// Children are stacked in the order they are made, the first on top, and Tab
// visits them in that order: 画板1 lies above 编辑框_功能, and 透明标签1 above
// the edge of 按钮_修改.
bool Win32MainWindow::CreateControls() {
  namespace id = control_id;
  WindowHandle main = handle();
  bool ok = 分组框1.Create({main, id::分组框1, 8, 16, 120, 248, "指令集", kViolet});
  ok = ok && 列表框1.Create({分组框1.handle(), id::列表框1, 8, 16, 104, 224, "", kLightBlue});

  ok = ok && 分组框2.Create({main, id::分组框2, 144, 16, 360, 57, "输入查询", kViolet});
  WindowHandle box2 = 分组框2.handle();
  ok = ok && 标签1.Create({box2, id::标签1, 36, 19, 86, 24, "输入首拼音查询", kBlue});
  ok = ok && 编辑框_查询.Create({box2, id::编辑框_查询, 136, 21, 102, 24, "", kBlack});
  ok = ok && 标签2.Create({box2, id::标签2, 254, 19, 72, 24, "回车找注解", kBlue});

  ok = ok && 分组框3.Create({main, id::分组框3, 144, 87, 360, 176, "指令说明", kViolet});
  WindowHandle box3 = 分组框3.handle();
  ok = ok && 画板1.Create({box3, id::画板1, 8, 17, 344, 152, "", kBlack});
  ok = ok && 编辑框_功能.Create({box3, id::编辑框_功能, 7, 16, 339, 147, "", kBlue});

  ok = ok && 分组框4.Create({main, id::分组框4, 8, 264, 496, 38, "数据操作", kBlack});
  WindowHandle box4 = 分组框4.handle();
  ok = ok && 标签_指令个数.Create({box4, id::标签_指令个数, 11, 15, 125, 18, "", kBlue});
  ok = ok && 按钮_添加.Create({box4, id::按钮_添加, 137, 14, 88, 21, "添加", kBlack});
  ok = ok && 透明标签1.Create({box4, id::透明标签1, 230, 14, 40, 16, "格式", kRed});
  ok = ok && 按钮_修改.Create({box4, id::按钮_修改, 269, 14, 88, 21, "修改", kBlack});
  ok = ok && 透明标签2.Create({box4, id::透明标签2, 360, 14, 40, 16, "删除", kRed});
  ok = ok && 按钮_删除.Create({box4, id::按钮_删除, 401, 14, 88, 21, "删除", kBlack});
  return ok;
}

}  // namespace quenstrel
