#pragma once
// An in-memory desktop: a tree of windows that answers the window calls the way USER32 does
// and counts the windows walked to and read.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_query.h"

namespace corvane::fakes {

struct FakeWindow {
  std::string className{}, title{};
  std::int32_t controlId = 0;
  std::string text{};  // ANSI bytes returned by WM_GETTEXT (may contain NULs, may exceed 254)
  Rect rect{};         // screen coordinates
  bool visible = true, zoomed = false, hung = false;
  bool destroyedWhileRead = false;  // its program destroys it while WM_GETTEXT waits
  WindowHandle parent{}, owner{};
  std::vector<WindowHandle> children{};  // in enumeration order, the last one on top
  bool alive = true;
};

class FakeDesktop : public WindowQuery {
 public:
  struct Counts {
    int textReads = 0, visited = 0;
  } counts;

  WindowHandle AddTopLevel(std::string className, std::string title) {
    windows_[next_] = {.className = std::move(className), .title = std::move(title)};
    topLevels_.push_back(WindowHandle(next_));
    return WindowHandle(next_++);
  }
  WindowHandle AddChild(WindowHandle parent, std::string className, std::int32_t controlId = 0, std::string text = {}) {
    At(parent).children.push_back(WindowHandle(next_));
    windows_[next_] = {
        .className = std::move(className), .controlId = controlId, .text = std::move(text), .parent = parent};
    return WindowHandle(next_++);
  }
  // Throws std::out_of_range for a handle this desktop never gave out.
  FakeWindow& At(WindowHandle window) { return windows_.at(window.value); }
  const FakeWindow& At(WindowHandle window) const { return windows_.at(window.value); }
  // The window and its descendants are no longer windows (their handles stay known to At).
  void Destroy(WindowHandle window) {
    At(window).alive = false;
    for (const WindowHandle child : At(window).children) Destroy(child);
  }

  void EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) override {
    if (!parent || Living(parent)) Walk(parent ? At(parent).children : topLevels_, visit);
  }
  std::string ClassName(WindowHandle window, std::size_t size = 256) override {
    return Living(window) && size > 0 ? At(window).className.substr(0, size - 1) : "";
  }
  std::int32_t ControlId(WindowHandle window) override { return Living(window) ? At(window).controlId : 0; }
  WindowHandle FindTopLevel(const std::string& className, const std::optional<std::string>& title) override {
    for (const WindowHandle w : topLevels_)
      if (Living(w) && Cut(At(w).className) == Cut(className) && (!title || Cut(At(w).title) == Cut(*title))) return w;
    return {};
  }
  WindowHandle Ancestor(WindowHandle window, AncestorKind kind) override {
    if (!Living(window) || kind == AncestorKind::Parent) return Living(window) ? At(window).parent : WindowHandle();
    while (At(window).parent) window = At(window).parent;
    while (kind == AncestorKind::RootOwner && Living(At(window).owner)) window = At(window).owner;
    return window;
  }
  WindowHandle Parent(WindowHandle window) override {
    return !Living(window) ? WindowHandle() : At(window).parent ? At(window).parent : At(window).owner;
  }
  WindowHandle FirstChild(WindowHandle window) override {
    for (const WindowHandle child : Living(window) ? At(window).children : std::vector<WindowHandle>{})
      if (Living(child)) return child;
    return {};
  }
  std::optional<Rect> WindowRect(WindowHandle window) override {
    return Living(window) ? std::optional(At(window).rect) : std::nullopt;
  }
  bool IsWindow(WindowHandle window) override { return Living(window) != nullptr; }
  bool IsVisible(WindowHandle window) override {  // as IsWindowVisible: every ancestor too
    return Living(window) && At(window).visible && (!At(window).parent || IsVisible(At(window).parent));
  }
  bool IsZoomed(WindowHandle window) override { return Living(window) && At(window).zoomed; }
  TextRead ReadText(WindowHandle window) override {
    ++counts.textReads;
    if (Living(window) && At(window).hung) return {TextRead::Status::NotAnswering, {}};
    if (Living(window) && At(window).destroyedWhileRead) Destroy(window);
    if (!Living(window)) return {TextRead::Status::NotAWindow, {}};
    return {TextRead::Status::Read, Cut(At(window).text).substr(0, 254)};
  }
  std::string Caption(WindowHandle window) override { return Living(window) ? Cut(At(window).title) : ""; }
  Point CursorPosition() override { return {}; }
  WindowHandle WindowFromPoint(Point p) override {  // the deepest visible window there, the top one at each level
    WindowHandle hit;
    for (bool deeper = true; deeper;) {
      deeper = false;
      for (const WindowHandle w : hit ? At(hit).children : topLevels_) {
        const Rect& r = At(w).rect;
        if (IsVisible(w) && p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) hit = w, deeper = true;
      }
    }
    return hit;
  }

 private:
  static std::string Cut(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }  // up to a NUL
  FakeWindow* Living(WindowHandle window) {
    const auto found = windows_.find(window.value);
    return found == windows_.end() || !found->second.alive ? nullptr : &found->second;
  }
  bool Walk(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& visit) {
    for (const WindowHandle w : std::vector(level)) {  // a copy: the visitor may change the tree
      if (Living(w) && (++counts.visited, !visit(w) || (Living(w) && !Walk(At(w).children, visit)))) return false;
    }
    return true;
  }

  std::map<std::uintptr_t, FakeWindow> windows_;
  std::vector<WindowHandle> topLevels_;
  std::uintptr_t next_ = 0x100;
};

}  // namespace corvane::fakes
