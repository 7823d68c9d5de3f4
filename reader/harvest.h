#pragma once
// The field harvest: one walk over the practice window's descendants that reads the
// configured controls into the patient record.
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "platform/link_error.h"
#include "platform/text.h"
#include "platform/window_query.h"
#include "practice/control_identity.h"
#include "practice/control_text.h"
#include "practice/drawn_fields.h"
#include "practice/practice_window.h"
#include "reader/patient_record.h"
#include "settings/link_settings.h"

namespace corvane {

// The identity a link settings entry (1 to 14) names, as a 32-bit signed integer. 0, which
// never matches a control, for an empty entry and also for an entry that is not a decimal
// integer within 32 bits (a hand-edited file): such a field is taken as not configured
// rather than guessed at. Spaces around the number and a leading + or - are accepted.
std::int32_t EntryIdentity(const std::wstring& entry);

// Where one harvest read each field of the record, by entry number - 1: its window, or the
// practice window's drawn field; neither for a field it did not read.
struct HarvestSources {
  std::array<WindowHandle, kFieldCount> windows{};
  std::array<std::optional<DrawnField>, kFieldCount> drawn{};
  WindowHandle practice;
};

// What one walk needs and what it leaves. Built at the start of a walk: the entries are read
// once from the settings, the mode from the practice window's class.
class HarvestWalk {
 public:
  HarvestWalk(const LinkSettings& settings, PracticeWindow& practice, PatientRecord& patient, WindowQuery& windows,
              const TextPlatform& text);

  PracticeWindow& practice;  // its lastTextRead receives each text read
  PatientRecord& patient;
  WindowQuery& windows;
  const TextPlatform& text;
  const ReadingMode mode;
  std::array<std::int32_t, kFieldCount> identities{};  // of entries 1 to 14
  std::int32_t highestIdentity = 0;                    // of the 14
  std::array<std::optional<DrawnField>, kFieldCount> drawn{};  // entries naming drawn fields
  EditOrdinalCounter ordinals;
  HarvestSources sources{};  // where each field was last read from
  // The failure that ended the walk early (the practice program stopped answering), if any.
  std::exception_ptr failure;
};

// The walk's callback, for one descendant: works out its identity and, when an entry names
// it and it passes the class filters of the reading mode, reads its text (the practice
// window's last text read) and stores it into every field whose entry names that identity.
// Returns true to go on; false when the walk can end: no later window can feed a field
// (WinDev, past the highest ordinal named), or the walk must be abandoned, with the reason in
// walk.failure (no exception leaves it: it runs inside the system's enumeration).
bool HarvestChildProc(WindowHandle window, HarvestWalk& walk) noexcept;

// The failure raised when the practice program showed another patient while it was read,
// twice in a row: nothing of that reading may be handed off.
LinkError PatientChangedDuringReading();

// Walks every descendant of the practice window found (`practice.handle`, read in the mode its
// class gives) with HarvestChildProc, then, when an entry names a drawn field, the practice
// window's drawn tree, storing into `patient` the fields that `settings` configures; returns
// where each field was read. Throws LinkError when the practice program stops answering: the
// walk stops there, fields stored before stay.
HarvestSources HarvestPracticeWindow(PracticeWindow& practice, const LinkSettings& settings, PatientRecord& patient,
                                     WindowQuery& windows, AccessibilityQuery& accessibility,
                                     const TextPlatform& text);

// Reads once more the fields that are handed off (file number, name, first name, date of
// birth, social-security number) from where the walk read them: true when each still shows
// what the record holds, so that the record is one patient's and not two mixed by a change of
// patient between two reads (a drawn field gone counts as changed). Throws LinkError as a
// harvest does.
bool HandedOffFieldsUnchanged(const HarvestSources& sources, const PatientRecord& patient, WindowQuery& windows,
                              AccessibilityQuery& accessibility, const TextPlatform& text);

}  // namespace corvane
