#pragma once
// What the core asks of the desktop's windows (its own and the practice program's).
// Class names and texts cross this interface as ANSI bytes, exactly as the A calls give them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/types.h"

namespace corvane {

enum class AncestorKind { Parent = 1, Root = 2, RootOwner = 3 };  // GA_PARENT, GA_ROOT, GA_ROOTOWNER

// Outcome of a WM_GETTEXT sent to a window.
struct TextRead {
  // NotAWindow also when the window is destroyed while the read waits; NotAnswering only when
  // the read timed out.
  enum class Status { Read, NotAWindow, NotAnswering };
  Status status = Status::Read;
  // The 255-byte buffer as WM_GETTEXT left it (zeroed before the read), unchecked: the text is
  // up to its first NUL and never past byte 254, as the reader cuts it. Empty unless Read.
  std::string bytes;
};

class WindowQuery {
 public:
  virtual ~WindowQuery() = default;

  // EnumChildWindows: every descendant of `parent`, in the system's order (a window, its own
  // descendants, then its next sibling), until `visit` returns false. A null parent walks
  // the top-level windows.
  virtual void EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) = 0;
  // GetClassNameA into a buffer of `bufferSize` bytes: at most bufferSize - 1 bytes.
  virtual std::string ClassName(WindowHandle window, std::size_t bufferSize = 256) = 0;
  // GetDlgCtrlID: 0 for a window without one or for a handle that is not a window.
  virtual std::int32_t ControlId(WindowHandle window) = 0;
  // FindWindowExA(desktop, after, ...): the next top-level window after `after` (the first
  // when none) with that class and title, compared up to a NUL with letter case ignored; no
  // title means any title. Hidden windows are found too.
  virtual WindowHandle FindTopLevel(const std::string& className, const std::optional<std::string>& title,
                                    WindowHandle after = {}) = 0;
  virtual WindowHandle Ancestor(WindowHandle window, AncestorKind kind) = 0;  // GetAncestor
  virtual WindowHandle Parent(WindowHandle window) = 0;                       // GetParent
  virtual WindowHandle FirstChild(WindowHandle window) = 0;                   // GetWindow(GW_CHILD)
  virtual std::optional<Rect> WindowRect(WindowHandle window) = 0;           // GetWindowRect
  virtual bool IsWindow(WindowHandle window) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  virtual bool IsZoomed(WindowHandle window) = 0;
  // WM_GETTEXT with a 255-byte buffer, bounded in time so that a program that stopped
  // answering cannot freeze the link.
  virtual TextRead ReadText(WindowHandle window) = 0;
  // GetWindowTextLengthA then GetWindowTextA: the caption, without its NUL.
  virtual std::string Caption(WindowHandle window) = 0;
  virtual Point CursorPosition() = 0;                     // GetCursorPos
  virtual WindowHandle WindowFromPoint(Point point) = 0;  // WindowFromPoint
};

}  // namespace corvane
