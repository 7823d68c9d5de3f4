// The code page, the field rules on the way into the patient record, and the first name's cut.
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
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(text.ToAnsi(text.FromAnsi(all)), all);
  EXPECT_EQ(text.FromAnsi(all.substr(0x80, 32)), L"€\x81‚ƒ„…†‡ˆ‰Š‹Œ\x8DŽ\x8F\x90‘’“”•–—˜™š›œ\x9DžŸ");
  EXPECT_EQ(text.ToAnsi(L"€ŒœŠ\x81ŁĘ\x100"), "\x80\x8C\x9C\x8A\x81???");
  std::wstring upper;
  for (wchar_t c : std::wstring(L"azàþÿšœžƒ÷ß`{")) upper += text.ToUpper(c);
  EXPECT_EQ(upper, L"AZÀÞŸŠŒŽƑ÷ß`{");
  // On a system set to UTF-8 Windows fails every conversion given a flag or a default character.
  for (unsigned codePage : {65001u, 65000u, 54936u, 52936u, 50220u, 50229u, 57002u, 57011u, 42u})
    EXPECT_EQ(AnsiConversionFor(codePage).defaultChar, nullptr) << codePage;
  for (unsigned codePage : {1252u, 41u, 43u, 50219u, 50230u, 52935u, 52937u, 54935u, 54937u, 57001u, 57012u, 64999u,
                            65002u})
    EXPECT_EQ(AnsiConversionFor(codePage).flags + AnsiConversionFor(codePage).defaultChar[0], kNoBestFitChars + '?');
}

TEST(FieldRules, EachFieldFollowsItsRuleAndOnlyDecimalIntegersNameAControl) {
  const std::tuple<Field, std::wstring, std::wstring> cases[] = {
      {Field::Civilite, L" Mme\tMadame\tautre", L" Mme"},                // what precedes the first TAB
      {Field::Nom, L"  d'Artagnan-Ça é ", L"  D'ARTAGNAN-ÇA É "},        // upper-cased, accents kept
      {Field::NumSS, L"2 68 05\t75\u00A0123", L"26805\t75\u00A0123"},    // loses its U+0020 spaces only
      {Field::Prenom, L"Hélène Éloïse Où àâä ç èêë îï ôö ûü ÿ", L"HELENE ELOISE OU AAA C EEE II OO UU Y"},
      {Field::Prenom, L"áñøÀÇ", L"ÁÑØÀÇ"},  // outside the folding: upper-cased, capitals stay
      {Field::Ville, L" Zoë\t1 rue ", L" Zoë\t1 rue "},
  };
  for (const auto& [field, raw, stored] : cases) EXPECT_EQ(NormaliseField(field, raw, PortableText()), stored);
  EXPECT_EQ(EntryIdentity(L" +7 ") + EntryIdentity(L"-12"), -5);
  EXPECT_EQ(EntryIdentity(L"2147483647"), 2147483647);
  for (const wchar_t* entry : {L"", L" ", L"2147483648", L"12a", L"1 2", L"1-", L"--5", L"-", L"100\t", L"/", L":"})
    EXPECT_EQ(EntryIdentity(entry), 0) << entry;
}

TEST(FieldRules, FirstNameIsCutToTheRoomTheFileNumberLeavesThenTrimmed) {
  const std::wstring number31(31, L'9');
  const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {
      {L" Lucie ", L"1207", L"Lucie_1207"},
      // Room 27 for "_1207": the cut keeps 27 characters, then the spaces it ends on go.
      {L"Marie-Christine Anne-Sophi  Elisabeth", L"1207", L"Marie-Christine Anne-Sophi_1207"},
      {std::wstring(30, L' ') + L"Lucie", L"1", L"_1"},  // leading spaces take room before the trim
      {L"\tLu\r\ncie\u00A0\x1F", L"1\n", L"Lu  cie\u00A0_1 "},  // control characters are spaces
      {L"Lucie", number31, L"_" + number31},  // a 31-character file number leaves no room
  };
  for (const auto& [prenom, numDossier, expected] : cases) EXPECT_EQ(NameField(prenom, numDossier), expected);
  EXPECT_NO_THROW(CheckFileNumber(number31));
}

}  // namespace
}  // namespace corvane
