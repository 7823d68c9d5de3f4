#pragma once
// The WinDev harvest as it was first written: every edit window's ordinal counted again from
// the start, the way the finder counts the one control it drops on. The harvest now counts
// during its one walk; this is kept to measure against, and as the reference the finder and
// the harvest must agree with.
#include <array>
#include <cstdint>

#include "practice/control_identity.h"
#include "reader/harvest.h"
#include "reader/normalise.h"

namespace corvane::bench {

inline void HarvestCountingEachWindow(WindowHandle practice, const LinkSettings& settings, PatientRecord& patient,
                                      WindowQuery& windows, const TextPlatform& text) {
  std::array<std::int32_t, kFieldCount> identities{};
  for (int n = 1; n <= kFieldCount; ++n) identities[static_cast<std::size_t>(n - 1)] = EntryIdentity(settings.Entry(n));
  windows.EnumerateDescendants(practice, [&](WindowHandle window) {
    const std::string className = windows.ClassName(window);
    if (className.starts_with("STATIQUE") || className.starts_with("BOUTON") || windows.ClassName(window, 5) != "Edit")
      return true;
    const std::int32_t ordinal = EditOrdinalOf(window, practice, windows);
    const std::wstring value = ReadWindowText(window, windows, text);
    for (int n = 1; n <= kFieldCount; ++n) {
      const std::int32_t wanted = identities[static_cast<std::size_t>(n - 1)];
      if (wanted != 0 && wanted == ordinal)
        patient.StoreHarvested(FieldOfEntry(n), NormaliseField(FieldOfEntry(n), value, text));
    }
    return true;
  });
}

}  // namespace corvane::bench
