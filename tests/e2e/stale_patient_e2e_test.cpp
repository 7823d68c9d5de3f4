// A patient who has left the practice program's screen is never handed off, end to end: real
// clicks and typing, the plain stand-in practice program, the stand-in X-ray program.
#include "handoff/handoff_records.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using screen_id::FieldBox;
using StalePatientE2e = LinkTest;

// Patient A (the demo patient) was handed off, then the practice program was closed: a click
// finds no patient, says the first name is missing, leaves A in the files and starts nothing,
// while the screen still shows A. The practice program comes back on patient B without its
// social-security control: LANCER hands B off with an empty number, never A's that the screen
// still shows; a number typed there is handed off with B, and not with C after B.
TEST_F(StalePatientE2e, PatientWhoLeftTheScreenIsNeverHandedOff) {
  const auto expectNRecord = [&](int starts, const HandOffValues& values) {
    ASSERT_TRUE(WaitUntil([&] { return Starts() >= starts; }));
    const std::string handOff = ReadBytes(kSiomin), n = BuildNRecord(values, PortableText());
    EXPECT_EQ(handOff.substr(0, n.size()), n);
    EXPECT_EQ(ReadBytes(kSiomin2), handOff);
  };
  StartLink();
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  const std::string handOffA = ReadBytes(kSiomin);
  practice_.Kill();
  ASSERT_TRUE(WaitUntil([] { return FindWindowA(standin::plain::kClass, nullptr) == nullptr; }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr) << "no message for a patient who is not on screen";
  EXPECT_EQ(MessageBoxText(box), L"Il manque le prénom ou l'Application.");
  EXPECT_EQ(WindowCaption(box), L"Tarnwick");
  Screenshot("e2e-stale-patient-message");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(ReadBytes(kSiomin) == handOffA && ReadBytes(kSiomin2) == handOffA);
  HWND screen = OpenScreen({"shift"});
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");

  ShowPatient(standin::PatientFile("1300", "Martin") + "NumSS=1 90 11 13 055 001 23\r\nDropNumSS=1\r\n");
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  HandOffValues b{L"MARTIN", L"HELENE", L"14/03/1985", L"1300", L""};
  expectNRecord(2, b);
  EXPECT_EQ(Starts(), 2) << "the refused click started nothing";
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"MARTIN");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");
  ASSERT_TRUE(Press(screen, FieldBox(Field::NumSS)));
  for (const char* keys : {"key End", "key --repeat 20 BackSpace", "type 199999999999999"}) ASSERT_TRUE(Xdotool(keys));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(screen, FieldBox(Field::NumSS)) == L"199999999999999"; }));
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  b.numSS = L"199999999999999";
  expectNRecord(3, b);
  Screenshot("e2e-stale-patient-typed");

  ShowPatient(standin::PatientFile("1400", "Roux") + "DropNumSS=1\r\n");
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  expectNRecord(4, {L"ROUX", L"HELENE", L"14/03/1985", L"1400", L""});
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"199999999999999");
}

}  // namespace
}  // namespace corvane::e2e
