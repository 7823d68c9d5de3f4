#pragma once
// An in-memory desktop: a tree of windows that answers the window calls the way USER32 does
// and counts what reaches the windows' programs.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_query.h"

namespace corvane::fakes {

struct FakeWindow {
  std::string className;
  std::string title;
  std::int32_t controlId = 0;
  std::string text;  // ANSI bytes returned by WM_GETTEXT (may contain NULs, may exceed 254)
  Rect rect;         // screen coordinates
  bool visible = true;
  bool zoomed = false;
  bool hung = false;
  bool destroyedWhileRead = false;  // its program destroys it while WM_GETTEXT waits
  WindowHandle parent;
  WindowHandle owner;
  std::vector<WindowHandle> children;  // in enumeration order
  bool alive = true;
};

class FakeDesktop : public WindowQuery {
 public:
  struct Counts {
    int classNameReads = 0, controlIdReads = 0, textReads = 0, visited = 0;
  };
  Counts counts;
  Point cursor;  // what CursorPosition returns

  WindowHandle AddTopLevel(std::string className, std::string title);
  WindowHandle AddChild(WindowHandle parent, std::string className, std::int32_t controlId = 0, std::string text = {});
  // Throws std::out_of_range for a handle this desktop never gave out.
  FakeWindow& At(WindowHandle window) { return windows_.at(window.value); }
  const FakeWindow& At(WindowHandle window) const { return windows_.at(window.value); }
  // The window and its descendants are no longer windows (their handles stay known to At).
  void Destroy(WindowHandle window);

  void EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) override;
  std::string ClassName(WindowHandle window, std::size_t bufferSize = 256) override;
  std::int32_t ControlId(WindowHandle window) override;
  WindowHandle FindTopLevel(const std::string& className, const std::optional<std::string>& title) override;
  WindowHandle Ancestor(WindowHandle window, AncestorKind kind) override;
  WindowHandle Parent(WindowHandle window) override;
  WindowHandle FirstChild(WindowHandle window) override;
  std::optional<Rect> WindowRect(WindowHandle window) override;
  bool IsWindow(WindowHandle window) override { return Living(window) != nullptr; }
  bool IsVisible(WindowHandle window) override;
  bool IsZoomed(WindowHandle window) override { return Living(window) && Living(window)->zoomed; }
  TextRead ReadText(WindowHandle window) override;
  std::string Caption(WindowHandle window) override;
  Point CursorPosition() override { return cursor; }
  WindowHandle WindowFromPoint(Point point) override;

 private:
  FakeWindow* Living(WindowHandle window);
  bool Walk(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& visit);

  std::map<std::uintptr_t, FakeWindow> windows_;
  std::vector<WindowHandle> topLevels_;
  std::uintptr_t next_ = 0x100;
};

}  // namespace corvane::fakes
