#pragma once
// The accessibility query through Active Accessibility: the IAccessible tree with which a window
// answers WM_GETOBJECT, read from another process through COM.
#include <windows.h>

#include "platform/accessibility.h"

namespace corvane {

// The whole read, from WM_GETOBJECT to the last object, is bounded by kTextReadTimeout; the walk runs
// on a thread of its own, left behind when the other program keeps it past that.
class Win32Accessibility : public AccessibilityQuery {
 public:
  AccessibleRead ObjectsOf(WindowHandle window) override;
};

}  // namespace corvane
