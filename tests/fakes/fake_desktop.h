#pragma once
// An in-memory desktop: a tree of windows that answers the window calls the way USER32 does,
// counts what it was asked, and lets a test choose the enumeration order.
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
  bool hasRegion = false;
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
    int classNameReads = 0;
    int controlIdReads = 0;
    int textReads = 0;
    int enumerations = 0;
    int visited = 0;
  };

  Counts counts;
  Point cursor;  // what CursorPosition returns

  WindowHandle AddTopLevel(std::string className, std::string title);
  WindowHandle AddChild(WindowHandle parent, std::string className, std::int32_t controlId = 0, std::string text = {});
  // Throws std::out_of_range for a handle this desktop never gave out.
  FakeWindow& At(WindowHandle window);
  const FakeWindow& At(WindowHandle window) const;
  // The window and its descendants are no longer windows (their handles stay known to At).
  void Destroy(WindowHandle window);
  // Enumeration order of the direct children; a null parent means the top-level windows.
  void ReverseChildren(WindowHandle parent);
  // Reorders the children of `parent` and of every descendant, the same way for the same seed.
  void ShuffleChildren(WindowHandle parent, unsigned seed);
  std::vector<WindowHandle> TopLevels() const;  // living ones, in enumeration order

  void EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) override;
  std::string ClassName(WindowHandle window, std::size_t bufferSize = 256) override;
  std::int32_t ControlId(WindowHandle window) override;
  WindowHandle FindTopLevel(const std::string& className, const std::optional<std::string>& title) override;
  WindowHandle Ancestor(WindowHandle window, AncestorKind kind) override;
  WindowHandle Parent(WindowHandle window) override;
  WindowHandle FirstChild(WindowHandle window) override;
  std::optional<Rect> WindowRect(WindowHandle window) override;
  bool IsWindow(WindowHandle window) override;
  bool IsVisible(WindowHandle window) override;
  bool IsZoomed(WindowHandle window) override;
  TextRead ReadText(WindowHandle window) override;
  std::string Caption(WindowHandle window) override;
  Point CursorPosition() override { return cursor; }
  WindowHandle WindowFromPoint(Point point) override;

 private:
  FakeWindow* Living(WindowHandle window);
  std::vector<WindowHandle>& ChildList(WindowHandle parent);
  bool Walk(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& visit);
  WindowHandle TopmostAt(const std::vector<WindowHandle>& level, Point point);

  std::map<std::uintptr_t, FakeWindow> windows_;
  std::vector<WindowHandle> topLevels_;  // in enumeration order
  std::uintptr_t next_ = 0x100;
};

}  // namespace corvane::fakes
