#pragma once
// An in-memory desktop: a tree of windows that answers the window calls the way USER32 does and counts the windows
// walked to and read; and a drawing surface that keeps what a real DC keeps (selected pen and brush, mix mode) and
// records each drawing with that state. Misuse a real system punishes (deleting an object still selected, releasing a
// DC not put back, using a freed handle) is collected in `faults`.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/accessibility.h"
#include "platform/gdi.h"
#include "platform/window_query.h"

namespace corvane::fakes {

class FakeGdi : public Gdi {
 public:
  enum class Kind { Dc, Region, Pen, HatchBrush, Stock };
  struct Object {
    Kind kind = Kind::Pen;
    int style = 0, width = 0;
    std::uint32_t color = 0;
    WindowHandle window{};  // a DC's window, selected objects and mix mode
    GdiHandle pen = 0, brush = 0;
    int mix = 0;
    bool freed = false;  // deleted, or for a DC released
  };
  struct Drawing {  // a Rectangle or FrameRgn call, its arguments after the DC, and the DC then
    std::string what;
    std::vector<std::int64_t> args;
    Object dc;
  };

  std::map<int, int> metrics;                      // GetSystemMetrics, 0 when absent
  std::map<int, std::uint32_t> sysColors;          // GetSysColor, 0 when absent
  std::unordered_set<WindowHandle> shapedWindows;  // windows that have a window region
  std::vector<Drawing> drawings;
  std::vector<std::string> faults;

  // What the frames left behind: the misuse collected, then each object created or DC got and
  // not yet deleted or released. Empty once every frame put back and freed what it used.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> left = faults;
    for (const auto& [handle, object] : objects_)
      if (object.kind != Kind::Stock && !object.freed)
        left.push_back((object.kind == Kind::Dc ? "DC not released: " : "object not deleted: ") +
                       std::to_string(handle));
    return left;
  }
  const Object& ObjectOf(GdiHandle handle) const { return objects_.at(handle); }

  // A fresh DC holds the black stock pen (7), the white stock brush (0) and the copy mix mode (13).
  GdiHandle GetWindowDC(WindowHandle window) override {
    return Make({.kind = Kind::Dc, .window = window, .pen = GetStockObject(7), .brush = GetStockObject(0), .mix = 13});
  }
  void ReleaseDC(WindowHandle window, GdiHandle dc) override {
    Object* released = Live("ReleaseDC", dc, true);
    if (released && (released->window != window || released->pen != GetStockObject(7) ||
                     released->brush != GetStockObject(0) || released->mix != 13))
      faults.push_back("ReleaseDC: another window's DC, or its pen, brush or mix mode not put back");
    if (released) released->freed = true;
  }
  GdiHandle CreateRectRgn(int, int, int, int) override { return Make({.kind = Kind::Region}); }
  int GetWindowRgn(WindowHandle window, GdiHandle region) override {  // SIMPLEREGION or ERROR
    return Live("GetWindowRgn", region, false) && shapedWindows.contains(window) ? 2 : 0;
  }
  int GetSystemMetrics(int index) override { return metrics[index]; }
  std::uint32_t GetSysColor(int index) override { return sysColors[index]; }
  GdiHandle CreatePen(int style, int width, std::uint32_t color) override {
    return Make({.kind = Kind::Pen, .style = style, .width = width, .color = color});
  }
  GdiHandle CreateHatchBrush(int style, std::uint32_t color) override {
    return Make({.kind = Kind::HatchBrush, .style = style, .color = color});
  }
  GdiHandle GetStockObject(int index) override {  // stock objects 6 to 8 are pens, the others brushes
    return stock_.contains(index) ? stock_[index] : stock_[index] = Make({.kind = Kind::Stock, .style = index});
  }
  GdiHandle SelectObject(GdiHandle dc, GdiHandle object) override {
    Object *target = Live("SelectObject", dc, true), *selected = Live("SelectObject", object, false);
    if (!target || !selected || selected->kind == Kind::Region) return 0;
    const bool pen = selected->kind == Kind::Pen || (selected->kind == Kind::Stock && selected->style / 3 == 2);
    return std::exchange(pen ? target->pen : target->brush, object);
  }
  int SetROP2(GdiHandle dc, int mode) override {
    Object* target = Live("SetROP2", dc, true);
    return target ? std::exchange(target->mix, mode) : 0;
  }
  void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) override {
    Draw(dc, "Rectangle", {left, top, right, bottom});
  }
  void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) override {
    if (Live("FrameRgn", region, false) && Live("FrameRgn", brush, false))
      Draw(dc, "FrameRgn", {std::int64_t(region), std::int64_t(brush), width, height});
  }
  void DeleteObject(GdiHandle object) override {
    Object* deleted = Live("DeleteObject", object, false);
    if (deleted && deleted->kind == Kind::Stock) faults.push_back("DeleteObject: a stock object");
    for (const auto& [handle, dc] : objects_)
      if (deleted && dc.kind == Kind::Dc && !dc.freed && (dc.pen == object || dc.brush == object))
        faults.push_back("DeleteObject: object still selected into a DC");
    if (deleted) deleted->freed = true;
  }

 private:
  GdiHandle Make(Object object) {
    objects_[next_] = object;
    return next_++;
  }
  // The living object behind `handle`, a DC or not as `dc` says; else a fault of `call`.
  Object* Live(const char* call, GdiHandle handle, bool dc) {
    const auto found = objects_.find(handle);
    if (found != objects_.end() && !found->second.freed && dc == (found->second.kind == Kind::Dc))
      return &found->second;
    faults.push_back(std::string(call) + ": unknown or freed handle, or not the kind expected");
    return nullptr;
  }
  void Draw(GdiHandle dc, const char* what, std::vector<std::int64_t> args) {
    if (const Object* target = Live(what, dc, true)) drawings.push_back({what, std::move(args), *target});
  }

  std::map<GdiHandle, Object> objects_;
  std::map<int, GdiHandle> stock_;
  GdiHandle next_ = 0x100;
};


struct FakeWindow {
  std::string className{}, title{};
  std::int32_t controlId = 0;
  std::string text{};  // ANSI bytes returned by WM_GETTEXT (may contain NULs, may exceed 254)
  Rect rect{};         // screen coordinates
  bool visible = true, enabled = true, zoomed = false, hung = false, alive = true;
  bool destroyedWhileRead = false;  // its program destroys it while WM_GETTEXT waits
  WindowHandle parent{}, owner{};
  std::vector<WindowHandle> children{};  // in enumeration order, the first one on top
  std::vector<AccessibleObject> drawn{};  // the objects it draws and exposes itself
};

class FakeDesktop : public WindowQuery, public AccessibilityQuery {
 public:
  struct Counts { int textReads = 0, visited = 0; } counts;

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
  WindowHandle FindTopLevel(const std::string& className, const std::optional<std::string>& title,
                            WindowHandle after = {}) override {  // letter case ignored, as USER32 does
    const auto same = [](const std::string& a, const std::string& b) {
      return std::ranges::equal(Cut(a), Cut(b),
                                [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
    };
    auto w = after ? std::find(topLevels_.rbegin(), topLevels_.rend(), after) + 1 : topLevels_.rbegin();
    for (; w < topLevels_.rend(); ++w)  // from the top down: the window added last is on top
      if (Living(*w) && same(At(*w).className, className) && (!title || same(At(*w).title, *title))) return *w;
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
  std::function<void()> afterTextRead;  // the practice program acting between two reads
  TextRead ReadText(WindowHandle window) override {
    ++counts.textReads;
    if (Living(window) && At(window).destroyedWhileRead && !At(window).hung) Destroy(window);
    std::string buffer = Living(window) ? At(window).text.substr(0, 255) : "";  // as WM_GETTEXT leaves a zeroed buffer
    buffer.resize(255, '\0');
    using enum TextRead::Status;
    const TextRead read = !Living(window)    ? TextRead{NotAWindow, {}}
                          : At(window).hung ? TextRead{NotAnswering, {}}
                                            : TextRead{Read, buffer};
    if (afterTextRead) afterTextRead();
    return read;
  }
  AccessibleRead ObjectsOf(WindowHandle window) override {
    if (!Living(window)) return {AccessibleRead::Status::NotAWindow, {}};
    return {At(window).hung ? AccessibleRead::Status::NotAnswering : AccessibleRead::Status::Read, At(window).drawn};
  }
  std::string Caption(WindowHandle window) override { return Living(window) ? Cut(At(window).title) : ""; }
  Point CursorPosition() override { return {}; }
  // The deepest window there, at each level the one on top: the top-level window made last, the
  // child made first. Hidden windows and disabled children are looked through with their children,
  // another thread's static control is not.
  WindowHandle WindowFromPoint(Point p) override {
    for (WindowHandle hit, below;; hit = below, below = {}) {
      for (const WindowHandle w : hit ? At(hit).children : topLevels_) {
        const Rect& r = At(w).rect;
        if (IsVisible(w) && (At(w).enabled || !At(w).parent) && p.x >= r.left && p.x < r.right && p.y >= r.top &&
            p.y < r.bottom && (!hit || !below))
          below = w;
      }
      if (!below) return hit;
    }
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
