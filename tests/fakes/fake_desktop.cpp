#include "tests/fakes/fake_desktop.h"

namespace corvane::fakes {
namespace {

std::string UpToNul(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

WindowHandle FakeDesktop::AddTopLevel(std::string className, std::string title) {
  const WindowHandle handle(next_++);
  windows_[handle.value] = {.className = std::move(className), .title = std::move(title)};
  topLevels_.push_back(handle);
  return handle;
}

WindowHandle FakeDesktop::AddChild(WindowHandle parent, std::string className, std::int32_t controlId,
                                   std::string text) {
  At(parent).children.push_back(WindowHandle(next_));
  windows_[next_] = {.className = std::move(className), .controlId = controlId, .text = std::move(text), .parent = parent};
  return WindowHandle(next_++);
}

void FakeDesktop::Destroy(WindowHandle window) {
  At(window).alive = false;
  for (const WindowHandle child : At(window).children) Destroy(child);
}

FakeWindow* FakeDesktop::Living(WindowHandle window) {
  const auto found = windows_.find(window.value);
  return found == windows_.end() || !found->second.alive ? nullptr : &found->second;
}

bool FakeDesktop::Walk(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& visit) {
  for (const WindowHandle handle : std::vector(level)) {  // a copy: the visitor may change the tree
    if (!Living(handle)) continue;
    ++counts.visited;
    if (!visit(handle)) return false;
    if (FakeWindow* window = Living(handle); window && !Walk(window->children, visit)) return false;
  }
  return true;
}

void FakeDesktop::EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) {
  if (!parent) Walk(topLevels_, visit);
  if (FakeWindow* window = Living(parent)) Walk(window->children, visit);
}

std::string FakeDesktop::ClassName(WindowHandle window, std::size_t bufferSize) {
  ++counts.classNameReads;
  const FakeWindow* found = Living(window);
  return found && bufferSize > 0 ? found->className.substr(0, bufferSize - 1) : std::string();
}

std::int32_t FakeDesktop::ControlId(WindowHandle window) {
  ++counts.controlIdReads;
  return Living(window) ? Living(window)->controlId : 0;
}

WindowHandle FakeDesktop::FindTopLevel(const std::string& className, const std::optional<std::string>& title) {
  for (const WindowHandle handle : topLevels_) {
    const FakeWindow* window = Living(handle);
    if (window && UpToNul(window->className) == UpToNul(className) && (!title || UpToNul(window->title) == UpToNul(*title)))
      return handle;
  }
  return {};
}

WindowHandle FakeDesktop::Ancestor(WindowHandle window, AncestorKind kind) {
  if (!Living(window)) return {};
  if (kind == AncestorKind::Parent) return Living(window)->parent;
  while (Living(window)->parent) window = Living(window)->parent;
  while (kind == AncestorKind::RootOwner && Living(Living(window)->owner)) window = Living(window)->owner;
  return window;
}

WindowHandle FakeDesktop::Parent(WindowHandle window) {
  const FakeWindow* found = Living(window);
  return !found ? WindowHandle() : found->parent ? found->parent : found->owner;
}

WindowHandle FakeDesktop::FirstChild(WindowHandle window) {
  if (Living(window))
    for (const WindowHandle child : Living(window)->children)
      if (Living(child)) return child;
  return {};
}

std::optional<Rect> FakeDesktop::WindowRect(WindowHandle window) {
  return Living(window) ? std::optional(Living(window)->rect) : std::nullopt;
}

bool FakeDesktop::IsVisible(WindowHandle window) {  // as IsWindowVisible: every ancestor too
  for (; window; window = Living(window)->parent)
    if (!Living(window) || !Living(window)->visible) return false;
  return true;
}

TextRead FakeDesktop::ReadText(WindowHandle window) {
  ++counts.textReads;
  const FakeWindow* found = Living(window);
  if (found && found->hung) return {TextRead::Status::NotAnswering, {}};
  if (found && found->destroyedWhileRead) Destroy(window);
  if (!Living(window)) return {TextRead::Status::NotAWindow, {}};
  return {TextRead::Status::Read, UpToNul(found->text).substr(0, 254)};
}

std::string FakeDesktop::Caption(WindowHandle window) {
  return Living(window) ? UpToNul(Living(window)->title) : std::string();
}

WindowHandle FakeDesktop::WindowFromPoint(Point point) {
  // The deepest visible window under the point, the last-added on top at each level.
  WindowHandle hit;
  for (const std::vector<WindowHandle>* level = &topLevels_;;) {
    WindowHandle best;
    for (const WindowHandle handle : *level) {
      const FakeWindow* found = Living(handle);
      const Rect& r = found ? found->rect : Rect{};
      if (found && found->visible && point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
        best = handle;
    }
    if (!best) return hit;
    hit = best;
    level = &At(hit).children;
  }
}

}  // namespace corvane::fakes
