#include "reader/harvest.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "reader/normalise.h"

namespace corvane {
namespace {

// Whether a link settings entry names `identity`; 0 never matches.
bool IsWanted(std::int32_t identity, const HarvestWalk& walk) {
  if (identity == 0) return false;
  return std::find(walk.identities.begin(), walk.identities.end(), identity) != walk.identities.end();
}

// The harvest's steps for one window; false when no later window of the walk can feed a
// field. Throws when the practice program stops answering. Every call reaches into the
// practice program, and a text read costs ten times a control id read: a window's class and
// text are asked only once its identity names a field. The order of the tests changes nothing
// in what is stored, only in what is asked.
bool HarvestOne(WindowHandle window, HarvestWalk& walk) {
  WindowQuery& windows = walk.windows;
  bool goOn = true;
  std::int32_t identity = 0;
  std::string className;
  if (walk.mode == ReadingMode::WinDev) {
    // Every window of the walk goes through the ordinal counter before any is skipped, so
    // that each edit window gets the position a count from the start would give it. One
    // class read serves both tests: the edit test's 5-byte read is the first 4 bytes of this
    // one, and "Edit" is ASCII, so the two agree on every class name.
    className = windows.ClassName(window);
    const std::int32_t ordinal = walk.ordinals.Next(className);
    // Ordinals only grow along the walk: past the highest one an entry names, no window can
    // feed a field, and the rest of the practice window need not be asked anything.
    goOn = ordinal < walk.highestIdentity;
    if (!IsWanted(ordinal, walk)) return goOn;
    identity = ordinal;
  } else {
    identity = windows.ControlId(window);
    if (!IsWanted(identity, walk)) return goOn;
    className = windows.ClassName(window);
  }
  const std::optional<WindowHandle> source = TextSourceOf(window, className, walk.mode, windows);
  if (!source) return goOn;

  PatientRecord& patient = walk.patient;
  std::wstring& read = walk.practice.lastTextRead;
  read = ReadWindowText(*source, windows, walk.text);

  for (int entry = 1; entry <= kFieldCount; ++entry) {
    if (walk.identities[static_cast<std::size_t>(entry - 1)] == identity) {
      const Field field = FieldOfEntry(entry);
      patient.StoreHarvested(field, NormaliseField(field, read, walk.text));
      walk.sources.windows[static_cast<std::size_t>(entry - 1)] = *source;
    }
  }
  return goOn;
}

}  // namespace

std::int32_t EntryIdentity(const std::wstring& entry) {
  const std::size_t first = entry.find_first_not_of(L' ');
  if (first == std::wstring::npos) return 0;
  const std::size_t last = entry.find_last_not_of(L' ');
  std::string digits;
  for (std::size_t i = first; i <= last; ++i) {
    const wchar_t c = entry[i];
    const bool sign = i == first && (c == L'-' || c == L'+');
    if (!sign && (c < L'0' || c > L'9')) return 0;
    digits += static_cast<char>(c);
  }
  if (digits[0] == '+') digits.erase(0, 1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return 0;
  return value;
}

HarvestWalk::HarvestWalk(const LinkSettings& settings, PracticeWindow& practice, PatientRecord& patient,
                         WindowQuery& windows, const TextPlatform& text)
    : practice(practice), patient(patient), windows(windows), text(text), mode(ReadingModeOf(practice.className)) {
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    identities[static_cast<std::size_t>(entry - 1)] = EntryIdentity(settings.Entry(entry));
    drawn[static_cast<std::size_t>(entry - 1)] = DrawnFieldOf(settings.Entry(entry));
  }
  highestIdentity = *std::max_element(identities.begin(), identities.end());
}

bool HarvestChildProc(WindowHandle window, HarvestWalk& walk) noexcept {
  try {
    return HarvestOne(window, walk);
  } catch (...) {
    walk.failure = std::current_exception();
    return false;
  }
}

LinkError PatientChangedDuringReading() {
  return LinkError(
      L"Le logiciel de gestion du cabinet a changé de patient pendant la lecture : rien n'a été transmis à "
      L"Sidexis. Vérifiez le patient affiché, puis cliquez de nouveau.",
      error_number::kPatientChangedDuringReading);
}

HarvestSources HarvestPracticeWindow(PracticeWindow& practice, const LinkSettings& settings, PatientRecord& patient,
                                     WindowQuery& windows, AccessibilityQuery& accessibility,
                                     const TextPlatform& text) {
  HarvestWalk walk(settings, practice, patient, windows, text);
  windows.EnumerateDescendants(practice.handle,
                               [&walk](WindowHandle window) { return HarvestChildProc(window, walk); });
  if (walk.failure) std::rethrow_exception(walk.failure);
  walk.sources.practice = practice.handle;
  if (std::none_of(walk.drawn.begin(), walk.drawn.end(), [](const auto& field) { return field.has_value(); })) {
    return walk.sources;
  }
  const std::vector<AccessibleObject> objects = DrawnObjectsOf(practice.handle, windows, accessibility);
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    const std::optional<DrawnField>& drawn = walk.drawn[static_cast<std::size_t>(entry - 1)];
    const AccessibleObject* object = drawn ? FindDrawnField(objects, *drawn) : nullptr;
    if (object == nullptr) continue;
    practice.lastTextRead = object->value;
    patient.StoreHarvested(FieldOfEntry(entry), NormaliseField(FieldOfEntry(entry), object->value, text));
    walk.sources.drawn[static_cast<std::size_t>(entry - 1)] = drawn;
  }
  return walk.sources;
}

bool HandedOffFieldsUnchanged(const HarvestSources& sources, const PatientRecord& patient, WindowQuery& windows,
                              AccessibilityQuery& accessibility, const TextPlatform& text) {
  std::optional<std::vector<AccessibleObject>> objects;  // read once, when a drawn field is handed off
  for (const Field field : {Field::NumDossier, Field::Nom, Field::Prenom, Field::DateNaissance, Field::NumSS}) {
    const std::size_t at = static_cast<std::size_t>(EntryOf(field) - 1);
    std::optional<std::wstring> read;
    if (sources.windows[at]) read = ReadWindowText(sources.windows[at], windows, text);
    if (sources.drawn[at]) {
      if (!objects) objects = DrawnObjectsOf(sources.practice, windows, accessibility);
      const AccessibleObject* object = FindDrawnField(*objects, *sources.drawn[at]);
      if (object == nullptr) return false;
      read = object->value;
    }
    if (read && NormaliseField(field, *read, text) != patient.Value(field)) return false;
  }
  return true;
}

}  // namespace corvane
