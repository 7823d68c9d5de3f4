#include "reader/patient_record.h"

#include <cassert>

namespace corvane {

PatientRecord::Slot& PatientRecord::SlotOf(Field field) {
  const int entry = EntryOf(field);
  assert(entry >= 1 && entry <= kFieldCount);
  return slots_[static_cast<std::size_t>(entry - 1)];
}

const PatientRecord::Slot& PatientRecord::SlotOf(Field field) const {
  return const_cast<PatientRecord*>(this)->SlotOf(field);
}

const std::wstring& PatientRecord::Value(Field field) const { return SlotOf(field).value; }

void PatientRecord::BeginHarvest() {
  // The harvest before this one found no practice window or was abandoned: what was typed
  // for the patient then on screen no longer belongs to anyone.
  if (!harvestCompleted_) ForgetTyped();
  harvestCompleted_ = foundAnotherPatient_ = false;
  ++currentHarvest_;
}

void PatientRecord::RestartHarvest() { ++currentHarvest_; }

void PatientRecord::CompleteHarvest() {
  const PatientKey patient = CurrentPatient();
  foundAnotherPatient_ = patient != patientOnScreen_;
  if (foundAnotherPatient_) ForgetTyped();
  patientOnScreen_ = patient;
  harvestCompleted_ = true;
}

PatientRecord::PatientKey PatientRecord::CurrentPatient() const {
  auto read = [this](Field f) {
    const Slot& slot = SlotOf(f);
    return slot.origin == Origin::Harvested && slot.harvest == currentHarvest_ ? slot.value : std::wstring();
  };
  return {read(Field::NumDossier), read(Field::Nom), read(Field::Prenom), read(Field::DateNaissance)};
}

void PatientRecord::ForgetTyped() {
  for (Slot& slot : slots_) {
    if (slot.origin == Origin::Typed) slot.origin = Origin::None;
  }
}

void PatientRecord::EndScreenShowing() { ForgetTyped(); }

void PatientRecord::StoreHarvested(Field field, std::wstring value) {
  Slot& slot = SlotOf(field);
  slot.value = std::move(value);
  slot.origin = Origin::Harvested;
  slot.harvest = currentHarvest_;
}

void PatientRecord::StoreTyped(Field field, std::wstring value) {
  Slot& slot = SlotOf(field);
  if (slot.value == value) return;  // the screen echoing what it was told is not typing
  slot.value = std::move(value);
  // Typed while no patient is on screen (the last harvest found none): it is for nobody.
  slot.origin = harvestCompleted_ ? Origin::Typed : Origin::None;
}

void PatientRecord::Clear(Field field) {
  Slot& slot = SlotOf(field);
  slot.value.clear();
  slot.origin = Origin::None;
}

bool PatientRecord::IsCurrent(Field field) const {
  const Slot& slot = SlotOf(field);
  if (slot.origin == Origin::Typed) return harvestCompleted_;
  return slot.origin == Origin::Harvested && slot.harvest == currentHarvest_;
}

HandOffValues PatientRecord::ValuesToHandOff() const {
  auto current = [this](Field f) { return IsCurrent(f) ? Value(f) : std::wstring(); };
  return {current(Field::Nom), current(Field::Prenom), current(Field::DateNaissance), current(Field::NumDossier),
          current(Field::NumSS)};
}

void PatientRecord::ClearAll() {
  for (Slot& slot : slots_) slot = Slot{};
}

}  // namespace corvane
