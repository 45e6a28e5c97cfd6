#pragma once
// The fixed identities of the main window and its controls. The end-to-end
// driver finds them by these, so they never change.

namespace quenstrel {

inline constexpr wchar_t kMainWindowClass[] = L"QuenstrelMainWindow";
inline constexpr wchar_t kPicturePanelClass[] = L"QuenstrelPicturePanel";

// Control IDs. 1 and 2 are left out: the dialog manager sends them for Enter
// and Esc.
namespace control_id {
inline constexpr int 分组框1 = 101;
inline constexpr int 列表框1 = 102;
inline constexpr int 分组框2 = 103;
inline constexpr int 标签1 = 104;
inline constexpr int 编辑框_查询 = 105;
inline constexpr int 标签2 = 106;
inline constexpr int 分组框3 = 107;
inline constexpr int 画板1 = 108;
inline constexpr int 编辑框_功能 = 109;
inline constexpr int 分组框4 = 110;
inline constexpr int 标签_指令个数 = 111;
inline constexpr int 按钮_添加 = 112;
inline constexpr int 透明标签1 = 113;
inline constexpr int 按钮_修改 = 114;
inline constexpr int 透明标签2 = 115;
inline constexpr int 按钮_删除 = 116;
}  // namespace control_id

}  // namespace quenstrel
