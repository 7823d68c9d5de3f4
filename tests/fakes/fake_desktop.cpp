#include "tests/fakes/fake_desktop.h"

#include <algorithm>
#include <random>
#include <stdexcept>

namespace corvane::fakes {
namespace {

std::string UpToNul(const std::string& bytes) { return bytes.substr(0, bytes.find('\0')); }

bool Contains(const Rect& rect, Point point) {
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

WindowHandle FakeDesktop::AddTopLevel(std::string className, std::string title) {
  const WindowHandle handle(next_++);
  FakeWindow& window = windows_[handle.value];
  window.className = std::move(className);
  window.title = std::move(title);
  topLevels_.push_back(handle);
  return handle;
}

WindowHandle FakeDesktop::AddChild(WindowHandle parent, std::string className, std::int32_t controlId,
                                   std::string text) {
  FakeWindow& parentWindow = At(parent);
  const WindowHandle handle(next_++);
  FakeWindow& window = windows_[handle.value];
  window.className = std::move(className);
  window.controlId = controlId;
  window.text = std::move(text);
  window.parent = parent;
  parentWindow.children.push_back(handle);
  return handle;
}

FakeWindow& FakeDesktop::At(WindowHandle window) {
  const auto found = windows_.find(window.value);
  if (found == windows_.end()) throw std::out_of_range("FakeDesktop: unknown window handle");
  return found->second;
}

const FakeWindow& FakeDesktop::At(WindowHandle window) const {
  const auto found = windows_.find(window.value);
  if (found == windows_.end()) throw std::out_of_range("FakeDesktop: unknown window handle");
  return found->second;
}

void FakeDesktop::Destroy(WindowHandle window) {
  FakeWindow& target = At(window);
  if (!target.alive) return;
  target.alive = false;
  for (const WindowHandle child : target.children) Destroy(child);
}

std::vector<WindowHandle>& FakeDesktop::ChildList(WindowHandle parent) {
  return parent ? At(parent).children : topLevels_;
}

void FakeDesktop::ReverseChildren(WindowHandle parent) {
  auto& list = ChildList(parent);
  std::reverse(list.begin(), list.end());
}

void FakeDesktop::ShuffleChildren(WindowHandle parent, unsigned seed) {
  // Fisher-Yates on the raw generator output: std::shuffle and the distributions may differ
  // between standard libraries, and the same seed must give the same tree everywhere.
  std::mt19937 generator(seed);
  std::vector<WindowHandle> pending{parent};
  while (!pending.empty()) {
    const WindowHandle current = pending.back();
    pending.pop_back();
    auto& list = ChildList(current);
    for (std::size_t i = list.size(); i > 1; --i) std::swap(list[i - 1], list[generator() % i]);
    pending.insert(pending.end(), list.begin(), list.end());
  }
}

std::vector<WindowHandle> FakeDesktop::TopLevels() const {
  std::vector<WindowHandle> living;
  for (const WindowHandle handle : topLevels_) {
    if (At(handle).alive) living.push_back(handle);
  }
  return living;
}

FakeWindow* FakeDesktop::Living(WindowHandle window) {
  const auto found = windows_.find(window.value);
  if (found == windows_.end() || !found->second.alive) return nullptr;
  return &found->second;
}

bool FakeDesktop::Walk(const std::vector<WindowHandle>& level, const std::function<bool(WindowHandle)>& visit) {
  // A copy: the visitor may add or destroy windows while the walk goes on.
  const std::vector<WindowHandle> snapshot = level;
  for (const WindowHandle handle : snapshot) {
    if (!Living(handle)) continue;
    ++counts.visited;
    if (!visit(handle)) return false;
    if (FakeWindow* window = Living(handle)) {
      if (!Walk(window->children, visit)) return false;
    }
  }
  return true;
}

void FakeDesktop::EnumerateDescendants(WindowHandle parent, const std::function<bool(WindowHandle)>& visit) {
  ++counts.enumerations;
  if (!parent) {
    Walk(topLevels_, visit);
    return;
  }
  if (FakeWindow* window = Living(parent)) Walk(window->children, visit);
}

std::string FakeDesktop::ClassName(WindowHandle window, std::size_t bufferSize) {
  ++counts.classNameReads;
  const FakeWindow* found = Living(window);
  if (!found || bufferSize == 0) return {};
  return found->className.substr(0, bufferSize - 1);
}

std::int32_t FakeDesktop::ControlId(WindowHandle window) {
  ++counts.controlIdReads;
  const FakeWindow* found = Living(window);
  return found ? found->controlId : 0;
}

WindowHandle FakeDesktop::FindTopLevel(const std::string& className, const std::optional<std::string>& title) {
  const std::string wantedClass = UpToNul(className);
  const std::optional<std::string> wantedTitle = title ? std::optional(UpToNul(*title)) : std::nullopt;
  // Insertion order, whatever the enumeration order was made to be.
  for (const auto& [value, window] : windows_) {
    if (!window.alive || window.parent) continue;
    if (UpToNul(window.className) != wantedClass) continue;
    if (wantedTitle && UpToNul(window.title) != *wantedTitle) continue;
    return WindowHandle(value);
  }
  return {};
}

WindowHandle FakeDesktop::Ancestor(WindowHandle window, AncestorKind kind) {
  const FakeWindow* found = Living(window);
  if (!found) return {};
  if (kind == AncestorKind::Parent) return found->parent;
  WindowHandle root = window;
  while (const FakeWindow* current = Living(root)) {
    if (!current->parent) break;
    root = current->parent;
  }
  if (kind == AncestorKind::Root) return root;
  // Bounded so that an owner loop set up by a test cannot hang it.
  for (std::size_t steps = 0; steps < windows_.size(); ++steps) {
    const FakeWindow* current = Living(root);
    if (!current || !current->owner || !Living(current->owner)) break;
    root = current->owner;
  }
  return root;
}

WindowHandle FakeDesktop::Parent(WindowHandle window) {
  const FakeWindow* found = Living(window);
  if (!found) return {};
  return found->parent ? found->parent : found->owner;
}

WindowHandle FakeDesktop::FirstChild(WindowHandle window) {
  FakeWindow* found = Living(window);
  if (!found) return {};
  for (const WindowHandle child : found->children) {
    if (Living(child)) return child;
  }
  return {};
}

std::optional<Rect> FakeDesktop::WindowRect(WindowHandle window) {
  const FakeWindow* found = Living(window);
  if (!found) return std::nullopt;
  return found->rect;
}

bool FakeDesktop::IsWindow(WindowHandle window) { return Living(window) != nullptr; }

bool FakeDesktop::IsVisible(WindowHandle window) {
  // As IsWindowVisible: the window and every ancestor must be visible.
  for (WindowHandle current = window; current;) {
    const FakeWindow* found = Living(current);
    if (!found || !found->visible) return false;
    current = found->parent;
  }
  return true;
}

bool FakeDesktop::IsZoomed(WindowHandle window) {
  const FakeWindow* found = Living(window);
  return found && found->zoomed;
}

TextRead FakeDesktop::ReadText(WindowHandle window) {
  ++counts.textReads;
  const FakeWindow* found = Living(window);
  if (!found) return {TextRead::Status::NotAWindow, {}};
  if (found->hung) return {TextRead::Status::NotAnswering, {}};
  if (found->destroyedWhileRead) {
    Destroy(window);
    return {TextRead::Status::NotAWindow, {}};
  }
  return {TextRead::Status::Read, UpToNul(found->text).substr(0, 254)};
}

std::string FakeDesktop::Caption(WindowHandle window) {
  const FakeWindow* found = Living(window);
  return found ? UpToNul(found->title) : std::string();
}

WindowHandle FakeDesktop::TopmostAt(const std::vector<WindowHandle>& level, Point point) {
  // The last-added window is on top, whatever order the enumeration was given.
  WindowHandle best;
  for (const WindowHandle handle : level) {
    const FakeWindow* found = Living(handle);
    if (!found || !found->visible || !Contains(found->rect, point)) continue;
    if (!best || handle.value > best.value) best = handle;
  }
  return best;
}

WindowHandle FakeDesktop::WindowFromPoint(Point point) {
  WindowHandle hit = TopmostAt(topLevels_, point);
  while (hit) {
    const WindowHandle deeper = TopmostAt(At(hit).children, point);
    if (!deeper) break;
    hit = deeper;
  }
  return hit;
}

}  // namespace corvane::fakes
