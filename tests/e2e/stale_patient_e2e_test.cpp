// A patient who has left the practice program's screen is never handed off, end to end: the
// real program, real clicks and typing, the plain stand-in practice program and the stand-in
// X-ray program, which records the hand-off file at each of its starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handoff/handoff_records.h"
#include "platform/text.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using screen_id::FieldBox;

const wchar_t kShortMissingFirstName[] = L"Il manque le prénom ou l'Application.";

// Patient A is the demo patient of the bench (file 1207); patient B is file 1300, Martin,
// with a social-security number of his own (the stand-in takes the last value of a key).
const std::string kPatientB = PatientFile("1300", "Martin") + "NumSS=1 90 11 13 055 001 23\r\n";

// The N record the link must write for these values (the A record carries the time).
std::string NRecord(const HandOffValues& values) {
  return BuildNRecord(values, PortableText());
}
const HandOffValues kHandOffA{L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207", L"285037512345678"};
const HandOffValues kHandOffB{L"MARTIN", L"HELENE", L"14/03/1985", L"1300", L"190111305500123"};
const HandOffValues kHandOffBWithoutNumSS{L"MARTIN", L"HELENE", L"14/03/1985", L"1300", L""};

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

class StalePatientE2e : public LinkTest {
 protected:
  static std::wstring ShownFile() { return std::wstring(kPatientFile) + L".shown"; }

  // The stand-in practice program shows the patient file `bytes` (it may already run).
  static bool PracticeShows(const std::string& bytes, const std::string& numDossier) {
    testing::WriteBytes(kPatientFile, bytes);
    return testing::WaitUntil([&] { return testing::ReadBytes(ShownFile()) == numDossier; });
  }
  static HWND PracticeWindow() { return FindWindowA(standin::plain::kClass, standin::plain::kTitle); }

  // The link's message box once it is shown: the dialog exists, captionless and empty,
  // before its text is set, and only shows itself afterwards.
  HWND ShownMessageBoxOfLink() const {
    HWND box = MessageBoxOfLink();
    if (box != nullptr) testing::WaitUntil([&] { return IsWindowVisible(box) != FALSE; });
    return box;
  }

  std::string StartsLog() const { return testing::ReadBytes(kStarts); }
  // Waits until a start of the X-ray program recorded a hand-off file holding `text`.
  bool WaitForStartWith(const std::string& text) const {
    return testing::WaitUntil([&] { return StartsLog().find(Hex(text)) != std::string::npos; });
  }
  // Both hand-off files are equal and begin with this N record.
  static void ExpectNRecord(const HandOffValues& values) {
    const std::string handOff = testing::ReadBytes(kSiomin);
    const std::string n = NRecord(values);
    EXPECT_EQ(handOff.substr(0, n.size()), n);
    EXPECT_EQ(testing::ReadBytes(kSiomin2), handOff);
  }

  // A first hand-off of patient A by a real click, recorded by one start.
  void HandOffPatientA() {
    StartLink();
    // The clicks land where they are aimed: screen coordinates are the X display's.
    ASSERT_TRUE(Xdotool("mousemove 640 700"));
    POINT cursor{};
    GetCursorPos(&cursor);
    ASSERT_EQ(cursor.x, 640);
    ASSERT_EQ(cursor.y, 700);
    ASSERT_TRUE(ClickAt(OnTooth()));
    ASSERT_TRUE(WaitForStarts(1));
    ExpectNRecord(kHandOffA);
    handOffA_ = testing::ReadBytes(kSiomin);
  }

  std::string handOffA_;
};

// Patient A was handed off, then the practice program was closed: a click finds no patient,
// says the first name is missing, leaves A in the files and starts nothing, while the screen
// still shows A. Once the practice program is back with patient B, LANCER hands B off.
TEST_F(StalePatientE2e, PracticeProgramClosedRefusesTheHandOffAndKeepsTheEarlierPatient) {
  HandOffPatientA();

  practice_.Kill();
  ASSERT_TRUE(testing::WaitUntil([] { return PracticeWindow() == nullptr; }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = ShownMessageBoxOfLink();
  ASSERT_NE(box, nullptr) << "no message for a patient who is not on screen";
  EXPECT_EQ(testing::MessageBoxText(box), kShortMissingFirstName);
  EXPECT_EQ(testing::WindowCaption(box), L"Tarnwick");
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr) << "OK only";
  std::printf("screenshot: %s\n", Screenshot("e2e-stale-patient-message").c_str());
  testing::AnswerMessageBox(box, IDOK);
  ASSERT_TRUE(testing::WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_EQ(testing::ReadBytes(kSiomin), handOffA_);
  EXPECT_EQ(testing::ReadBytes(kSiomin2), handOffA_);
  EXPECT_TRUE(link_.IsRunning());
  EXPECT_TRUE(LauncherVisible());

  // Shift + click shows the record: A is still there, on screen only.
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"shift"}));
  HWND screen = VisibleScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumDossier)), L"1207");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Prenom)), L"HELENE");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");

  // The practice program comes back on patient B.
  testing::WriteBytes(kPatientFile, kPatientB);
  DeleteFileW(ShownFile().c_str());
  ASSERT_TRUE(practice_.Start(testing::StandinPath(L"practice_plain"), kPatientFile));
  ASSERT_TRUE(testing::WaitUntil([] { return testing::ReadBytes(ShownFile()) == "1300"; }));
  ASSERT_TRUE(ClickAt(CentreOf(GetDlgItem(screen, screen_id::kDemarrerSidexis))));
  ASSERT_TRUE(WaitForStartWith("MARTIN"));
  ExpectNRecord(kHandOffB);
  // One start for A, one for B: the refused click started nothing.
  EXPECT_EQ(Lines(StartsLog()), (std::vector<std::string>{Hex(handOffA_), Hex(testing::ReadBytes(kSiomin))}));
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"MARTIN");
}

// The practice program switches to patient B and drops its social-security control: B is
// handed off with an empty social-security field, never with A's number, although the
// screen still shows A's number. Showing it again on the screen is no typing; typing a
// number there hands that number off.
TEST_F(StalePatientE2e, MissingSocialSecurityControlHandsOffTheNextPatientWithoutTheEarlierNumber) {
  HandOffPatientA();

  ASSERT_TRUE(PracticeShows(kPatientB + "DropNumSS=1\r\n", "1300"));
  ASSERT_NE(PracticeWindow(), nullptr);
  ASSERT_EQ(GetDlgItem(PracticeWindow(), standin::plain::kNumSSId), nullptr) << "the control is gone";
  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStartWith("MARTIN"));
  ExpectNRecord(kHandOffBWithoutNumSS);
  EXPECT_EQ(testing::ReadBytes(kSiomin).find("285037512345678"), std::string::npos) << "A's number left";
  EXPECT_EQ(testing::ReadBytes(kSiomin).find("190111305500123"), std::string::npos) << "B's is not shown";
  EXPECT_EQ(Lines(StartsLog()).size(), 2u);

  // Shift + click: the screen shows B, and A's number in the social-security box.
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"shift"}));
  HWND screen = VisibleScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"MARTIN");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");
  const POINT lancer = CentreOf(GetDlgItem(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(ClickAt(lancer));
  ASSERT_TRUE(WaitForStarts(3));
  ExpectNRecord(kHandOffBWithoutNumSS);

  // The user types the number into the box, then launches.
  ASSERT_TRUE(ClickAt(CentreOf(GetDlgItem(screen, FieldBox(Field::NumSS)))));
  ASSERT_TRUE(Xdotool("key End"));
  ASSERT_TRUE(Xdotool("key --repeat 20 BackSpace"));
  ASSERT_TRUE(Xdotool("type 199999999999999"));
  ASSERT_TRUE(testing::WaitUntil([&] { return ItemText(screen, FieldBox(Field::NumSS)) == L"199999999999999"; }));
  ASSERT_TRUE(ClickAt(lancer));
  ASSERT_TRUE(WaitForStartWith("199999999999999"));
  HandOffValues typed = kHandOffBWithoutNumSS;
  typed.numSS = L"199999999999999";
  ExpectNRecord(typed);
  EXPECT_EQ(Lines(StartsLog()).size(), 4u);
  std::printf("screenshot: %s\n", Screenshot("e2e-stale-patient-typed").c_str());
}

}  // namespace
}  // namespace corvane::e2e
