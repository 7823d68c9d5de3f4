// What the surname, first name, form of address and social-security number become on their
// way into the patient record.
#include "reader/normalise.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "reader/patient_record.h"

namespace corvane {
namespace {

constexpr int kCivilite = 4, kNom = 9, kNumSS = 11, kPrenom = 12;

TEST(NormaliseTest, EachFieldFollowsItsRule) {
  const PortableText text;
  const struct {
    int entry;
    std::wstring raw, stored;
  } cases[] = {
      // Civilite: what precedes the first TAB, untrimmed, case kept.
      {kCivilite, L"Mme\tMadame\tautre", L"Mme"},
      {kCivilite, L"\tM.", L""},
      {kCivilite, L" Mlle ", L" Mlle "},
      // Nom: upper-cased, accents kept.
      {kNom, L"Lefèvre", L"LEFÈVRE"},
      {kNom, L"Noël", L"NOËL"},
      {kNom, L"  d'Artagnan-Ça 2 ", L"  D'ARTAGNAN-ÇA 2 "},
      {kNom, L"Müller ñ ø é", L"MÜLLER Ñ Ø É"},
      // NumSS: loses its U+0020 spaces only.
      {kNumSS, L"2 68 05 75 123 456 78", L"268057512345678"},
      {kNumSS, L"   ", L""},
      {kNumSS, L"1\t2\u00A03", L"1\t2\u00A03"},
      // Prenom: the usual French accents folded, then upper-cased.
      {kPrenom, L"Noël", L"NOEL"},
      {kPrenom, L"Jean-Noël", L"JEAN-NOEL"},
      {kPrenom, L"Zoë", L"ZOE"},
      {kPrenom, L"Gaëlle", L"GAELLE"},
      {kPrenom, L"Françoise", L"FRANCOISE"},
      {kPrenom, L"Anaïs", L"ANAIS"},
      {kPrenom, L"Hélène Éloïse Où", L"HELENE ELOISE OU"},
      {kPrenom, L"àâä ç èêë îï ôö ûü ÿ", L"AAA C EEE II OO UU Y"},
      // Outside the folding: upper-cased with the accent; capitals other than É stay.
      {kPrenom, L"áñø", L"ÁÑØ"},
      {kPrenom, L"ÀÇ", L"ÀÇ"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseField(FieldOfEntry(c.entry), c.raw, text), c.stored) << "entry " << c.entry;

  // The other fields, and every field's empty text, stay as they are.
  const std::wstring raw = L" Zoë\t1 85 0 rue de l'Église ";
  for (int entry : {1, 2, 3, 5, 6, 7, 8, 10, 13, 14}) EXPECT_EQ(NormaliseField(FieldOfEntry(entry), raw, text), raw) << entry;
  for (int entry = 1; entry <= 14; ++entry) EXPECT_EQ(NormaliseField(FieldOfEntry(entry), L"", text), L"") << entry;
}

// On a system set to UTF-8 Windows fails every conversion given a flag or a default character
// (Wine accepts them, so only this test can see it); single-byte code pages keep no best fit.
TEST(AnsiConversionTest, FlagsAreTheOnesWindowsAcceptsForTheCodePage) {
  for (unsigned codePage : {65001u, 65000u, 54936u, 52936u, 50220u, 50229u, 57002u, 57011u, 42u}) {
    const AnsiConversion how = AnsiConversionFor(codePage);
    EXPECT_EQ(how.flags, 0u) << codePage;
    EXPECT_EQ(how.defaultChar, nullptr) << codePage;
  }
  for (unsigned codePage : {1252u, 1250u, 1251u, 437u, 850u, 932u, 936u, 50230u, 57001u, 57012u, 65002u}) {
    const AnsiConversion how = AnsiConversionFor(codePage);
    EXPECT_EQ(how.flags, kNoBestFitChars) << codePage;
    EXPECT_STREQ(how.defaultChar, "?") << codePage;
  }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// The portable code page is Windows-1252 as Windows has it: every byte comes back, 0x80-0x9F
// are Windows' letters (its five undefined bytes kept as C1 controls), and the small letters
// there and in Latin-1 have Windows' capitals. The native tests and the fuzzers rely on it.
TEST(PortableTextTest, IsWindows1252WithWindowsCapitals) {
  const PortableText text;
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(text.ToAnsi(text.FromAnsi(byte)), byte) << "byte " << b;
  }
  std::string high;
  for (int b = 0x80; b <= 0x9F; ++b) high += static_cast<char>(b);
  EXPECT_EQ(text.FromAnsi(high), L"€\x81‚ƒ„…†‡ˆ‰Š‹Œ\x8DŽ\x8F\x90‘’“”•–—˜™š›œ\x9DžŸ");
  EXPECT_EQ(text.ToAnsi(L"ŁĘ"), "??");
  const std::wstring lower = L"azàþÿšœžƒ÷ß", upper = L"AZÀÞŸŠŒŽƑ÷ß";
  for (std::size_t i = 0; i < lower.size(); ++i) EXPECT_EQ(text.ToUpper(lower[i]), upper[i]) << i;
}

}  // namespace
}  // namespace corvane
