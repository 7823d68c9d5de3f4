// A patient who has left the practice program's screen is never handed off, end to end: the
// real program, real clicks and typing, the plain stand-in practice program and the stand-in
// X-ray program, which records the hand-off file at each of its starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "handoff/handoff_records.h"
#include "platform/text.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using screen_id::FieldBox;

// Patient A is the demo patient of the bench (file 1207); patient B is file 1300, Martin,
// with a social-security number of his own (the stand-in takes the last value of a key),
// shown without its social-security control.
const std::string kPatientBWithoutNumSS =
    PatientFile("1300", "Martin") + "NumSS=1 90 11 13 055 001 23\r\nDropNumSS=1\r\n";
const HandOffValues kHandOffA{L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"};
const HandOffValues kHandOffBWithoutNumSS{L"MARTIN", L"HELENE", L"14/03/1985", L"1300", L""};

// Both hand-off files are equal and begin with the N record of these values (the A record
// carries the time).
void ExpectNRecord(const HandOffValues& values) {
  const std::string handOff = ReadBytes(kSiomin);
  const std::string n = BuildNRecord(values, PortableText());
  EXPECT_EQ(handOff.substr(0, n.size()), n);
  EXPECT_EQ(ReadBytes(kSiomin2), handOff);
}

using StalePatientE2e = LinkTest;

// Patient A was handed off, then the practice program was closed: a click finds no patient,
// says the first name is missing, leaves A in the files and starts nothing, while the screen
// still shows A. The practice program comes back on patient B without its social-security
// control: LANCER hands B off with an empty social-security field, never with A's number
// that the screen still shows (showing is no typing); a number typed there is handed off
// with B, and with nobody after B.
TEST_F(StalePatientE2e, PatientWhoLeftTheScreenIsNeverHandedOff) {
  StartLink();
  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStarts(1));
  ExpectNRecord(kHandOffA);
  const std::string handOffA = ReadBytes(kSiomin);

  practice_.Kill();
  ASSERT_TRUE(testing::WaitUntil([] { return FindWindowA(standin::plain::kClass, nullptr) == nullptr; }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr) << "no message for a patient who is not on screen";
  EXPECT_EQ(testing::MessageBoxText(box), L"Il manque le prénom ou l'Application.");
  EXPECT_EQ(testing::WindowCaption(box), L"Tarnwick");
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr) << "OK only";
  Screenshot("e2e-stale-patient-message");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_EQ(ReadBytes(kSiomin), handOffA);
  EXPECT_EQ(ReadBytes(kSiomin2), handOffA);
  EXPECT_TRUE(link_.IsRunning());
  EXPECT_TRUE(LauncherVisible());
  HWND screen = OpenScreen({"shift"});
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumDossier)), L"1207");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");

  testing::WriteBytes(kPatientFile, kPatientBWithoutNumSS);
  DeleteFileW(kShownFile.c_str());
  ASSERT_TRUE(practice_.StartPractice(standin::Mode::Plain, kPatientFile));
  ASSERT_TRUE(testing::WaitUntil([] { return ReadBytes(kShownFile) == "1300"; }));
  HWND practice = FindWindowA(standin::plain::kClass, standin::plain::kTitle);
  ASSERT_NE(practice, nullptr);
  ASSERT_EQ(GetDlgItem(practice, standin::plain::kNumSSId), nullptr) << "the control is gone";
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(WaitForStarts(2));
  ExpectNRecord(kHandOffBWithoutNumSS);
  EXPECT_EQ(ReadBytes(kSiomin).find("285037512345678"), std::string::npos) << "A's number left";
  // One start for A, one for B: the refused click started nothing.
  EXPECT_EQ(ReadBytes(kStarts), Hex(handOffA) + "\r\n" + Hex(ReadBytes(kSiomin)) + "\r\n");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"MARTIN");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");

  ASSERT_TRUE(Press(screen, FieldBox(Field::NumSS)));
  ASSERT_TRUE(Xdotool("key End"));
  ASSERT_TRUE(Xdotool("key --repeat 20 BackSpace"));
  ASSERT_TRUE(Xdotool("type 199999999999999"));
  ASSERT_TRUE(testing::WaitUntil([&] { return ItemText(screen, FieldBox(Field::NumSS)) == L"199999999999999"; }));
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(WaitForStarts(3));
  HandOffValues typed = kHandOffBWithoutNumSS;
  typed.numSS = L"199999999999999";
  ExpectNRecord(typed);
  Screenshot("e2e-stale-patient-typed");

  // The practice program moves on to patient C, still without the control: the number typed
  // for B stays in its box but is not C's, so C goes with an empty social-security field.
  testing::WriteBytes(kPatientFile, PatientFile("1400", "Roux") + "DropNumSS=1\r\n");
  ASSERT_TRUE(testing::WaitUntil([] { return ReadBytes(kShownFile) == "1400"; }));
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(WaitForStarts(4));
  ExpectNRecord({L"ROUX", L"HELENE", L"14/03/1985", L"1400", L""});
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"199999999999999");
}

}  // namespace
}  // namespace corvane::e2e
