#include "practice/drawn_fields.h"

#include <algorithm>

#include "practice/control_text.h"

namespace corvane {
namespace {

// The decimal number from `at` up to the next ':' (one to nine digits); `at` then follows it.
std::optional<std::int32_t> NumberAt(const std::wstring& entry, std::size_t& at) {
  const std::size_t colon = entry.find(L':', at);
  if (colon == std::wstring::npos || colon == at || colon - at > 9) return std::nullopt;
  std::int32_t number = 0;
  for (; at < colon; ++at) {
    if (entry[at] < L'0' || entry[at] > L'9') return std::nullopt;
    number = number * 10 + (entry[at] - L'0');
  }
  ++at;
  return number;
}

LinkError Refusal(const std::wstring& why) {
  return LinkError(why + L" Déposez la dent sur une autre case, ou laissez celle-ci sans paramétrage.",
                   error_number::kDrawnFieldRefused);
}

}  // namespace

std::optional<DrawnField> DrawnFieldOf(const std::wstring& entry) {
  if (!entry.starts_with(kDrawnFieldPrefix)) return std::nullopt;
  std::size_t at = std::char_traits<wchar_t>::length(kDrawnFieldPrefix);
  const std::optional<std::int32_t> role = NumberAt(entry, at);
  const std::optional<std::int32_t> occurrence = role ? NumberAt(entry, at) : std::nullopt;
  if (!occurrence || *occurrence == 0 || at == entry.size()) return std::nullopt;
  return DrawnField{*role, *occurrence, entry.substr(at)};
}

std::wstring DrawnFieldEntry(const DrawnField& field) {
  return kDrawnFieldPrefix + std::to_wstring(field.role) + L":" + std::to_wstring(field.occurrence) + L":" +
         field.name;
}

std::vector<AccessibleObject> DrawnObjectsOf(WindowHandle practiceWindow, WindowQuery& windows,
                                             AccessibilityQuery& accessibility) {
  std::vector<AccessibleObject> objects;
  bool answering = true;
  const auto add = [&](WindowHandle window) {
    AccessibleRead read = accessibility.ObjectsOf(window);
    answering = read.status != AccessibleRead::Status::NotAnswering;
    std::move(read.objects.begin(), read.objects.end(), std::back_inserter(objects));
    return answering;
  };
  if (add(practiceWindow)) windows.EnumerateDescendants(practiceWindow, add);
  if (!answering) throw PracticeNotAnswering();
  return objects;
}

const AccessibleObject* FindDrawnField(const std::vector<AccessibleObject>& objects, const DrawnField& field) {
  std::int32_t seen = 0;
  for (const AccessibleObject& object : objects) {
    if (object.role == field.role && object.name == field.name && ++seen == field.occurrence) return &object;
  }
  return nullptr;
}

DrawnField IdentifyDrawnField(const AccessibleObject& object, const std::vector<AccessibleObject>& objects,
                              const TextPlatform& text) {
  if (object.name.find_first_not_of(L' ') == std::wstring::npos) {
    throw Refusal(L"Cette case n'a pas de nom : elle ne pourrait pas être retrouvée.");
  }
  const std::size_t first = object.value.find_first_not_of(L' ');
  if (first != std::wstring::npos &&
      object.name.find(object.value.substr(first, object.value.find_last_not_of(L' ') + 1 - first)) !=
          std::wstring::npos) {
    throw Refusal(L"Le nom de cette case (« " + object.name +
                  L" ») contient ce qu'elle affiche : il changerait avec le patient.");
  }
  const auto same = [&](const AccessibleObject& other) {
    return other.role == object.role && other.name == object.name;
  };
  if (std::count_if(objects.begin(), objects.end(), same) != 1) {
    throw Refusal(L"Plusieurs cases de la fenêtre portent le nom « " + object.name +
                  L" » : celle à lire ne pourrait pas être reconnue.");
  }
  const bool oneLine = object.name.find_first_of(L"\r\n") == std::wstring::npos;
  if (!oneLine || text.FromAnsi(text.ToAnsi(object.name)) != object.name) {
    throw Refusal(L"Le nom de cette case ne peut pas être enregistré dans le paramétrage.");
  }
  return DrawnField{object.role, 1, object.name};
}

}  // namespace corvane
