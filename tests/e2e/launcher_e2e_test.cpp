// The launcher end to end: the real program, real clicks and typing, the stand-in programs.
#include "handoff/handoff_records.h"
#include "reader/harvest.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using LauncherE2e = LinkTest;
using namespace launcher_layout;

// Whether the window's rectangle, in the client coordinates of `in` (null: the screen), is this.
bool Placed(HWND window, HWND in, int left, int top, int width, int height) {
  RECT rect{}, expected{left, top, left + width, top + height};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, in, reinterpret_cast<POINT*>(&rect), 2);
  return EqualRect(&rect, &expected);
}

// In its place, on top, the "?" box above the picture; the box shows the help (OK only, nothing
// dispatched); a right click asks to quit: No keeps the program, Yes ends it.
TEST_F(LauncherE2e, StandsInPlaceShowsItsHelpAndAsksBeforeQuitting) {
  StartLink();
  EXPECT_EQ(WindowCaption(launcher_), kLauncherCaption);
  EXPECT_TRUE(GetWindowLongW(launcher_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND picture = GetDlgItem(launcher_, launcher_id::kImage1), aide = GetDlgItem(launcher_, launcher_id::kAide);
  RECT client{};
  GetClientRect(launcher_, &client);
  EXPECT_TRUE(client.right == kClientWidth && client.bottom == kClientHeight);
  EXPECT_TRUE(Placed(picture, nullptr, kClientLeft, kClientTop, kImageWidth, kImageHeight));
  EXPECT_TRUE(Placed(aide, launcher_, kAideLeft, kAideTop, kAideSize, kAideSize));
  EXPECT_EQ(WindowFromPoint(OnTooth()), picture);
  EXPECT_EQ(WindowFromPoint(CentreOf(aide)), aide);
  Screenshot("e2e-launcher");
  // The "?" box: the caption text colour on the highlight colour, and its tooltip under the pointer.
  RECT aideRect{};
  GetWindowRect(aide, &aideRect);
  const Pixels pixels = CaptureScreen(aideRect);
  for (const int colour : {COLOR_HIGHLIGHT, COLOR_CAPTIONTEXT})
    EXPECT_NE(std::ranges::count(pixels, GetSysColor(colour)), 0) << colour;
  HWND tip = nullptr;
  ASSERT_TRUE(Xdotool("mousemove" + At(CentreOf(aide))));
  ASSERT_TRUE(
      WaitUntil([&] { return IsWindowVisible(tip = WaitForTopLevel(L"tooltips_class32", link_.Id(), nullptr, {})); }));
  wchar_t tipText[512] = {};
  SendMessageW(tip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(tipText));
  EXPECT_EQ(std::wstring(tipText), kHelpTooltip);

  ASSERT_TRUE(ClickAt(CentreOf(aide)));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowCaption(box), kLauncherCaption);
  EXPECT_EQ(MessageBoxText(box), kHelpText);
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr) << "OK only";
  Screenshot("e2e-help");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_EQ(ShownScreen(), nullptr);
  for (const int answer : {IDNO, IDYES}) {
    ASSERT_TRUE(ClickAt(OnTooth(), 3));
    ASSERT_NE(box = MessageBoxOfLink(), nullptr);
    EXPECT_EQ(WindowCaption(box), kQuitTitle);
    EXPECT_EQ(MessageBoxText(box), kQuitQuestion);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "no Cancel";
    ASSERT_TRUE(Answer(box, answer));
  }
  DWORD exitCode = 1;
  EXPECT_TRUE(link_.WaitExit(10000, &exitCode) && exitCode == 0) << "Yes ends the program";
  EXPECT_EQ(Starts(), 0);
}

// A missing Tech.txt is reported at the first activation and at each click, and the program goes
// on; once the file is back, a plain click hands off the patient shown; the middle button acts
// as the left one, on the next patient; a missing X-ray program is shown in a box once both
// hand-off files are written.
TEST_F(LauncherE2e, MissingSettingsAreReportedThenAPlainClickHandsOffThePatientShown) {
  DeleteFileW(kTech);
  StartLink();
  for (const bool afterClick : {false, true}) {
    ASSERT_TRUE(!afterClick || ClickAt(OnTooth(), 1, {"shift"}));
    HWND box = MessageBoxOfLink();
    ASSERT_NE(box, nullptr) << afterClick;
    EXPECT_NE(MessageBoxText(box).find(L"Tech.txt"), std::wstring::npos);
    EXPECT_NE(MessageBoxText(box).find(L"Erreur N°"), std::wstring::npos);
    ASSERT_TRUE(Answer(box, IDOK));
  }
  EXPECT_TRUE(link_.IsRunning());
  EXPECT_FALSE(FileExists(kSiomin));
  WriteSettings("0");
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  EXPECT_TRUE(LauncherVisible()) << "the launcher stays";
  EXPECT_EQ(ShownScreen(), nullptr) << "no screen with entry 15 at 0";
  ShowPatient(standin::PatientFile("1300", "Martin"));
  ASSERT_TRUE(ClickAt(OnTooth(), 2));
  ExpectHandedOff(2, std::string("MARTIN\0HELENE_1300", 18));
  EXPECT_EQ(WaitForMessageBox(link_.Id(), std::chrono::milliseconds(500)), nullptr);
  EXPECT_EQ(Starts(), 2) << "one start per click";
  ASSERT_TRUE(WaitUntil([] { return DeleteFileW(LR"(C:\SIDEXIS\Sidexis.exe)") && DeleteFileW(kSiomin); }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowCaption(box), L"Tarnwick");
  EXPECT_TRUE(MessageBoxText(box).starts_with(L"Impossible de démarrer Sidexis (C:\\SIDEXIS\\Sidexis.exe) : "));
  EXPECT_TRUE(MessageBoxText(box).ends_with(L" (erreur N° 2).")) << MessageBoxText(box);
  EXPECT_TRUE(ReadBytes(kSiomin).find("MARTIN") != std::string::npos && ReadBytes(kSiomin2) == ReadBytes(kSiomin));
  ASSERT_TRUE(Answer(box, IDOK));
}

// The practice program stops answering: the click gives the read up, says so, hands nothing off.
TEST_F(LauncherE2e, AHungPracticeProgramIsReportedAndNothingIsHandedOff) {
  StartLink();
  ShowPatient(standin::PatientFile() + standin::kKeyHang + "=30\r\n");
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(MessageBoxText(box).find(PracticeNotAnswering().Description()), std::wstring::npos);
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(link_.IsRunning() && LauncherVisible());
  EXPECT_FALSE(FileExists(kSiomin));
}

// Patient A (the demo patient) was handed off, then the practice program was closed: a click
// finds no patient, says the first name is missing, leaves A in the files and starts nothing,
// while the screen still shows A. The practice program comes back on patient B without its
// social-security control: LANCER hands B off with an empty number, never A's that the screen
// still shows; a number typed there is handed off with B, and not with C after B.
TEST_F(LauncherE2e, APatientWhoLeftThePracticeProgramsScreenIsNeverHandedOff) {
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
  EXPECT_EQ(ItemText(screen, screen_id::FieldBox(Field::NumSS)), L"285037512345678");

  ShowPatient(standin::PatientFile("1300", "Martin") + "NumSS=1 90 11 13 055 001 23\r\nDropNumSS=1\r\n");
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  HandOffValues b{L"MARTIN", L"HELENE", L"14/03/1985", L"1300", L""};
  expectNRecord(2, b);
  EXPECT_EQ(Starts(), 2) << "the refused click started nothing";
  EXPECT_EQ(ItemText(screen, screen_id::FieldBox(Field::Nom)), L"MARTIN");
  EXPECT_EQ(ItemText(screen, screen_id::FieldBox(Field::NumSS)), L"285037512345678");
  ASSERT_TRUE(Press(screen, screen_id::FieldBox(Field::NumSS)));
  for (const char* keys : {"key End", "key --repeat 20 BackSpace", "type 199999999999999"}) ASSERT_TRUE(Xdotool(keys));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(screen, screen_id::FieldBox(Field::NumSS)) == L"199999999999999"; }));
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  b.numSS = L"199999999999999";
  expectNRecord(3, b);
  Screenshot("e2e-stale-patient-typed");

  ShowPatient(standin::PatientFile("1400", "Roux") + "DropNumSS=1\r\n");
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  expectNRecord(4, {L"ROUX", L"HELENE", L"14/03/1985", L"1400", L""});
  EXPECT_EQ(ItemText(screen, screen_id::FieldBox(Field::NumSS)), L"199999999999999");
}

}  // namespace
}  // namespace corvane::e2e
