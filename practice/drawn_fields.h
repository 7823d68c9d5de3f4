#pragma once
// Fields that a practice program draws itself (no window of their own: a toolkit that paints
// its controls, a page in a browser), reached through the accessibility interface.
//
// A link settings entry names such a field by the form "acc:ROLE:OCCURRENCE:NAME": the
// object's role number, its position from 1 among the objects of that role and name of the
// practice window's drawn tree, and its name, the rest of the entry (":" allowed). The prefix
// has letters, so no entry in this form is ever read as a control id or an Edit ordinal.
// Example: "acc:42:1:N° dossier".
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/accessibility.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "platform/window_query.h"

namespace corvane {

inline constexpr wchar_t kDrawnFieldPrefix[] = L"acc:";

struct DrawnField {
  std::int32_t role = 0;
  std::int32_t occurrence = 1;
  std::wstring name;
  friend bool operator==(const DrawnField&, const DrawnField&) = default;
};

// The field an entry names in the drawn form; none for an entry in any other form or one that
// does not follow it (a hand-edited file): such a field is taken as not configured.
std::optional<DrawnField> DrawnFieldOf(const std::wstring& entry);
std::wstring DrawnFieldEntry(const DrawnField& field);

// The practice window's drawn tree: the objects the practice window and then each of its
// descendants, in walk order, draw themselves, each window's depth first. Throws
// PracticeNotAnswering() when one of them does not give its objects in time.
std::vector<AccessibleObject> DrawnObjectsOf(WindowHandle practiceWindow, WindowQuery& windows,
                                             AccessibilityQuery& accessibility);

// The object the field names in `objects`; none when the tree has no such occurrence.
const AccessibleObject* FindDrawnField(const std::vector<AccessibleObject>& objects, const DrawnField& field);

// The identity by which the harvest will find `object` among `objects`, the practice window's
// drawn tree. Throws LinkError (kDrawnFieldRefused) for an identity that could follow the
// patient or name another object: a name that is empty, that is or holds the value shown,
// that another object of the same role bears, or that the settings file cannot keep.
DrawnField IdentifyDrawnField(const AccessibleObject& object, const std::vector<AccessibleObject>& objects,
                              const TextPlatform& text);

}  // namespace corvane
