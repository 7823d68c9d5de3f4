// What the surname, first name, form of address and social-security number become on their
// way into the patient record.
#include "reader/normalise.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace corvane {
namespace {

constexpr int kCivilite = 4, kNom = 9, kNumSS = 11, kPrenom = 12;

class NormaliseTest : public ::testing::Test {
 protected:
  std::wstring Of(int entry, const std::wstring& text) const { return NormaliseField(entry, text, text_); }
  PortableText text_;
};

TEST_F(NormaliseTest, FieldsWithoutARuleAndTheEmptyTextStayAsTheyAre) {
  const std::wstring raw = L" Zoë\t1 85 0 rue de l'Église ";
  for (int entry : {1, 2, 3, 5, 6, 7, 8, 10, 13, 14}) EXPECT_EQ(Of(entry, raw), raw) << "entry " << entry;
  for (int entry = 1; entry <= 14; ++entry) EXPECT_EQ(Of(entry, L""), L"") << "entry " << entry;
}

TEST_F(NormaliseTest, CiviliteKeepsWhatPrecedesTheFirstTab) {
  EXPECT_EQ(Of(kCivilite, L"Mme\tMadame\tautre"), L"Mme");
  EXPECT_EQ(Of(kCivilite, L"\t"), L"");
  EXPECT_EQ(Of(kCivilite, L"\tM."), L"");
  EXPECT_EQ(Of(kCivilite, L" Mlle "), L" Mlle ") << "no trimming, no case change";
}

TEST_F(NormaliseTest, NomIsUpperCasedWithItsAccents) {
  EXPECT_EQ(Of(kNom, L"Lefèvre"), L"LEFÈVRE");
  EXPECT_EQ(Of(kNom, L"Noël"), L"NOËL");
  EXPECT_EQ(Of(kNom, L"  d'Artagnan-Ça 2 "), L"  D'ARTAGNAN-ÇA 2 ");
  EXPECT_EQ(Of(kNom, L"Müller ñ ø é"), L"MÜLLER Ñ Ø É");
}

TEST_F(NormaliseTest, NumSSLosesOnlyItsSpaces) {
  EXPECT_EQ(Of(kNumSS, L"1 85 0"), L"1850");
  EXPECT_EQ(Of(kNumSS, L"2 68 05 75 123 456 78"), L"268057512345678");
  EXPECT_EQ(Of(kNumSS, L"   "), L"");
  EXPECT_EQ(Of(kNumSS, L"1\t2\u00A03"), L"1\t2\u00A03") << "tabs and non-breaking spaces stay";
}

TEST_F(NormaliseTest, PrenomIsFoldedThenUpperCased) {
  EXPECT_EQ(Of(kPrenom, L"Françoise"), L"FRANCOISE");
  EXPECT_EQ(Of(kPrenom, L"Anaïs"), L"ANAIS");
  EXPECT_EQ(Of(kPrenom, L"Zoë"), L"ZOE");
  EXPECT_EQ(Of(kPrenom, L"Noël"), L"NOEL");
  EXPECT_EQ(Of(kPrenom, L"Gaëlle"), L"GAELLE");
  EXPECT_EQ(Of(kPrenom, L"Jean-Noël"), L"JEAN-NOEL");
  EXPECT_EQ(Of(kPrenom, L"àâä ç èêë îï ôö ûü ÿ"), L"AAA C EEE II OO UU Y");
  // The accents most often met, which the folding also turns into plain capitals.
  EXPECT_EQ(Of(kPrenom, L"Hélène"), L"HELENE");
  EXPECT_EQ(Of(kPrenom, L"Éloïse"), L"ELOISE");
  EXPECT_EQ(Of(kPrenom, L"Où"), L"OU");
  // Outside the table: upper-cased, accent kept; capitals other than É are not folded.
  EXPECT_EQ(Of(kPrenom, L"áñø"), L"ÁÑØ");
  EXPECT_EQ(Of(kPrenom, L"ÀÇ"), L"ÀÇ");
  EXPECT_EQ(Of(kPrenom, L"Anne-Marie 2"), L"ANNE-MARIE 2");
}

}  // namespace
}  // namespace corvane
