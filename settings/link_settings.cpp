#include "settings/link_settings.h"

#include <cassert>

namespace corvane {

const std::wstring& LinkSettings::Entry(int n) const {
  assert(n >= 1 && n <= kEntryCount);
  return entries_[static_cast<std::size_t>(n - 1)];
}

void LinkSettings::SetEntry(int n, std::wstring value) {
  assert(n >= 1 && n <= kEntryCount);
  entries_[static_cast<std::size_t>(n - 1)] = std::move(value);
}

}  // namespace corvane
