#include "reader/patient_record.h"

#include <gtest/gtest.h>

#include <functional>

namespace corvane {
namespace {

// A harvest that found the practice window showing this patient (no social-security control).
void Harvest(PatientRecord& record, const wchar_t* numDossier, const wchar_t* nom = L"DURAND",
             const wchar_t* prenom = L"ANNE", const wchar_t* dateNaissance = L"12/03/1961") {
  record.BeginHarvest();
  record.StoreHarvested(Field::NumDossier, numDossier);
  record.StoreHarvested(Field::Nom, nom);
  record.StoreHarvested(Field::Prenom, prenom);
  record.StoreHarvested(Field::DateNaissance, dateNaissance);
  record.CompleteHarvest();
}

// A social-security number typed for patient 4711, then one event: does it still count?
TEST(PatientRecord, ATypedValueCountsOnlyForItsPatientWhileTheScreenShows) {
  const struct {
    const char* what;
    std::function<void(PatientRecord&)> then;
    const wchar_t* handedOff;
  } cases[] = {
      {"the same patient, harvest after harvest", [](PatientRecord& r) { Harvest(r, L"4711"), Harvest(r, L"4711"); },
       L"999999999999999"},
      {"another file number", [](PatientRecord& r) { Harvest(r, L"4800"); }, L""},
      {"another name", [](PatientRecord& r) { Harvest(r, L"4711", L"MARTIN"); }, L""},
      {"another first name", [](PatientRecord& r) { Harvest(r, L"4711", L"DURAND", L"LUC"); }, L""},
      {"another date of birth", [](PatientRecord& r) { Harvest(r, L"4711", L"DURAND", L"ANNE", L"01/01/1970"); },
       L""},
      {"no practice window found", [](PatientRecord& r) { r.BeginHarvest(); }, L""},
      {"no practice window, then the same patient again",
       [](PatientRecord& r) { r.BeginHarvest(), Harvest(r, L"4711"); }, L""},
      {"the screen hidden", [](PatientRecord& r) { r.EndScreenShowing(), Harvest(r, L"4711"); }, L""},
      {"a harvest that reads the field", [](PatientRecord& r) {
         r.BeginHarvest(), r.StoreHarvested(Field::NumSS, L"111111111111111"), r.CompleteHarvest();
       }, L"111111111111111"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PatientRecord record;
    Harvest(record, L"4711");
    record.StoreTyped(Field::NumSS, L"999999999999999");
    c.then(record);
    EXPECT_EQ(record.ValuesToHandOff().numSS, c.handedOff);
    EXPECT_NE(record.Value(Field::NumSS), L"") << "the box keeps showing a value";
  }

  // Typed while no patient is on screen: it is for nobody, whoever shows next.
  PatientRecord record;
  record.BeginHarvest();
  record.StoreTyped(Field::Prenom, L"ANNE");
  EXPECT_EQ(record.ValuesToHandOff().prenom, L"");
  record.BeginHarvest();
  record.StoreHarvested(Field::NumDossier, L"4711");
  record.CompleteHarvest();
  EXPECT_EQ(record.ValuesToHandOff().prenom, L"");
}

TEST(PatientRecord, EchoOfTheSameTextIsNotTyping) {
  PatientRecord record;
  record.BeginHarvest();
  record.StoreHarvested(Field::NumSS, L"123456789012345");
  record.CompleteHarvest();
  record.StoreTyped(Field::NumSS, L"123456789012345");
  record.BeginHarvest();  // the same patient, without the control
  record.CompleteHarvest();
  EXPECT_EQ(record.ValuesToHandOff().numSS, L"");
}

}  // namespace
}  // namespace corvane
