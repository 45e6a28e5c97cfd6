#pragma once
// Wrappers over the Win32 controls of the main window, one file per kind.
// A control is created from a ControlSetup and raises its events through
// std::function members. Texts are GBK; each wrapper converts at its edge.
// Handles are declared the way <windows.h> declares them, so this header does
// not pull it in.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct HWND__;
struct HDC__;
struct HBRUSH__;
struct HFONT__;

namespace quenstrel {

using WindowHandle = HWND__*;

struct Colour {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// Positions are in the parent's client area.
struct ControlSetup {
  WindowHandle parent = nullptr;
  int id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::string caption;  // GBK
  Colour text;          // caption or content colour, where the kind has one
};

// A message sent to a control's own window.
struct ControlMessage {
  unsigned id;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

// Every wrapper's window is subclassed: its messages come to OnMessage first,
// and when the window is destroyed the wrapper forgets it, so calls made
// after that (a handler still running when Esc closed the window) do nothing.
class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  WindowHandle handle() const { return handle_; }
  bool Visible() const;

  // What the control told its parent (WM_COMMAND), passed on to it.
  virtual void OnNotify(int /*code*/) {}
  // The parent's answer to WM_CTLCOLOR*: a brush, or nullptr for the default.
  virtual HBRUSH__* OnColour(HDC__* /*dc*/) { return nullptr; }
  // The control's own messages; nullopt lets the window's own procedure run.
  virtual std::optional<std::intptr_t> OnMessage(const ControlMessage& /*message*/) {
    return std::nullopt;
  }

  // For the one window procedure (message_loop_win.cpp).
  static Control* Of(WindowHandle window);
  // Ties `window` to this wrapper; a standard control is subclassed too.
  void Attach(WindowHandle window, bool subclass);
  std::intptr_t CallOriginal(const ControlMessage& message);
  void Forget();

 protected:
  // A standard control: created with the default GUI font and subclassed.
  bool CreateStandard(const wchar_t* className, unsigned long style, unsigned long exStyle,
                      const ControlSetup& setup);
  // A window of one of our own classes, tied to this wrapper while it is
  // being created.
  bool CreateOwn(const wchar_t* className, unsigned long style, unsigned long exStyle,
                 const ControlSetup& setup);

  WindowHandle handle_ = nullptr;
  void* originalProc_ = nullptr;
};

// Runs an event's handler. A handler may run inside another one (a search
// lets waiting events run); the window closes only when the outermost has
// returned.
void RaiseEvent(const std::function<void()>& handler);
bool HandlerRunning();
// Runs `action` when no handler is running any more: at once, or after the
// outermost one returns.
void WhenHandlersDone(std::function<void()> action);

class GroupBox : public Control {
 public:
  bool Create(const ControlSetup& setup);
  HBRUSH__* OnColour(HDC__* dc) override;
  std::optional<std::intptr_t> OnMessage(const ControlMessage& message) override;

 private:
  Colour caption_;
};

// A caption on button face, on one line, vertically centred.
class Label : public Control {
 public:
  bool Create(const ControlSetup& setup);
  void SetCaption(const std::string& text);
  HBRUSH__* OnColour(HDC__* dc) override;

 private:
  Colour text_;
};

// Paints no background; shows the help cursor and reports presses.
class TransparentLabel : public Control {
 public:
  ~TransparentLabel() override;
  bool Create(const ControlSetup& setup);
  HBRUSH__* OnColour(HDC__* dc) override;
  std::optional<std::intptr_t> OnMessage(const ControlMessage& message) override;

  std::function<void()> onPressed;

 private:
  Colour text_;
  HFONT__* font_ = nullptr;
};

class Button : public Control {
 public:
  bool Create(const ControlSetup& setup);
  void OnNotify(int code) override;

  std::function<void()> onClick;
};

class ListBox : public Control {
 public:
  bool Create(const ControlSetup& setup);
  void AddItem(const std::string& text);
  void Clear();
  int SelectedIndex();
  std::string ItemText(int index);
  void OnNotify(int code) override;
  HBRUSH__* OnColour(HDC__* dc) override;
  std::optional<std::intptr_t> OnMessage(const ControlMessage& message) override;
  // Ends a hold on redrawing that a fill began, at once rather than when the
  // next message is taken.
  void ReleaseRedraw();

  std::function<void()> onSelect;  // the user changed the selection

 private:
  void HoldRedraw();

  Colour text_;
  bool redrawHeld_ = false;
};

class EditBox : public Control {
 public:
  // `lossless` (when given) tells whether every character had a GBK form;
  // the others come out as "?".
  std::string Text(bool* lossless = nullptr);
  void Focus();
  HBRUSH__* OnColour(HDC__* dc) override;

 protected:
  Colour text_;
};

class SingleLineEdit : public EditBox {
 public:
  bool Create(const ControlSetup& setup);
  void OnNotify(int code) override;
  std::optional<std::intptr_t> OnMessage(const ControlMessage& message) override;

  std::function<void()> onChange;
  std::function<void(int)> onKeyDown;  // the virtual-key code
};

class MultiLineEdit : public EditBox {
 public:
  bool Create(const ControlSetup& setup);
  // The caret goes to the start, and the box shows the text from its top.
  void SetText(const std::string& text);
  // Inserts after the last character without an undo record; the box ends
  // scrolled to the caret after the inserted text.
  void AppendText(const std::string& text);
  std::optional<std::intptr_t> OnMessage(const ControlMessage& message) override;
};

// Top-down 32-bit BGRA pixels.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

// The panel's decoder: a PNG file's bytes as a Picture, nothing when they
// do not decode.
std::optional<Picture> DecodePngPicture(std::string_view fileBytes);

// Button face with a picture drawn at its natural size from the top-left
// corner. Hidden at start; never takes the focus.
class PicturePanel : public Control {
 public:
  static bool RegisterWindowClass();
  bool Create(const ControlSetup& setup);
  void Show();
  void Hide();
  // Keeps the picture that `decode` makes of an image file's bytes; without
  // a decoder, or when it fails, only the background shows.
  void SetPicture(std::string_view fileBytes);
  std::optional<std::intptr_t> OnMessage(const ControlMessage& message) override;

  std::function<std::optional<Picture>(std::string_view)> decode;
  std::function<void()> onPressed;

 private:
  void Paint();
  void PaintOn(HDC__* dc);
  std::optional<Picture> picture_;
};

}  // namespace quenstrel
