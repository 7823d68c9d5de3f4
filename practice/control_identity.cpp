#include "practice/control_identity.h"

namespace corvane {

IdentityForm IdentityFormOf(const std::wstring& practiceClass) {
  return practiceClass == kWinDevClass ? IdentityForm::EditOrdinal : IdentityForm::ControlId;
}

bool IsEditClass(const std::string& className) {
  const std::size_t first = className.find_first_not_of(' ');
  // Case-sensitive on purpose: "EDIT" or "edit" are other programs' classes, not WinDev's. A
  // class shorter than "Edit" after its leading spaces compares unequal.
  return first != std::string::npos && className.compare(first, 4, "Edit") == 0;
}

std::int32_t EditOrdinalOf(WindowHandle target, WindowHandle practiceWindow, WindowQuery& windows) {
  std::int32_t counted = 0;
  std::int32_t ordinal = 0;
  windows.EnumerateDescendants(practiceWindow, [&](WindowHandle child) {
    if (!IsEditClass(windows.ClassName(child, 256))) return true;
    ++counted;
    if (child != target) return true;
    ordinal = counted;
    return false;
  });
  return ordinal;
}

std::wstring ControlIdentityOf(WindowHandle window, IdentityForm form, WindowHandle practiceWindow,
                               WindowQuery& windows) {
  if (form == IdentityForm::EditOrdinal) return std::to_wstring(EditOrdinalOf(window, practiceWindow, windows));
  return std::to_wstring(windows.ControlId(window));
}



std::int32_t EditOrdinalCounter::Next(const std::string& className) {
  if (!IsEditClass(className)) return 0;
  return ++seen_;
}

}  // namespace corvane
