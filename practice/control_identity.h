#pragma once
// The control identity: the decimal text by which a link settings entry names a control of
// the practice window. For a WinDev practice program ("WinDevObject") it is the control's
// Edit ordinal, its 1-based position among the "Edit" windows below the practice window in
// enumeration order; for any other program it is the control id (GetDlgCtrlID).
#include <cstdint>
#include <string>

#include "platform/types.h"
#include "platform/window_query.h"

namespace corvane {

inline constexpr wchar_t kWinDevClass[] = L"WinDevObject";

enum class IdentityForm { ControlId, EditOrdinal };

// Edit ordinals for a practice window class of exactly "WinDevObject" (whole, case-sensitive),
// control ids for any other class, the empty one included.
IdentityForm IdentityFormOf(const std::wstring& practiceClass);

// True when the class name, trimmed of spaces at both ends, begins with exactly "Edit".
bool IsEditClass(const std::string& className);

// The position of `target` among the "Edit" windows below `practiceWindow`, counted from 1 in
// enumeration order; 0 when it is none of them (a label, a control of another window), so that
// a mis-drop never repeats the ordinal of an earlier control. The walk stops at the target.
std::int32_t EditOrdinalOf(WindowHandle target, WindowHandle practiceWindow, WindowQuery& windows);

// The identity text of `window` in `form`: its Edit ordinal below `practiceWindow`, or its
// control id ("0" for a handle that is no window).
std::wstring ControlIdentityOf(WindowHandle window, IdentityForm form, WindowHandle practiceWindow,
                               WindowQuery& windows);

// The Edit ordinals of one whole walk in a single pass. The harvest walks the practice
// window once; counting each candidate again from the start would cost a walk per control.
// Fed every window of the walk in walk order, it gives each window the ordinal that
// EditOrdinalOf would give it, as long as the tree does not change during the walk.
class EditOrdinalCounter {
 public:
  // The ordinal of the next window of the walk: from 1 for an "Edit" window, 0 for any other.
  std::int32_t Next(const std::string& className);

 private:
  std::int32_t seen_ = 0;
};

}  // namespace corvane
