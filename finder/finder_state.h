#pragma once
// What the finder keeps between the events of a drag and from one drag to the next.
#include <array>
#include <optional>
#include <string>

#include "platform/accessibility.h"
#include "platform/types.h"
#include "settings/fields.h"

namespace corvane {

// A drop of the configuration under way: the window dropped on and the identity it stored.
struct FinderDrop {
  WindowHandle window;
  std::wstring identity;
};

// The drag under way, the window picked last and the one that carries the frame, and the
// drops of this configuration (from the screen's opening to "VALIDER", a confirmed reset or
// the close box), by entry number - 1.
struct FinderState {
  bool dragging = false;
  WindowHandle picked;
  std::optional<AccessibleObject> pickedObject;  // a field the picked window draws itself
  WindowHandle highlighted;
  std::optional<Rect> highlightedPart;  // where the frame is, when it outlines a drawn field
  std::array<std::optional<FinderDrop>, kFieldCount> drops;
  // The class of the practice window the last file-number drop captured (until a reset or the
  // close box): the form of every identity dropped after it.
  std::wstring capturedPracticeClass;
};

}  // namespace corvane
