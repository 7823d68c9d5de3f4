#pragma once
// The control identity: the decimal text by which a link settings entry names a control of
// the practice window. For a WinDev practice program ("WinDevObject") it is the control's
// Edit ordinal, its 1-based position among the "Edit" windows below the practice window in
// enumeration order; for any other program it is the control id (GetDlgCtrlID).
#include <cstdint>
#include <string>

#include "link/link_state.h"
#include "platform/window_query.h"

namespace corvane {

inline constexpr wchar_t kWinDevApplication[] = L"WinDevObject";

// The counter is 8 bits: the 255th "Edit" window is the last one that can get an ordinal.
inline constexpr int kLastEditOrdinal = 255;

// True when the class name, trimmed of spaces at both ends, begins with exactly "Edit".
bool IsEditClass(const std::string& className);

// The EnumChildWindows callback of CountEditOrdinal: counts `child` when it is an "Edit"
// window and records the count when it is the ordinal target. Returns false to stop the walk.
// An "Edit" window met after 255 of them cannot be counted in 8 bits: when it is the target,
// the ordinal becomes 0 (no ordinal, which never matches an entry), never a wrapped-around one.
bool EditOrdinalProc(WindowHandle child, FinderState& finder, WindowQuery& windows);

// Counts state.finder.ordinalTarget among the "Edit" windows below state.practice.handle.
// The Edit counter starts at 0; the Edit ordinal keeps its previous value when the target is
// not met (for instance a label, which is no "Edit" window).
void CountEditOrdinal(SharedState& state, WindowQuery& windows);

// The identity text of `window`: its Edit ordinal when state.patient.application is exactly
// "WinDevObject" (the ordinal target is set to `window` first), else its control id, "0"
// for a handle that is no window.
std::wstring ControlIdentityOf(WindowHandle window, SharedState& state, WindowQuery& windows);

// The Edit ordinals of one whole walk in a single pass. The harvest walks the practice
// window once; counting each candidate again from the start would cost a walk per control.
// Fed every window of the walk in walk order, it gives each window the ordinal that
// CountEditOrdinal would give it, as long as the tree does not change during the walk.
class EditOrdinalCounter {
 public:
  // The ordinal of the next window of the walk: 1 to 255 for an "Edit" window, 0 for any
  // other window and for an "Edit" window beyond the 255th.
  std::int16_t Next(const std::string& className);

 private:
  int seen_ = 0;
};

}  // namespace corvane
