#pragma once
// The window calls of the core, each carried out by one Win32 call (the A versions, so that
// class names and texts arrive as the ANSI bytes other programs hand out).
#include <windows.h>

#include <chrono>

#include "platform/window_query.h"

namespace corvane {

inline HWND HwndOf(WindowHandle window) { return reinterpret_cast<HWND>(window.value); }
inline WindowHandle HandleOf(HWND window) { return WindowHandle(reinterpret_cast<std::uintptr_t>(window)); }

// How long the link waits for another program to answer WM_GETTEXT. SMTO_ABORTIFHUNG alone
// does not protect us: Windows (and Wine) count a window as hung only after about 5 s without
// pumping messages, so this bound is what keeps a frozen practice program from freezing the
// link. A healthy WM_GETTEXT answers in well under a millisecond; 2 s is far above that yet
// short enough for a person waiting at the chair.
inline constexpr std::chrono::milliseconds kTextReadTimeout{2000};

class Win32WindowQuery : public WindowQuery {
 public:
  // An exception thrown by `visit` stops the walk and is thrown again once EnumChildWindows
  // has returned: it never crosses USER32.
  void EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) override;
  std::string ClassName(WindowHandle window, std::size_t bufferSize = 256) override;
  std::int32_t ControlId(WindowHandle window) override;
  WindowHandle FindTopLevel(const std::string& className, const std::optional<std::string>& title,
                            WindowHandle after = {}) override;
  WindowHandle Ancestor(WindowHandle window, AncestorKind kind) override;
  WindowHandle Parent(WindowHandle window) override;
  WindowHandle FirstChild(WindowHandle window) override;
  std::optional<Rect> WindowRect(WindowHandle window) override;
  bool IsWindow(WindowHandle window) override;
  bool IsVisible(WindowHandle window) override;
  bool IsZoomed(WindowHandle window) override;
  TextRead ReadText(WindowHandle window) override;
  std::string Caption(WindowHandle window) override;
  Point CursorPosition() override;
  WindowHandle WindowFromPoint(Point point) override;
};

}  // namespace corvane
