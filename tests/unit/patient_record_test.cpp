#include "reader/patient_record.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvane {
namespace {

// A harvest that found the practice window showing this patient (no social-security control).
void Harvest(PatientRecord& record, const wchar_t* numDossier, const wchar_t* nom = L"DURAND",
             const wchar_t* prenom = L"ANNE", const wchar_t* dateNaissance = L"12/03/1961") {
  record.BeginHarvest();
  for (const auto& [field, value] : {std::pair{Field::NumDossier, numDossier}, {Field::Nom, nom},
                                     {Field::Prenom, prenom}, {Field::DateNaissance, dateNaissance}})
    record.StoreHarvested(field, value);
  record.CompleteHarvest();
}

// A social-security number typed for patient 4711, then one event: does it still count?
TEST(PatientRecord, ATypedValueCountsOnlyForItsPatientWhileTheScreenShows) {
  const std::pair<std::function<void(PatientRecord&)>, const wchar_t*> cases[] = {
      {[](PatientRecord& r) { Harvest(r, L"4711"), Harvest(r, L"4711"); }, L"999999999999999"},
      {[](PatientRecord& r) { Harvest(r, L"4800"); }, L""},
      {[](PatientRecord& r) { Harvest(r, L"4711", L"MARTIN"); }, L""},
      {[](PatientRecord& r) { Harvest(r, L"4711", L"DURAND", L"LUC"); }, L""},
      {[](PatientRecord& r) { Harvest(r, L"4711", L"DURAND", L"ANNE", L"01/01/1970"); }, L""},
      {[](PatientRecord& r) { r.BeginHarvest(); }, L""},  // no practice window found
      {[](PatientRecord& r) { r.BeginHarvest(), Harvest(r, L"4711"); }, L""},
      {[](PatientRecord& r) { r.EndScreenShowing(), Harvest(r, L"4711"); }, L""},  // the screen hidden
      {[](PatientRecord& r) { r.Clear(Field::NumSS); }, L""},
      {[](PatientRecord& r) { r.BeginHarvest(), r.StoreHarvested(Field::NumSS, L"1"), r.CompleteHarvest(); }, L"1"},
  };
  for (const auto& [then, handedOff] : cases) {
    PatientRecord record;
    Harvest(record, L"4711");
    record.StoreTyped(Field::NumSS, L"999999999999999");
    then(record);
    EXPECT_EQ(record.ValuesToHandOff().numSS, handedOff) << &then - &cases[0].first;
  }
  // Typed while no patient is on screen: it is for nobody, whoever shows next. The box shows it.
  PatientRecord record;
  record.BeginHarvest();
  record.StoreTyped(Field::Prenom, L"ANNE");
  Harvest(record, L"4711", L"DURAND", L"");
  EXPECT_EQ(record.ValuesToHandOff(), (HandOffValues{L"DURAND", L"", L"12/03/1961", L"4711", L""}));
  // The screen echoing the harvested value is not typing: the next harvest's reading decides.
  record.StoreHarvested(Field::NumSS, L"123456789012345");
  record.StoreTyped(Field::NumSS, L"123456789012345");
  Harvest(record, L"4711", L"DURAND", L"");
  EXPECT_EQ(record.ValuesToHandOff().numSS + record.Value(Field::NumSS), L"123456789012345");
  record.temp = L"lu", record.application = L"WinDevObject";
  record.ResetToDesignTime();
  EXPECT_EQ(record.Value(Field::Nom) + record.temp + record.application, L"Valeurs pour lecture");
}

}  // namespace
}  // namespace corvane
