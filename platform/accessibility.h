#pragma once
// What the core asks of the accessibility interface: the objects that a window draws itself and
// exposes to screen readers (a field painted by its program, a page shown in a browser), for the
// practice programs whose fields are not windows.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace corvane {

// One object of a window's own accessibility tree.
struct AccessibleObject {
  std::int32_t role = 0;  // the role number (ROLE_SYSTEM_*)
  std::wstring name;
  std::wstring value;
  std::optional<Rect> location;  // in screen coordinates; none when the object gives none
  int depth = 1;                 // 1 for a child of the window's own object
  friend bool operator==(const AccessibleObject&, const AccessibleObject&) = default;
};

struct AccessibleRead {
  // NotAnswering when the program did not give the whole tree within the time limit.
  enum class Status { Read, NotAWindow, NotAnswering };
  Status status = Status::Read;
  std::vector<AccessibleObject> objects;  // depth first, each object before its children
};

class AccessibilityQuery {
 public:
  virtual ~AccessibilityQuery() = default;
  // The objects below the object with which `window` itself answers WM_GETOBJECT (its client
  // area), depth first; none for a window that leaves its accessibility to the system, as
  // every window whose fields are windows does. An object that is another window's is
  // neither listed nor entered. Bounded in time as a text read is.
  virtual AccessibleRead ObjectsOf(WindowHandle window) = 0;
};

}  // namespace corvane
