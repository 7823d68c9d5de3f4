#include "reader/patient_record.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(PatientRecord, HandsOffOnlyWhatTheLastHarvestReadOrTheUserTyped) {
  PatientRecord record;
  record.BeginHarvest();
  record.StoreHarvested(Field::Nom, L"DURAND");
  record.StoreHarvested(Field::Prenom, L"ANNE");
  record.StoreHarvested(Field::NumSS, L"123456789012345");
  EXPECT_EQ(record.ValuesToHandOff(), (HandOffValues{L"DURAND", L"ANNE", L"", L"", L"123456789012345"}));

  // The next harvest finds the names but not the social-security control.
  record.BeginHarvest();
  record.StoreHarvested(Field::Nom, L"MARTIN");
  record.StoreHarvested(Field::Prenom, L"LUC");
  EXPECT_EQ(record.ValuesToHandOff(), (HandOffValues{L"MARTIN", L"LUC", L"", L"", L""}));
  EXPECT_EQ(record.Value(Field::NumSS), L"123456789012345");  // still shown

  // Typed on the screen: handed off until a harvest finds the control again.
  record.StoreTyped(Field::NumSS, L"999999999999999");
  record.BeginHarvest();
  EXPECT_EQ(record.ValuesToHandOff().numSS, L"999999999999999");
  EXPECT_EQ(record.ValuesToHandOff().nom, L"");
  record.StoreHarvested(Field::NumSS, L"111111111111111");
  EXPECT_EQ(record.ValuesToHandOff().numSS, L"111111111111111");
}

TEST(PatientRecord, EchoOfTheSameTextIsNotTyping) {
  PatientRecord record;
  record.BeginHarvest();
  record.StoreHarvested(Field::Prenom, L"ANNE");
  record.StoreTyped(Field::Prenom, L"ANNE");
  record.BeginHarvest();
  EXPECT_EQ(record.ValuesToHandOff().prenom, L"");
}

}  // namespace
}  // namespace corvane
