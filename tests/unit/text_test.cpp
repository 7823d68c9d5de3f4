// The code page, the field rules on the way into the patient record, and the field rules of
// the hand-off records.
#include <gtest/gtest.h>

#include "handoff/handoff_records.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "reader/harvest.h"
#include "reader/normalise.h"

namespace corvane {
namespace {

// Windows-1252 as Windows has it: every byte comes back, 0x80-0x9F are Windows' letters (its
// five undefined bytes kept as C1 controls), and the small letters have Windows' capitals.
TEST(PortableText, IsWindows1252WithWindowsCapitals) {
  const PortableText text;
  for (int b = 0; b < 256; ++b) EXPECT_EQ(text.ToAnsi(text.FromAnsi(std::string(1, char(b)))), std::string(1, char(b)));
  std::string high;
  for (int b = 0x80; b <= 0x9F; ++b) high += static_cast<char>(b);
  EXPECT_EQ(text.FromAnsi(high), L"€\x81‚ƒ„…†‡ˆ‰Š‹Œ\x8DŽ\x8F\x90‘’“”•–—˜™š›œ\x9DžŸ");
  EXPECT_EQ(text.ToAnsi(L"€ŒœŠ\x81ŁĘ\x100"), "\x80\x8C\x9C\x8A\x81???");
  const std::wstring lower = L"azàþÿšœžƒ÷ß`{", upper = L"AZÀÞŸŠŒŽƑ÷ß`{";
  for (std::size_t i = 0; i < lower.size(); ++i) EXPECT_EQ(text.ToUpper(lower[i]), upper[i]) << i;
}

// On a system set to UTF-8 Windows fails every conversion given a flag or a default character;
// single-byte code pages keep no best fit.
TEST(PortableText, AnsiConversionFlagsAreTheOnesWindowsAcceptsForTheCodePage) {
  for (unsigned codePage : {65001u, 65000u, 54936u, 52936u, 50220u, 50229u, 57002u, 57011u, 42u})
    EXPECT_EQ(AnsiConversionFor(codePage).defaultChar, nullptr) << codePage;
  for (unsigned codePage : {1252u, 41u, 43u, 50219u, 50230u, 52935u, 52937u, 54935u, 54937u, 57001u, 57012u, 64999u,
                            65002u}) {
    EXPECT_EQ(AnsiConversionFor(codePage).flags, kNoBestFitChars) << codePage;
    EXPECT_STREQ(AnsiConversionFor(codePage).defaultChar, "?") << codePage;
  }
}

TEST(FieldRules, EachPatientFieldFollowsItsRule) {
  const PortableText text;
  const struct {
    Field field;
    std::wstring raw, stored;
  } cases[] = {
      {Field::Civilite, L"Mme\tMadame\tautre", L"Mme"},  // what precedes the first TAB, untrimmed
      {Field::Civilite, L" Mlle ", L" Mlle "},
      {Field::Nom, L"  d'Artagnan-Ça é ", L"  D'ARTAGNAN-ÇA É "},  // upper-cased, accents kept
      {Field::NumSS, L"2 68 05\t75\u00A0123", L"26805\t75\u00A0123"},  // loses its U+0020 spaces only
      {Field::Prenom, L"Hélène Éloïse Où", L"HELENE ELOISE OU"},      // the French accents folded
      {Field::Prenom, L"àâä ç èêë îï ôö ûü ÿ", L"AAA C EEE II OO UU Y"},
      {Field::Prenom, L"áñøÀÇ", L"ÁÑØÀÇ"},  // outside the folding: upper-cased, capitals stay
      {Field::Ville, L" Zoë\t1 rue ", L" Zoë\t1 rue "},
      {Field::Adresse1, L" Zoë\t1 rue ", L" Zoë\t1 rue "},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseField(c.field, c.raw, text), c.stored) << c.raw;
}

TEST(FieldRules, OnlyDecimalIntegersWithin32BitsNameAControl) {
  EXPECT_EQ(EntryIdentity(L"1001"), 1001);
  EXPECT_EQ(EntryIdentity(L" +7 "), 7);
  EXPECT_EQ(EntryIdentity(L"-12"), -12);
  EXPECT_EQ(EntryIdentity(L"2147483647"), 2147483647);
  for (const wchar_t* entry : {L"", L" ", L"2147483648", L"12a", L"1 2", L"1-", L"--5", L"-", L"100\t", L"/", L":"})
    EXPECT_EQ(EntryIdentity(entry), 0) << entry;
}

TEST(RecordFields, FirstNameIsCutToTheRoomTheFileNumberLeavesThenTrimmed) {
  const std::wstring number31(31, L'9');
  const struct {
    std::wstring prenom, numDossier, expected;
  } cases[] = {
      {L" Lucie ", L"1207", L"Lucie_1207"},
      // Room 27 for "_1207": the cut keeps 27 characters, then the spaces it ends on go.
      {L"Marie-Christine Anne-Sophi  Elisabeth", L"1207", L"Marie-Christine Anne-Sophi_1207"},
      {std::wstring(30, L' ') + L"Lucie", L"1", L"_1"},  // leading spaces take room before the trim
      {L"\tLu\r\ncie\u00A0\x1F", L"1\n", L"Lu  cie\u00A0_1 "},  // control characters are spaces
      {std::wstring(40, L'x'), L"", std::wstring(31, L'x') + L"_"},
      {L"Lucie", number31, L"_" + number31},  // a 31-character file number leaves no room
  };
  for (const auto& c : cases) EXPECT_EQ(NameField(c.prenom, c.numDossier), c.expected) << c.prenom;
  EXPECT_NO_THROW(CheckFileNumber(number31));
  EXPECT_THROW(CheckFileNumber(number31 + L"9"), LinkError);
  EXPECT_EQ(WrittenNumSS(L" 23456789012345"), L" 23456789012345");
  EXPECT_EQ(WrittenNumSS(L"12345678901234"), L"");
  EXPECT_TRUE(IsFirstNameMissing(L" \r\n\t "));
  EXPECT_FALSE(IsFirstNameMissing(L" x "));
}

}  // namespace
}  // namespace corvane
