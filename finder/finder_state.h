#pragma once
// What the finder keeps between the events of a drag and from one drag to the next.
#include "platform/types.h"

namespace corvane {

// The drag under way, the window picked last and the one that carries the frame.
struct FinderState {
  bool dragging = false;
  WindowHandle picked;
  WindowHandle highlighted;
};

}  // namespace corvane
