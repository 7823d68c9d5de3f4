#pragma once
// The accessibility query through Active Accessibility: the IAccessible tree with which a window
// answers WM_GETOBJECT, read from another process through COM.
#include <windows.h>

#include "platform/accessibility.h"

namespace corvane {

class Win32Accessibility : public AccessibilityQuery {
 public:
  AccessibleRead ObjectsOf(WindowHandle window) override;
};

}  // namespace corvane
