// The real CorvaneLink.exe beside the stand-in practice and X-ray (C:\SIDEXIS\Sidexis.exe) programs, driven by
// xdotool on Wine's virtual desktop; screenshots left in the build folder for people to look at.
#include <gtest/gtest.h>

#include <algorithm>

#include "handoff/handoff_records.h"
#include "launcher/launcher_win32.h"
#include "link/fixed_paths.h"
#include "reader/harvest.h"
#include "settings/screen/screen_win32.h"
#include "tests/support/wine_support.h"
#include "tests/support/written_screen.h"

namespace corvane::e2e {
namespace {

using namespace corvane::testing;
using namespace std::chrono_literals;
using namespace launcher_layout;
using namespace screen_id;

inline constexpr wchar_t kStarts[] = LR"(C:\SIDEXIS\standin-starts.txt)",
                         kPatientFile[] = LR"(C:\corvane-e2e\patient.txt)";
inline const std::wstring kShownFile = kPatientFile + PortableText().FromAnsi(standin::kShownSuffix);

class LauncherE2e : public ::testing::Test {
 protected:
  // A path on Z: (the host's /, as CTest gives the build folder) as the host sees it.
  static std::string UnixPath(const std::wstring& path) { return {path.begin() + 2, path.end()}; }
  // Runs a host command; true when it ended with 0 (Wine cannot wait on it: it leaves its status in a file).
  static bool RunHost(const std::string& command) {
    const std::wstring marker = BuildDir() + L"/host-" + std::to_wstring(GetCurrentProcessId()) + L".status";
    const std::string line = "/bin/sh -c \"" + command + "; echo $? > '" + UnixPath(marker) + "'\"";
    ChildProcess shell;
    const bool ok = shell.Start({}, std::wstring(line.begin(), line.end())) &&
                    WaitUntil([&] { return !ReadBytes(marker).empty(); }, 20s) && ReadBytes(marker).starts_with("0");
    DeleteFileW(marker.c_str());
    return ok;
  }
  static bool Xdotool(const std::string& arguments) { return RunHost("/usr/bin/xdotool " + arguments); }
  static std::string At(POINT p) { return " " + std::to_string(p.x) + ' ' + std::to_string(p.y); }
  // A key goes down only once the X focus is on Wine's desktop, which may lag behind a change of foreground
  // window: the keys are pressed again until Wine sees them all down, and only then the button.
  static bool ClickAt(POINT point, int button = 1, const std::vector<std::string>& keys = {}) {
    std::string down, up;
    for (const auto& key : keys) down += " keydown " + key, up += " keyup " + key;
    const auto held = [&] {
      return std::ranges::all_of(keys, [](const std::string& key) {
        return GetAsyncKeyState(key == "shift" ? VK_SHIFT : key == "ctrl" ? VK_CONTROL : VK_MENU) < 0;
      });
    };
    for (int attempt = 0; !keys.empty() && attempt < 5; ++attempt) {
      if (!Xdotool("mousemove" + At(point) + down)) return false;
      if (WaitUntil(held, 2s)) break;
      Xdotool(up.substr(1));
    }
    static DWORD last = 0;  // clicks further apart than a double click's two presses
    while (GetTickCount() - last <= GetDoubleClickTime()) Sleep(20);
    const bool clicked = Xdotool("mousemove" + At(point) + down + " click " + std::to_string(button) + up);
    return last = GetTickCount(), clicked;
  }
  static POINT CentreOf(HWND window) {
    RECT r{};
    return GetWindowRect(window, &r) ? POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2} : POINT{};
  }
  static void Screenshot(const std::string& name) {
    RunHost("/usr/bin/import -window root '" + UnixPath(BuildDir()) + "/" + name + ".png'");
  }

  void SetUp() override {
    FreshFolder(LR"(C:\SIDEXIS)");
    // A stand-in X-ray program started at the end of the test before frees its file soon.
    ASSERT_TRUE(WaitUntil([] { return CopyFileW(StandinPath(L"practice_standin").c_str(), kSidexisExe, FALSE) != 0; }));
    WriteSettings("0"), FreshFolder(LR"(C:\corvane-e2e)");
    ShowPatient(standin::PatientFile());
  }
  static std::string SettingsBytes(const std::string& screenFlag) {
    auto lines = standin::TechLines(standin::LayoutOf(standin::Mode::Plain));
    lines[14] = screenFlag;
    return standin::TechFileBytes(lines);
  }
  static void WriteSettings(const std::string& screenFlag) {
    for (const wchar_t* file : {kTech, kTech2}) WriteBytes(file, SettingsBytes(screenFlag));
  }
  void ShowPatient(const std::string& file, standin::Mode mode = standin::Mode::Plain) {
    DeleteFileW(kShownFile.c_str()), WriteBytes(kPatientFile, file);
    ASSERT_TRUE(practice_.IsRunning() || practice_.StartPractice(mode, kPatientFile));
    ASSERT_TRUE(WaitUntil([] { return std::filesystem::exists(kShownFile); }));
  }
  void StartLink() {
    ASSERT_TRUE(link_.Start(BuildDir() + L"\\CorvaneLink.exe"));
    launcher_ = WaitForTopLevel(kLauncherClassName, link_.Id());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(launcher_); }));
    WaitForInputIdle(link_.Handle(), 10000);
  }
  static POINT OnTooth() { return {kClientLeft + 25, kClientTop + 35}; }  // away from the "?" box
  bool BackToLauncher(HWND s) const {
    return WaitUntil([&] { return IsWindowVisible(launcher_) && !IsWindowVisible(s); });
  }
  HWND ShownScreen(std::chrono::milliseconds wait = 10s) const {
    return WaitForShown(kScreenClassName, link_.Id(), wait);
  }
  // Clicks the tooth holding `keys`; the screen it opens, or null. Under Wine a click carries
  // Shift, Ctrl and Alt only when the launcher's thread had the keyboard as they went down.
  HWND OpenScreen(const std::vector<std::string>& keys) {
    WaitUntil([&] { return GetForegroundWindow() == launcher_; });
    return ClickAt(OnTooth(), 1, keys) ? ShownScreen() : nullptr;
  }
  static bool Press(HWND screen, int id) { return ClickAt(CentreOf(GetDlgItem(screen, id))); }
  HWND MessageBoxOfLink() const { return WaitForShown(L"#32770", link_.Id()); }
  static std::wstring TitleAndText(HWND box) { return TextOf(box) + L": " + MessageBoxText(box); }

  int Starts() const { return static_cast<int>(std::ranges::count(ReadBytes(kStarts), '\n')); }
  // Started `starts` times, the last with both hand-off files whole, beginning with this N record.
  void ExpectHandedOff(int starts, const HandOffValues& values = {L"LEFÈVRE", L"HELENE", L"14/03/1985", L"1207",
                                                                  L"285037512345678"}) {
    ASSERT_TRUE(WaitUntil([&] { return Starts() >= starts; })) << "the X-ray program was not started";
    const std::string handOff = ReadBytes(kSiomin);
    EXPECT_TRUE(handOff.starts_with(BuildNRecord(values, PortableText())));
    EXPECT_EQ(ReadBytes(kSiomin2), handOff);
    EXPECT_TRUE(ReadBytes(kStarts).ends_with(standin::Hex(handOff) + "\r\n"));
  }

  ChildProcess practice_, link_;
  HWND launcher_ = nullptr;
};

// In its place, on top, the "?" box above the picture with its tooltip; the box shows the help (OK
// only, nothing dispatched); a right click asks to quit: No keeps the program, Yes ends it.
TEST_F(LauncherE2e, StandsInPlaceShowsItsHelpAndAsksBeforeQuitting) {
  StartLink();
  EXPECT_TRUE(TextOf(launcher_) == L"Corvane Link" && (GetWindowLongW(launcher_, GWL_EXSTYLE) & WS_EX_TOPMOST));
  HWND picture = GetDlgItem(launcher_, launcher_id::kImage1), aide = GetDlgItem(launcher_, launcher_id::kAide);
  POINT origin{};
  EXPECT_TRUE(ClientToScreen(launcher_, &origin) && origin.x == kClientLeft && origin.y == kClientTop);
  EXPECT_TRUE(WindowFromPoint(OnTooth()) == picture && WindowFromPoint(CentreOf(aide)) == aide);
  Screenshot("e2e-launcher");
  ASSERT_TRUE(Xdotool("mousemove" + At(CentreOf(aide))));
  EXPECT_EQ(TextOf(WaitForShown(L"tooltips_class32", link_.Id())),
            L"Clic : lance Sidexis sur le patient affiché, Maj + Clic : ouvre l'écran de lancement, Ctrl + Clic : "
            L"ouvre l'écran de paramétrage, Clic Droit : ferme l'application.");

  ASSERT_TRUE(ClickAt(CentreOf(aide)));
  HWND box = MessageBoxOfLink();
  EXPECT_EQ(TitleAndText(box),
            L"Corvane Link: Clic : lance SIDEXIS sur le patient affiché,\rMaj + Clic : ouvre l'écran de "
            L"lancement,\rCtrl + Clic : ouvre l'écran de paramétrage\rClic Droit : ferme l'application.");
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr) << "OK only";
  Screenshot("e2e-help");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(ShownScreen({}), nullptr);
  for (const int answer : {IDNO, IDYES}) {
    ASSERT_TRUE(ClickAt(OnTooth(), 3));
    ASSERT_NE(box = MessageBoxOfLink(), nullptr);
    EXPECT_EQ(TitleAndText(box), L"Quitter ?: Voulez-vous fermer 'Corvane Link' ?");
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "no Cancel";
    ASSERT_TRUE(AnswerMessageBox(box, answer));
  }
  DWORD exitCode = 1;
  EXPECT_TRUE(WaitForSingleObject(link_.Handle(), 10000) == WAIT_OBJECT_0 &&
              GetExitCodeProcess(link_.Handle(), &exitCode) && exitCode == 0) << "Yes ends the program";
  EXPECT_EQ(Starts(), 0);
}

// A missing Tech.txt is reported at the first activation and at each click; once it is back, a plain
// click hands off the patient shown, then the next; a missing X-ray program is shown once both are written.
TEST_F(LauncherE2e, MissingSettingsAreReportedThenAPlainClickHandsOffThePatientShown) {
  DeleteFileW(kTech), StartLink();
  for (const bool afterClick : {false, true}) {
    ASSERT_TRUE(!afterClick || ClickAt(OnTooth(), 1, {"shift"}));
    HWND box = MessageBoxOfLink();
    EXPECT_NE(MessageBoxText(box).find(L"Tech.txt"), std::wstring::npos);
    EXPECT_NE(MessageBoxText(box).find(L"Erreur N°"), std::wstring::npos);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  }
  EXPECT_TRUE(link_.IsRunning() && !std::filesystem::exists(kSiomin));
  WriteSettings("0");
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  EXPECT_TRUE(IsWindowVisible(launcher_)) << "the launcher stays";
  EXPECT_EQ(ShownScreen({}), nullptr) << "no screen with entry 15 at 0";
  ShowPatient(standin::PatientFile("1300", "Martin"));
  ASSERT_TRUE(ClickAt(OnTooth(), 2));  // the middle button acts as the left one
  ExpectHandedOff(2, {L"MARTIN", L"HELENE", L"14/03/1985", L"1300", L"285037512345678"});
  EXPECT_TRUE(!WaitForShown(L"#32770", link_.Id(), 500ms) && Starts() == 2) << "one start a click";
  const auto gone = [](const wchar_t* file) { return DeleteFileW(file) || GetLastError() == ERROR_FILE_NOT_FOUND; };
  ASSERT_TRUE(WaitUntil([&] { return gone(kSidexisExe) && gone(kSiomin); }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = MessageBoxOfLink();
  EXPECT_TRUE(TitleAndText(box).starts_with(L"Tarnwick: Impossible de démarrer Sidexis (" + std::wstring(kSidexisExe) +
                                            L") : ") &&
              MessageBoxText(box).ends_with(L" (erreur N° 2)."))
      << TitleAndText(box);
  EXPECT_TRUE(ReadBytes(kSiomin).find("MARTIN") != std::string::npos && ReadBytes(kSiomin2) == ReadBytes(kSiomin));
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
}

// A real double click on the tooth hands off once. A second start of the program, in this session,
// ends at once without a box and brings the one launcher to the front, which still hands off.
TEST_F(LauncherE2e, ADoubleClickHandsOffOnceAndASecondStartLeavesTheOneLauncher) {
  StartLink();
  ASSERT_TRUE(Xdotool("mousemove" + At(OnTooth()) + " click --repeat 2 1"));
  ExpectHandedOff(1);
  EXPECT_FALSE(WaitUntil([&] { return Starts() > 1; }, 2s)) << "the second press started nothing";

  HWND practice = FindWindowA("CorvanePlainPractice", nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SetForegroundWindow(practice) && GetForegroundWindow() == practice; }));
  ChildProcess second;
  ASSERT_TRUE(second.Start(BuildDir() + L"\\CorvaneLink.exe"));
  EXPECT_EQ(WaitForSingleObject(second.Handle(), 10000), WAIT_OBJECT_0) << "the second copy ends at once";
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  EXPECT_TRUE(FindWindowW(kLauncherClassName, nullptr) == launcher_ &&
              !FindWindowExW(nullptr, launcher_, kLauncherClassName, nullptr));
  HANDLE mark = OpenMutexW(SYNCHRONIZE, FALSE, kOneCopyName);  // the object is in this session's namespace
  EXPECT_TRUE(mark && CloseHandle(mark) && std::wstring_view(kOneCopyName).starts_with(L"Local\\"));
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(2);
}

// Patient A (the demo patient) was handed off, then the practice program hid its form: a click finds
// no patient, says so, leaves A in the files, starts nothing; the screen still shows A. Back on B
// without its social-security control: LANCER first shows B and says so, then hands B off with an
// empty number, never A's that the screen showed; a number typed there goes with B, not with C.
TEST_F(LauncherE2e, APatientWhoLeftThePracticeProgramsScreenIsNeverHandedOff) {
  StartLink();
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  const std::string handOffA = ReadBytes(kSiomin);
  ShowPatient(standin::PatientFile() + standin::kKeyHidden + "=1\r\n");
  ASSERT_TRUE(WaitUntil([] { return !IsWindowVisible(FindWindowA("CorvanePlainPractice", nullptr)); }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = MessageBoxOfLink();
  EXPECT_EQ(TitleAndText(box), L"Tarnwick: Il manque le prénom ou l'Application.");
  Screenshot("e2e-stale-patient-message");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(std::pair(ReadBytes(kSiomin), ReadBytes(kSiomin2)), std::pair(handOffA, handOffA));
  HWND screen = OpenScreen({"shift"});
  ASSERT_TRUE(screen);
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");

  const auto lancerShowsAnotherPatient = [&] {
    ASSERT_TRUE(Press(screen, kDemarrerSidexis));
    HWND shown = MessageBoxOfLink();
    EXPECT_TRUE(MessageBoxText(shown).starts_with(L"Le logiciel de gestion du cabinet affiche maintenant un autre"));
    ASSERT_TRUE(AnswerMessageBox(shown, IDOK) && Press(screen, kDemarrerSidexis));
  };
  ShowPatient(standin::PatientFile("1300", "Martin") + "NumSS=1 90 11 13 055 001 23\r\nDropNumSS=1\r\n");
  lancerShowsAnotherPatient();
  HandOffValues b{L"MARTIN", L"HELENE", L"14/03/1985", L"1300", L""};
  ExpectHandedOff(2, b);
  EXPECT_EQ(Starts(), 2) << "the refused click started nothing";
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)) + ItemText(screen, FieldBox(Field::NumSS)),
            L"MARTIN285037512345678");
  ASSERT_TRUE(Press(screen, FieldBox(Field::NumSS)));
  for (const char* keys : {"key End", "key --repeat 20 BackSpace", "type 199999999999999"}) ASSERT_TRUE(Xdotool(keys));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(screen, FieldBox(Field::NumSS)) == L"199999999999999"; }));
  ASSERT_TRUE(Press(screen, kDemarrerSidexis));
  ExpectHandedOff(3, (b.numSS = L"199999999999999", b));

  ShowPatient(standin::PatientFile("1400", "Roux") + "DropNumSS=1\r\n"), lancerShowsAnotherPatient();
  ExpectHandedOff(4, {L"ROUX", L"HELENE", L"14/03/1985", L"1400", L""});
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"199999999999999");
}

class ScreenE2e : public LauncherE2e {
 protected:
  // Waits until the screen is painted as written (96 dpi; places and fonts: the screen test in process):
  // each control shown in this mode or not, its ground and text colours (the window's blue where a control
  // is hidden); Tab in the written order.
  static void ExpectAsWritten(HWND screen, bool configuration) {
    std::wstring unlike;
    EXPECT_TRUE(WaitUntil([&] { return (unlike = Unlike(screen, configuration)).empty(); })) << unlike;
  }
  static std::wstring Unlike(HWND screen, bool configuration) {
    RECT client{};
    std::wstring unlike;
    GetClientRect(screen, &client), MapWindowPoints(screen, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const Pixels pixels = CaptureScreen(client);
    const auto shows = [&](const RECT& r, COLORREF colour) {
      if (colour == kSystem) colour = GetSysColor(COLOR_WINDOW);
      bool found = false;
      for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) found |= pixels[y * (client.right - client.left) + x] == colour;
      return found;
    };
    for (const Written& w : kWrittenScreen) {
      HWND control = GetDlgItem(screen, w.id);
      RECT r{};
      GetWindowRect(control, &r), MapWindowPoints(nullptr, screen, reinterpret_cast<POINT*>(&r), 2);
      const bool shown = configuration || !w.configurationOnly;
      const bool centred = (GetWindowLongW(control, GWL_STYLE) & ES_CENTER) != 0;
      if ((IsWindowVisible(control) != FALSE) != shown ||
          (w.Ground() && w.id != kMontreSurClic && centred != kWrittenCentred.contains(w.id)) ||
          (!shown &&
           !shows({w.x + w.width / 2, w.y + w.height / 2, w.x + w.width / 2 + 1, w.y + w.height / 2 + 1}, kBlue)) ||
          (shown && w.Ground() && !(shows(r, w.Ground()) && (ItemText(screen, w.id).empty() || shows(r, w.Text())))))
        unlike += std::to_wstring(w.id) + L" ";
    }
    std::vector<int> tabStops, visited;
    for (const int id : kWrittenTabOrder)
      if (configuration || id > 0) tabStops.push_back(std::abs(id));
    HWND first = GetDlgItem(screen, tabStops[0]), c = first;
    do visited.push_back(GetDlgCtrlID(c));
    while ((c = GetNextDlgTabItem(screen, c, FALSE)) != first && visited.size() < 64);
    return unlike + (visited == tabStops ? L"" : L"Tab");
  }
  static bool ClickCloseBox(HWND screen) {
    RECT frame{};
    GetWindowRect(screen, &frame);
    for (int y = frame.top + 2; y < frame.top + 40; y += 2)
      for (int x = frame.right - 2; x > frame.right - 80; x -= 2)
        if (SendMessageW(screen, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) return ClickAt({x, y});
    return false;
  }
};

// Entry 15 at "1" (the check box): a plain click shows the screen in launch mode and hands off; its close
// box destroys it; Shift + click builds it afresh with the harvest, no start; LANCER hands off, once for
// a double click.
TEST_F(ScreenE2e, ScreenFlagShowsLaunchModeShiftOnlyShows) {
  WriteSettings("1"), StartLink();
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  HWND screen = ShownScreen();
  ASSERT_TRUE(screen && !IsWindowVisible(launcher_));
  EXPECT_EQ(TextOf(screen) + L"|" + ItemText(screen, kDemarrerSidexis), L"Lien Sidexis|LANCER");
  EXPECT_TRUE(GetWindowLongW(screen, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_TRUE(ClickCloseBox(screen) && BackToLauncher(screen));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(screen); })) << "the close box destroys the screen";

  ASSERT_TRUE((screen = OpenScreen({"shift"})) && !IsWindowVisible(launcher_));
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)) + ItemText(screen, FieldBox(Field::Ville)), L"LEFÈVREParis");
  ExpectAsWritten(screen, false), Screenshot("e2e-screen-launch");
  EXPECT_EQ(Starts(), 1) << "Shift shows, it does not start";
  ASSERT_TRUE(Xdotool("mousemove" + At(CentreOf(GetDlgItem(screen, kDemarrerSidexis))) + " click --repeat 2 1"));
  ExpectHandedOff(2);
  EXPECT_FALSE(WaitUntil([&] { return Starts() > 2; }, 2s)) << "a double click on LANCER hands off once";
  EXPECT_TRUE(IsWindowVisible(screen)) << "the screen stays";
}

// Ctrl + click opens the configuration: its close box saves nothing (not the check box ticked); reset
// answered No changes nothing, Yes leaves the reset files and the launcher. (VALIDER: the finder tests.)
TEST_F(ScreenE2e, CtrlClickShowsConfigurationModeCloseSavesNothingResetAnsweredWrites) {
  StartLink();
  HWND screen = OpenScreen({"ctrl"});
  ASSERT_TRUE(screen && !IsWindowVisible(launcher_));
  EXPECT_EQ(ItemText(screen, kDemarrerSidexis) + ItemText(screen, FieldBox(Field::Nom)), L"VALIDERLEFÈVRE")
      << "harvested first";
  ExpectAsWritten(screen, true);
  Screenshot("e2e-screen-config");
  ASSERT_TRUE(Press(screen, kMontreSurClic) && ClickCloseBox(screen) && BackToLauncher(screen));
  EXPECT_EQ(std::pair(ReadBytes(kTech), ReadBytes(kTech2)), std::pair(SettingsBytes("0"), SettingsBytes("0")));
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  EXPECT_EQ(ShownScreen({}), nullptr) << "entry 15 reloaded from the file";

  ASSERT_NE(screen = OpenScreen({"ctrl"}), nullptr);
  for (const int answer : {IDNO, IDYES}) {
    ASSERT_TRUE(Press(screen, kRaz));
    HWND box = MessageBoxOfLink();
    EXPECT_EQ(TitleAndText(box), L"Suppression du paramétrage: Voulez-vous vraiment supprimer le paramétrage actuel ?");
    EXPECT_EQ(GetWindow(box, GW_OWNER), screen) << "nothing on the screen runs until it is answered";
    EXPECT_FALSE(IsWindowEnabled(screen));
    ASSERT_TRUE(AnswerMessageBox(box, answer));
    if (answer == IDNO) {
      EXPECT_EQ(std::pair(ReadBytes(kTech), ReadBytes(kTech2)), std::pair(SettingsBytes("0"), SettingsBytes("0")));
      EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE");
    }
  }
  ASSERT_TRUE(BackToLauncher(screen));
  EXPECT_TRUE(ReadBytes(kTech).size() == 108u && ReadBytes(kTech2) == ReadBytes(kTech));
}

struct FinderCase {
  standin::Mode mode;
  bool fromNothing;  // no settings files at all, else the reset values
  std::string Name() const { return standin::LayoutOf(mode).name + (fromNothing ? "_from_nothing" : ""); }
};

class FinderE2e : public LauncherE2e, public ::testing::WithParamInterface<FinderCase> {
 protected:
  // Presses on the finder box, moves over the desktop to `to` and stays there; Release() ends it.
  static bool DragTo(HWND screen, Field field, POINT to) {
    const POINT from = CentreOf(GetDlgItem(screen, screen_id::FinderBox(field)));
    return Xdotool("mousemove" + At(from) + " mousedown 1 sleep 0.3 mousemove" +
                   At({(from.x + to.x) / 2, (from.y + to.y) / 2}) + " sleep 0.2 mousemove" + At(to) + " sleep 0.4");
  }
  static bool Release(HWND screen) {
    RECT shown{};
    const bool back = Xdotool("mouseup 1") && WaitUntil([&] { return IsWindowVisible(screen) != FALSE; });
    return GetWindowRect(screen, &shown) && back && !Steady(shown).empty();
  }
};

// From the reset values or no file, every field set by a drag (the surname before the file number,
// which decides a WinDev form); VALIDER writes what the stand-in's table says; a click hands off.
TEST_P(FinderE2e, ConfiguredByDragsThenHandsOffThePatientShown) {
  const standin::Layout layout = standin::LayoutOf(GetParam().mode);
  practice_.Kill();
  const bool demo = GetParam().mode == standin::Mode::Demo;
  ShowPatient(standin::PatientFile() + (demo ? standin::kDemoCivilite : ""), GetParam().mode);
  HWND practice = WaitForTopLevel(PortableText().FromAnsi(layout.className), practice_.Id());
  for (const wchar_t* file : {kTech, kTech2}) DeleteFileW(file);
  LinkSettings reset;
  Win32FileSystem files;
  if (!GetParam().fromNothing) ApplyResetValues(reset), SaveLinkSettings(reset, {kTech, kTech2}, files, Win32Text());
  StartLink();
  ASSERT_TRUE(!GetParam().fromNothing || AnswerMessageBox(MessageBoxOfLink(), IDOK));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"ctrl"}));
  // Reported, then the reset values said to be where the configuration starts from.
  for (int box = 0; box < 2 && GetParam().fromNothing; ++box) ASSERT_TRUE(AnswerMessageBox(MessageBoxOfLink(), IDOK));
  HWND screen = ShownScreen();
  ASSERT_NE(screen, nullptr);
  RECT frame{};
  GetWindowRect(practice, &frame);
  ASSERT_TRUE(DragTo(screen, Field::Nom, {frame.right - 15, frame.bottom - 15}));
  Screenshot("e2e-finder-drag-" + GetParam().Name());
  ASSERT_TRUE(Release(screen));
  for (int entry : {9, 10, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14}) {  // each dropped inside its control
    const auto& rows = layout.controls;
    auto row = std::ranges::find(rows, entry, &standin::Control::names) - rows.begin();
    POINT at{rows[row].x, rows[row].y};
    for (auto up = rows[row].parent; up >= 0; up = rows[up].parent) at = POINT{at.x + rows[up].x, at.y + rows[up].y};
    ClientToScreen(practice, &at);
    const POINT to{at.x + rows[row].width - 4, at.y + rows[row].height / 2};
    ASSERT_TRUE(DragTo(screen, FieldOfEntry(entry), to)) << entry;
    // The guide's pictures: the pointer over the file number, where it is and what is framed
    // (neither shows in a screenshot under Wine), then the screen with the preview.
    if (demo && entry == 10) {
      Screenshot("e2e-finder-hover-demo");
      char where[96];  // the pointer, then the rectangle framed
      WriteBytes(BuildDir() + L"/e2e-finder-hover-demo.txt",
                 std::string(where, std::snprintf(where, sizeof where, "%ld %ld %ld %ld %ld %ld\n", to.x, to.y, at.x,
                                                  at.y, at.x + rows[row].width, at.y + rows[row].height)));
    }
    ASSERT_TRUE(Release(screen)) << entry;
    if (demo && entry == 10) Screenshot("e2e-finder-dropped-demo");
  }
  Screenshot("e2e-finder-configured-" + GetParam().Name());
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis) && BackToLauncher(screen));
  // Visiodent's title is matched live: its entry holds the title shown at the drop.
  std::array<std::string, 17> expected = standin::TechLines(layout);
  char title[256] = {};
  if (GetParam().mode == standin::Mode::Visiodent)
    expected[16] = std::string(title, GetWindowTextA(practice, title, 256)) + '\0';
  EXPECT_EQ(ReadBytes(kTech), standin::TechFileBytes(expected));
  EXPECT_EQ(ReadBytes(kTech2), ReadBytes(kTech));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  // The launcher reads the patient once it is active again (slowly, through the accessibility
  // interface, under Wine), and drops a press made meanwhile: the click waits for its thread.
  Sleep(300), SendMessageTimeoutW(launcher_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
}

using standin::Mode;
const FinderCase kFinderCases[] = {{Mode::Plain, false},     {Mode::Julie, false}, {Mode::WinDev, false},
                                   {Mode::Visiodent, false}, {Mode::WinDev, true}, {Mode::Demo, false},
                                   {Mode::Drawn, false}};
INSTANTIATE_TEST_SUITE_P(EachPractice, FinderE2e, ::testing::ValuesIn(kFinderCases),
                         [](const auto& info) { return info.param.Name(); });

}  // namespace
}  // namespace corvane::e2e
