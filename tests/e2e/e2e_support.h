#pragma once
// The end-to-end bench: the real CorvaneLink.exe beside the stand-in practice program and the
// stand-in X-ray program at C:\SIDEXIS\Sidexis.exe, real input (xdotool on the X display under
// Wine's virtual desktop), and screenshots in the build folder for people to look at.
#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/launcher_presenter.h"
#include "launcher/launcher_win32.h"
#include "settings/screen/screen_win32.h"
#include "tests/support/wine_support.h"

namespace corvane::e2e {

using namespace corvane::testing;

inline constexpr wchar_t kTech[] = LR"(C:\Sidexis\Tech.txt)", kTech2[] = LR"(C:\Sidexis\Tech2.txt)";
inline constexpr wchar_t kSiomin[] = LR"(C:\SIDEXIS\siomin.sdx)", kSiomin2[] = LR"(C:\SIDEXIS\siomin2.sdx)";
inline constexpr wchar_t kStarts[] = LR"(C:\SIDEXIS\standin-starts.txt)";
inline constexpr wchar_t kPatientFile[] = LR"(C:\corvane-e2e\patient.txt)";
inline const std::wstring kShownFile = kPatientFile + standin::Wide(standin::kShownSuffix);

// A fresh C:\SIDEXIS with the settings for the plain stand-in showing the demo patient; the link
// once StartLink() started it.
class LinkTest : public ::testing::Test {
 protected:
  // A path on Z: (the host's /) as the host sees it.
  static std::string UnixPath(const std::wstring& path) {
    std::string unix;
    for (wchar_t c : path.substr(2)) unix += c == L'\\' ? '/' : static_cast<char>(c);
    return unix;
  }
  // Runs a host command through /bin/sh; true when it ended with 0. Wine cannot wait on a host
  // process: the shell leaves its exit status in a file.
  static bool RunHost(const std::string& command) {
    static int serial = 0;
    const std::wstring marker = BuildDir() + L"\\host-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(++serial) + L".status";
    const std::string line = "/bin/sh -c \"" + command + "; echo $? > '" + UnixPath(marker) + "'\"";
    ChildProcess shell;
    const bool ok = shell.Start({}, std::wstring(line.begin(), line.end())) &&
                    WaitUntil([&] { return !ReadBytes(marker).empty(); }, std::chrono::seconds(20)) &&
                    ReadBytes(marker).starts_with("0");
    DeleteFileW(marker.c_str());
    return ok;
  }
  static bool Xdotool(const std::string& arguments) { return RunHost("/usr/bin/xdotool " + arguments); }
  static std::string At(POINT p) { return " " + std::to_string(p.x) + " " + std::to_string(p.y); }
  // A press and release of `button` (1 left, 2 middle, 3 right) at a screen point, with these
  // keys (xdotool names: shift, ctrl, alt) held.
  static bool ClickAt(POINT point, int button = 1, const std::vector<std::string>& keys = {}) {
    std::string command = "mousemove" + At(point);
    for (const auto& key : keys) command += " keydown " + key;
    command += " click " + std::to_string(button);
    for (const auto& key : keys) command += " keyup " + key;
    return Xdotool(command);
  }
  static POINT CentreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  static void Screenshot(const std::string& name) {
    RunHost("/usr/bin/import -window root '" + UnixPath(BuildDir()) + "/" + name + ".png'");
  }
  // Answers a message box and waits until it is gone.
  static bool Answer(HWND box, int button) {
    AnswerMessageBox(box, button);
    return WaitUntil([&] { return !IsWindow(box); });
  }

  void SetUp() override {
    FreshFolder(LR"(C:\SIDEXIS)");
    // A stand-in X-ray program started at the end of the test before frees its file soon.
    const std::wstring sidexis = StandinPath(L"practice_standin");
    ASSERT_TRUE(WaitUntil([&] { return CopyFileW(sidexis.c_str(), LR"(C:\SIDEXIS\Sidexis.exe)", FALSE) != 0; }));
    WriteSettings("0");
    FreshFolder(LR"(C:\corvane-e2e)");
    ShowPatient(standin::PatientFile());
  }
  void TearDown() override {
    link_.Kill();
    practice_.Kill();
  }
  // Tech.txt (and Tech2.txt) for the stand-in in that mode, with entry 15 (the screen flag).
  static std::string SettingsBytes(const std::string& screenFlag, standin::Mode mode = standin::Mode::Plain) {
    auto lines = standin::TechLines(standin::LayoutOf(mode));
    lines[14] = screenFlag;
    return standin::TechFileBytes(lines);
  }
  static void WriteSettings(const std::string& screenFlag, standin::Mode mode = standin::Mode::Plain) {
    for (const wchar_t* file : {kTech, kTech2}) WriteBytes(file, SettingsBytes(screenFlag, mode));
  }
  // The practice program (started in `mode` when not running) shows this patient file.
  void ShowPatient(const std::string& file, standin::Mode mode = standin::Mode::Plain) {
    DeleteFileW(kShownFile.c_str());
    WriteBytes(kPatientFile, file);
    ASSERT_TRUE(practice_.IsRunning() || practice_.StartPractice(mode, kPatientFile));
    ASSERT_TRUE(WaitUntil([] { return FileExists(kShownFile); }));
  }
  // Starts CorvaneLink.exe and waits for its launcher, shown and ready for input.
  void StartLink() {
    ASSERT_TRUE(link_.Start(BuildDir() + L"\\CorvaneLink.exe"));
    ASSERT_NE(launcher_ = WaitForTopLevel(kLauncherClassName, link_.Id()), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return LauncherVisible(); }));
    link_.WaitIdle();
  }
  POINT OnTooth() const {  // away from the "?" box
    POINT point{25, 35};
    ClientToScreen(launcher_, &point);
    return point;
  }
  bool LauncherVisible() const { return IsWindowVisible(launcher_); }
  bool BackToLauncher(HWND screen) const {
    return WaitUntil([&] { return LauncherVisible() && !IsWindowVisible(screen); });
  }
  // The screen when shown, else null; VisibleScreen() waits for it.
  HWND ShownScreen() const {
    HWND screen = WaitForTopLevel(kScreenClassName, link_.Id(), nullptr, {});
    return IsWindowVisible(screen) ? screen : nullptr;
  }
  HWND VisibleScreen() const {
    HWND screen = nullptr;
    WaitUntil([&] { return (screen = ShownScreen()) != nullptr; });
    return screen;
  }
  // Clicks the tooth holding `keys`; the screen it opens, or null. Under Wine a click carries
  // Shift, Ctrl and Alt only when the launcher's thread had the keyboard as they went down.
  HWND OpenScreen(const std::vector<std::string>& keys) {
    WaitUntil([&] { return GetForegroundWindow() == launcher_; });
    return ClickAt(OnTooth(), 1, keys) ? VisibleScreen() : nullptr;
  }
  static bool Press(HWND screen, int id) { return ClickAt(CentreOf(GetDlgItem(screen, id))); }
  HWND MessageBoxOfLink() const { return WaitForMessageBox(link_.Id()); }

  int Starts() const { return static_cast<int>(std::ranges::count(ReadBytes(kStarts), '\n')); }
  // The X-ray program started `starts` times, the last with the demo patient (or the name and
  // file given) in both hand-off files, complete before it started.
  void ExpectHandedOff(int starts, const std::string& nameAndFile = std::string("LEF\xC8VRE\0HELENE_1207", 19)) {
    ASSERT_TRUE(WaitUntil([&] { return Starts() >= starts; })) << "the X-ray program was not started";
    const std::string handOff = ReadBytes(kSiomin);
    EXPECT_NE(handOff.find(nameAndFile), std::string::npos);
    EXPECT_NE(handOff.find("285037512345678"), std::string::npos);
    EXPECT_EQ(ReadBytes(kSiomin2), handOff);
    EXPECT_TRUE(ReadBytes(kStarts).ends_with(Hex(handOff) + "\r\n"));
  }

  ChildProcess practice_, link_;
  HWND launcher_ = nullptr;
};

}  // namespace corvane::e2e
