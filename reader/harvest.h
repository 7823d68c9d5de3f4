#pragma once
// The field harvest: one walk over the practice window's descendants that reads the
// configured controls into the patient record.
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "finder/control_identity.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "platform/window_query.h"
#include "reader/patient_record.h"
#include "settings/link_settings.h"

namespace corvane {

// How the practice window's controls are told apart, chosen by its class (compared whole,
// case-sensitive): "JULIE" reads only controls of tab pages and dialogs, "WinDevObject" names
// controls by Edit ordinal, any other class (Visiodent's included) by control id.
enum class ReadingMode { Plain, Julie, WinDev };
ReadingMode ReadingModeOf(const std::wstring& practiceClass);

// The window whose text the harvest reads when `window`, of class `className`, feeds a field
// in `mode`: the window itself, or a combo box's first child; none for a window the harvest
// never reads (a label or a button, a WinDev window that is no Edit, a Julie control outside
// a tab page or a dialog).
std::optional<WindowHandle> TextSourceOf(WindowHandle window, const std::string& className, ReadingMode mode,
                                        WindowQuery& windows);

// What the field shows once the harvest reads it from `window` in `mode`: its text source's
// text under the field's rules, empty when the harvest never reads that window; `raw` receives
// the text as read. Throws LinkError when the window's program does not answer.
std::wstring FieldTextOf(WindowHandle window, Field field, ReadingMode mode, WindowQuery& windows,
                         const TextPlatform& text, std::wstring& raw);

// The identity a link settings entry (1 to 14) names, as a 32-bit signed integer. 0, which
// never matches a control, for an empty entry and also for an entry that is not a decimal
// integer within 32 bits (a hand-edited file): such a field is taken as not configured
// rather than guessed at. Spaces around the number and a leading + or - are accepted.
std::int32_t EntryIdentity(const std::wstring& entry);

// The window each field of the record was read from by one walk, by entry number - 1; none
// for a field the walk did not read.
using HarvestSources = std::array<WindowHandle, kFieldCount>;

// What one walk needs and what it leaves. Built at the start of a walk: the entries are read
// once from the settings, the mode from the practice window's class.
class HarvestWalk {
 public:
  HarvestWalk(const LinkSettings& settings, const std::wstring& practiceClass, PatientRecord& patient,
              WindowQuery& windows, const TextPlatform& text);

  PatientRecord& patient;
  WindowQuery& windows;
  const TextPlatform& text;
  const ReadingMode mode;
  std::array<std::int32_t, kFieldCount> identities{};  // of entries 1 to 14
  std::int32_t highestIdentity = 0;                    // of the 14
  EditOrdinalCounter ordinals;
  HarvestSources sources{};  // the window each field was last read from
  // The failure that ended the walk early (the practice program stopped answering), if any.
  std::exception_ptr failure;
};

// The walk's callback, for one descendant: works out its identity and, when an entry names
// it and it passes the class filters of the reading mode, reads its text into Temp and stores
// it into every field whose entry names that identity. Returns true to go on; false when the
// walk can end: no later window can feed a field (WinDev, past the highest ordinal named), or
// the walk must be abandoned, with the reason in walk.failure (no exception leaves it: it
// runs inside the system's enumeration).
bool HarvestChildProc(WindowHandle window, HarvestWalk& walk) noexcept;

// The window's text: the ANSI text cut at its first NUL (at most 254 bytes), a single space
// when the handle is no window. Throws PracticeNotAnswering() when the window's program does
// not answer in time.
std::wstring ReadWindowText(WindowHandle window, WindowQuery& windows, const TextPlatform& text);

// The failure raised when the practice program stops answering a text read: the command that
// was reading the patient is abandoned.
LinkError PracticeNotAnswering();

// The failure raised when the practice program showed another patient while it was read,
// twice in a row: nothing of that reading may be handed off.
LinkError PatientChangedDuringReading();

// Walks every descendant of `practice` with HarvestChildProc, storing into `patient` the
// fields that `settings` configures; returns where each field was read. Throws LinkError when
// the practice program stops answering: the walk stops there, fields stored before stay.
HarvestSources HarvestPracticeWindow(WindowHandle practice, const LinkSettings& settings,
                                     const std::wstring& practiceClass, PatientRecord& patient, WindowQuery& windows,
                                     const TextPlatform& text);

// Reads once more the fields that are handed off (file number, name, first name, date of
// birth, social-security number) from the windows the walk read them from: true when each
// still shows what the record holds, so that the record is one patient's and not two mixed
// by a change of patient between two reads. Throws LinkError as a harvest does.
bool HandedOffFieldsUnchanged(const HarvestSources& sources, const PatientRecord& patient, WindowQuery& windows,
                              const TextPlatform& text);

}  // namespace corvane
