#include "finder/control_identity.h"

namespace corvane {

bool IsEditClass(const std::string& className) {
  const std::size_t first = className.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const std::size_t last = className.find_last_not_of(' ');
  // Case-sensitive on purpose: "EDIT" or "edit" are other programs' classes, not WinDev's.
  return last - first + 1 >= 4 && className.compare(first, 4, "Edit") == 0;
}

bool EditOrdinalProc(WindowHandle child, FinderState& finder, WindowQuery& windows) {
  if (!IsEditClass(windows.ClassName(child, 256))) return true;
  if (finder.editCounter == kLastEditOrdinal) {
    // Beyond what 8 bits can count: a wrapped counter would name another control.
    if (child == finder.ordinalTarget) {
      finder.editOrdinal = 0;
      return false;
    }
    return true;
  }
  ++finder.editCounter;
  if (child == finder.ordinalTarget) {
    finder.editOrdinal = finder.editCounter;
    return false;
  }
  return true;
}

void CountEditOrdinal(SharedState& state, WindowQuery& windows) {
  state.finder.editCounter = 0;
  windows.EnumerateDescendants(state.practice.handle,
                               [&](WindowHandle child) { return EditOrdinalProc(child, state.finder, windows); });
}

std::wstring ControlIdentityOf(WindowHandle window, SharedState& state, WindowQuery& windows) {
  if (state.patient.application == kWinDevApplication) {
    state.finder.ordinalTarget = window;
    CountEditOrdinal(state, windows);
    return std::to_wstring(state.finder.editOrdinal);
  }
  return std::to_wstring(windows.ControlId(window));
}

std::int16_t EditOrdinalCounter::Next(const std::string& className) {
  if (!IsEditClass(className)) return 0;
  if (seen_ >= kLastEditOrdinal) return 0;
  return static_cast<std::int16_t>(++seen_);
}

}  // namespace corvane
