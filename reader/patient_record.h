#pragma once
// The patient record: the 14 fields read from the practice program or typed on the screen,
// and which of them may be handed off.
#include <array>
#include <cstdint>
#include <string>

#include "handoff/handoff_values.h"
#include "settings/fields.h"

namespace corvane {

// What may be handed off, field by field. A support person can follow it in four sentences:
//  - A field read from the practice program counts only if the harvest just before the
//    hand-off read it; a value left from an earlier harvest counts as empty (the screen still
//    shows it), so a patient who has left the practice program's screen is never handed off.
//  - A value typed on the screen counts only for the patient who was on screen when it was
//    typed, and only while that showing of the screen lasts. It stops counting (the box still
//    shows it) when the screen is hidden or closed, when a harvest finds no practice window or
//    is abandoned, and when a harvest finds another patient: the file number, name, first name
//    or date of birth read from the practice program differ from what was read when it was
//    typed.
//  - A harvest that reads the field's control replaces the typed value.
//  - With no practice window found, nothing counts: the first name is empty and the hand-off
//    is refused.
class PatientRecord {
 public:
  const std::wstring& Value(Field field) const;

  // A harvest starts: what earlier harvests stored stays shown but is no longer current.
  void BeginHarvest();
  // The harvest just begun starts its reading over: what it stored so far no longer counts,
  // typed values still do.
  void RestartHarvest();
  // The harvest just begun found the practice window and read it to the end: the patient on
  // screen is known, and typed values that were typed for another one stop counting.
  void CompleteHarvest();
  // True when the last harvest was completed and found another patient (file number, name,
  // first name or date of birth as read) than the completed harvest before it.
  bool FoundAnotherPatient() const { return foundAnotherPatient_; }
  // The harvest just begun read this value from the practice program.
  void StoreHarvested(Field field, std::wstring value);
  // The user typed this value into the field's box on the screen, for the patient on screen.
  void StoreTyped(Field field, std::wstring value);
  // The screen was hidden or closed: what was typed on it stops counting.
  void EndScreenShowing();
  // Empties a field (the screen's reset).
  void Clear(Field field);

  HandOffValues ValuesToHandOff() const;

  // Every field empty, none to hand off (the screen closed by its close box).
  void ClearAll();

 private:
  enum class Origin : std::uint8_t { None, Harvested, Typed };
  struct Slot {
    std::wstring value;
    Origin origin = Origin::None;
    std::uint64_t harvest = 0;  // which harvest stored it, when harvested
  };
  // Who the patient is, as the practice program shows them: file number, name, first name,
  // date of birth as the current harvest read them (empty when not read).
  using PatientKey = std::array<std::wstring, 4>;

  bool IsCurrent(Field field) const;
  PatientKey CurrentPatient() const;
  void ForgetTyped();
  Slot& SlotOf(Field field);
  const Slot& SlotOf(Field field) const;

  std::array<Slot, kFieldCount> slots_;
  std::uint64_t currentHarvest_ = 0;
  bool harvestCompleted_ = false;  // the current harvest found the practice window and ended
  PatientKey patientOnScreen_;     // as the last completed harvest read them
  bool foundAnotherPatient_ = false;
};

}  // namespace corvane
