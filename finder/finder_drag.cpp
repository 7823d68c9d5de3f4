#include "finder/finder_drag.h"

#include <algorithm>
#include <cstdint>

#include "practice/control_identity.h"
#include "practice/control_text.h"
#include "practice/highlight.h"

namespace corvane {
namespace {

// Inside an embedded browser nothing can be picked: its content has no windows of its own.
constexpr char kEmbeddedBrowserClass[] = "Internet Explorer_Server";
constexpr std::size_t kEmbeddedBrowserPrefix = 24;

// All four edges count as inside.
bool Contains(const Rect& rect, Point point) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

// In 64 bits: a huge window must never look small through a wrapped product.
std::int64_t AreaOf(const Rect& rect) {
  return (std::int64_t{rect.bottom} - rect.top) * (std::int64_t{rect.right} - rect.left);
}

static_assert(std::tuple_size_v<decltype(FinderState::drops)> == kFieldCount);

}  // namespace

FinderDrag::FinderDrag(FinderView& view, WindowQuery& windows, Gdi& gdi, const TextPlatform& text, FieldRules rules,
                       LinkSettings& settings, PracticeWindow& practice, FinderState& finder)
    : view_(view),
      windows_(windows),
      gdi_(gdi),
      text_(text),
      rules_(rules),
      settings_(settings),
      practice_(practice),
      finder_(finder) {}

void FinderDrag::Start(Field box) {
  if (finder_.dragging) return;
  view_.HideScreen();
  box_ = box;
  view_.SetDragPointer();
  view_.EmptyFinderBox(box);
  finder_.dragging = true;
  std::wstring preview = L" ";
  try {
    preview = PreviewOf(finder_.picked, box, PracticeClassInForce());
  } catch (const LinkError&) {
    // Only a reminder of the last pick: a program that does not answer does not stop the drag.
  }
  view_.ShowPreview(box, preview);
  MoveFrameTo(finder_.picked);
}

void FinderDrag::Move(Point point) {
  if (!finder_.dragging) return;
  const WindowHandle pick = PickAt(point);
  if (!pick) return;  // the earlier pick stays
  finder_.picked = pick;
  MoveFrameTo(pick);
}

void FinderDrag::Drop(Point release) {
  if (!finder_.dragging) return;
  walks_.clear();
  Move(release);
  try {
    Store();
  } catch (...) {
    EndDrag();
    throw;
  }
  EndDrag();
}

// Among the visible windows around the pointed one that contain the pointer, the smallest,
// never larger than the pointed window (between equal areas the later in the walk): the
// pointed window may be a group box or a panel over the control that is wanted.
// The rectangles of a walk are read once per drag: only the pointed window and the pick are read
// at every step. A pointed window the walk does not hold where it is now, or a pick that is not
// where the walk holds it (it moved, was hidden or destroyed), reads the walk again, so that
// nothing is ever picked on what the windows were.
WindowHandle FinderDrag::PickAt(Point point) {
  const WindowHandle pointed = windows_.WindowFromPoint(point);
  if (!pointed) return {};
  if (windows_.ClassName(pointed, 256).compare(0, kEmbeddedBrowserPrefix, kEmbeddedBrowserClass) == 0) return {};
  const std::optional<Rect> pointedRect = windows_.WindowRect(pointed);
  if (!pointedRect) return {};

  // A top-level window: its parent is its owner or the desktop, whose walk would reach windows
  // of other programs hidden behind it. Only its own windows are candidates.
  const bool topLevel = windows_.Ancestor(pointed, AncestorKind::Root) == pointed;
  const WindowHandle root = topLevel ? pointed : windows_.Parent(pointed);
  const Walk* walk = &WalkOf(root, false);
  bool readNow = false;
  const auto held = [&](WindowHandle window) {
    return std::find_if(walk->begin(), walk->end(), [&](const Placed& placed) { return placed.window == window; });
  };
  if (!topLevel && (held(pointed) == walk->end() || held(pointed)->rect != *pointedRect)) {
    walk = &WalkOf(root, true);
    readNow = true;
  }
  WindowHandle pick = SmallestAt(*walk, point, pointed, *pointedRect, topLevel);
  if (pick && pick != pointed && !readNow && windows_.WindowRect(pick) != std::optional(held(pick)->rect)) {
    pick = SmallestAt(WalkOf(root, true), point, pointed, *pointedRect, topLevel);
  }
  return pick;
}

const FinderDrag::Walk& FinderDrag::WalkOf(WindowHandle root, bool fresh) {
  const auto held = walks_.find(root);
  if (held != walks_.end() && !fresh) return held->second;
  Walk& walk = walks_[root];
  walk.clear();
  windows_.EnumerateDescendants(root, [&](WindowHandle window) {
    if (const std::optional<Rect> rect = windows_.WindowRect(window)) walk.push_back({window, *rect});
    return true;
  });
  return walk;
}

// Visibility and id are asked only of the candidates in the order of the pick (smaller first,
// then later in the walk), until one qualifies: where containers pile up, most are never asked.
WindowHandle FinderDrag::SmallestAt(const Walk& walk, Point point, WindowHandle pointed, const Rect& pointedRect,
                                    bool topLevel) {
  struct Candidate {
    std::int64_t area;
    std::ptrdiff_t order;
    WindowHandle window;
  };
  std::vector<Candidate> candidates;
  const auto consider = [&](WindowHandle window, const Rect& rect, std::ptrdiff_t order) {
    if (Contains(rect, point) && AreaOf(rect) <= AreaOf(pointedRect)) candidates.push_back({AreaOf(rect), order, window});
  };
  if (topLevel) consider(pointed, pointedRect, -1);
  for (std::size_t i = 0; i < walk.size(); ++i) consider(walk[i].window, walk[i].rect, std::ptrdiff_t(i));
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.area != b.area ? a.area < b.area : a.order > b.order;
  });
  for (const Candidate& candidate : candidates) {
    if (windows_.IsVisible(candidate.window) && windows_.ControlId(candidate.window) != kNeverPickedControlId)
      return candidate.window;
  }
  return {};
}

void FinderDrag::MoveFrameTo(WindowHandle window) {
  if (window == finder_.highlighted) return;
  HighlightWindow(window, 3, windows_, gdi_);
  HighlightWindow(finder_.highlighted, 3, windows_, gdi_);  // the second toggle erases
  finder_.highlighted = windows_.IsWindow(window) ? window : WindowHandle();
}

void FinderDrag::Store() {
  const WindowHandle picked = finder_.picked;
  // Read first, in the form the class this drop captures gives: a program that does not answer
  // leaves every entry as it was.
  const bool capture = box_ == Field::NumDossier;
  const std::wstring preview = PreviewOf(picked, box_, capture ? RootOwnerClass(picked) : PracticeClassInForce());
  view_.ShowPreview(box_, preview);
  if (capture) CapturePracticeWindow(picked);
  const std::wstring identity = IdentityOf(picked);
  settings_.SetEntry(EntryOf(box_), identity);
  finder_.drops[static_cast<std::size_t>(EntryOf(box_) - 1)] = FinderDrop{picked, identity};
  if (box_ == Field::NumDossier) RecomputeEarlierDrops();
}

// The text the harvest will read for the box's field from `window` (a combo box's first child,
// the field's rules), so that the preview is the staff's check on a drop; nothing for a window
// the harvest never reads.
std::wstring FinderDrag::PreviewOf(WindowHandle window, Field box, const std::wstring& practiceClass) {
  const std::optional<WindowHandle> source =
      TextSourceOf(window, windows_.ClassName(window), ReadingModeOf(practiceClass), windows_);
  if (!source) return {};
  practice_.lastTextRead = ReadWindowText(*source, windows_, text_);
  return rules_(box, practice_.lastTextRead, text_);
}

std::wstring FinderDrag::RootOwnerClass(WindowHandle window) {
  return text_.FromAnsi(windows_.ClassName(windows_.Ancestor(window, AncestorKind::RootOwner), 256));
}

std::wstring FinderDrag::PracticeClassInForce() const {
  return finder_.capturedPracticeClass.empty() ? practice_.className : finder_.capturedPracticeClass;
}

void FinderDrag::CapturePracticeWindow(WindowHandle picked) {
  finder_.capturedPracticeClass = RootOwnerClass(picked);
  settings_.SetEntry(kEntryPracticeClass, finder_.capturedPracticeClass);
  practice_.handle = windows_.Ancestor(picked, AncestorKind::Root);
  // With its NUL: an untitled window gives "\0", which the lookup reads as the empty title,
  // where an empty entry would mean that no practice window is configured.
  settings_.SetEntry(kEntryPracticeTitle, text_.FromAnsi(windows_.Caption(practice_.handle)) + L'\0');
}

// The file-number drop may change the practice class, hence the identity form, and the window
// ordinals are counted below. A field dropped earlier in this configuration gets the identity
// the harvest will look for, unless its entry changed since or its window is gone from the
// practice window just captured: a dead window's identity would wipe a working entry.
void FinderDrag::RecomputeEarlierDrops() {
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    std::optional<FinderDrop>& dropped = finder_.drops[static_cast<std::size_t>(entry - 1)];
    if (entry == EntryOf(Field::NumDossier) || !dropped || settings_.Entry(entry) != dropped->identity) continue;
    if (!windows_.IsWindow(dropped->window) ||
        windows_.Ancestor(dropped->window, AncestorKind::Root) != practice_.handle) {
      continue;
    }
    dropped->identity = IdentityOf(dropped->window);
    settings_.SetEntry(entry, dropped->identity);
  }
}

// In the form the harvest will read it: the class the file-number drop captured in this run,
// else the practice class as loaded.
std::wstring FinderDrag::IdentityOf(WindowHandle window) {
  return ControlIdentityOf(window, IdentityFormOf(PracticeClassInForce()), practice_.handle, windows_);
}

void FinderDrag::EndDrag() {
  walks_.clear();
  MoveFrameTo(WindowHandle());
  finder_.dragging = false;
  view_.ShowFinderIcon(box_);
  view_.RestorePointer();
  view_.ShowScreen();
}

}  // namespace corvane
