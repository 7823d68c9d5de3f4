#pragma once
// The end-to-end bench: the real CorvaneLink.exe beside the stand-in practice program (plain)
// and the stand-in X-ray program at C:\SIDEXIS\Sidexis.exe, driven by real input (xdotool on
// the X display under Wine's virtual desktop), and screenshots saved in the build folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launcher/launcher_win32.h"
#include "settings/screen/screen_win32.h"
#include "tests/e2e/demo_patient.h"
#include "tests/standins/standin_layout.h"
#include "tests/support/wine_support.h"

namespace corvane::e2e {

using testing::BuildDir;
using testing::Hex;
using testing::ReadBytes;

inline constexpr wchar_t kTech[] = LR"(C:\Sidexis\Tech.txt)";
inline constexpr wchar_t kTech2[] = LR"(C:\Sidexis\Tech2.txt)";
inline constexpr wchar_t kSiomin[] = LR"(C:\SIDEXIS\siomin.sdx)";
inline constexpr wchar_t kSiomin2[] = LR"(C:\SIDEXIS\siomin2.sdx)";
inline constexpr wchar_t kStarts[] = LR"(C:\SIDEXIS\standin-starts.txt)";
inline constexpr wchar_t kPatientFile[] = LR"(C:\corvane-e2e\patient.txt)";
inline const std::wstring kShownFile = std::wstring(kPatientFile) + L".shown";

// A Windows path (Z:\...) as the host sees it.
inline std::string UnixPath(const std::wstring& windowsPath) {
  std::string path;
  for (wchar_t c : windowsPath.substr(windowsPath.size() > 1 && windowsPath[1] == L':' ? 2 : 0))
    path += c == L'\\' ? '/' : static_cast<char>(c);
  return path;
}

// Runs a host command line (through /bin/sh); true when it ended with 0. Wine cannot wait on
// a host process, so the shell leaves its exit status in a file.
inline bool RunHost(const std::string& command) {
  static int serial = 0;
  const std::wstring marker = BuildDir() + L"\\host-command-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial) + L".status";
  DeleteFileW(marker.c_str());
  const std::string line = "/bin/sh -c \"" + command + "; echo $? > '" + UnixPath(marker) + "'\"";
  std::wstring wide(line.begin(), line.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (!testing::WaitUntil([&] { return !ReadBytes(marker).empty(); }, std::chrono::seconds(20))) return false;
  const std::string status = ReadBytes(marker);
  DeleteFileW(marker.c_str());
  return status.rfind("0", 0) == 0;
}

inline bool Xdotool(const std::string& arguments) {
  return RunHost("/usr/bin/xdotool " + arguments);
}

// A press and release of `button` (1 left, 2 middle, 3 right, X numbering) at a screen point,
// with the keys named in `keys` (xdotool names: shift, ctrl, alt) held during the press.
inline bool ClickAt(POINT point, int button = 1, const std::vector<std::string>& keys = {}) {
  std::string command = "mousemove " + std::to_string(point.x) + " " + std::to_string(point.y);
  for (const auto& key : keys) command += " keydown " + key;
  command += " click " + std::to_string(button);
  for (const auto& key : keys) command += " keyup " + key;
  return Xdotool(command);
}

inline POINT CentreOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Saves the whole screen as <build folder>\<name>.png and prints its host path.
inline void Screenshot(const std::string& name) {
  const std::string path = UnixPath(BuildDir()) + "/" + name + ".png";
  RunHost("/usr/bin/import -window root '" + path + "'");
  std::printf("screenshot: %s\n", path.c_str());
}

inline std::wstring ItemText(HWND window, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(window, id, text, 512);
  return text;
}

// Answers a message box and waits until it is gone.
inline bool Answer(HWND box, int button) {
  testing::AnswerMessageBox(box, button);
  return testing::WaitUntil([&] { return !IsWindow(box); });
}

// Everything a test needs: a fresh C:\SIDEXIS with the settings for the plain stand-in, the
// stand-in showing the demo patient, and the link started by StartLink().
class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::FreshFolder(LR"(C:\SIDEXIS)");
    // A stand-in started at the very end of the test before may still be running: its file
    // is free again once it has written its line.
    ASSERT_TRUE(testing::WaitUntil([] {
      return CopyFileW(testing::StandinPath(L"sidexis_standin").c_str(), LR"(C:\SIDEXIS\Sidexis.exe)", FALSE) != 0;
    }));
    WriteSettings("0");
    testing::FreshFolder(LR"(C:\corvane-e2e)");
    testing::WriteBytes(kPatientFile, PatientFile());
    ASSERT_TRUE(practice_.StartPractice(standin::Mode::Plain, kPatientFile));
    ASSERT_TRUE(testing::WaitUntil([] { return testing::FileExists(kShownFile); }));
  }
  void TearDown() override {
    link_.Kill();
    practice_.Kill();
  }

  // Tech.txt and Tech2.txt configured for the stand-in in that mode, entry 15 as given.
  static std::string SettingsBytes(const std::string& showScreenFlag, standin::Mode mode = standin::Mode::Plain) {
    auto lines = standin::TechLines(standin::LayoutOf(mode));
    lines[14] = showScreenFlag;
    return standin::TechFileBytes(lines);
  }
  static void WriteSettings(const std::string& showScreenFlag, standin::Mode mode = standin::Mode::Plain) {
    testing::WriteBytes(kTech, SettingsBytes(showScreenFlag, mode));
    testing::WriteBytes(kTech2, SettingsBytes(showScreenFlag, mode));
  }

  // Starts CorvaneLink.exe and waits for its launcher to be shown and ready for input.
  void StartLink() {
    ASSERT_TRUE(link_.Start(BuildDir() + L"\\CorvaneLink.exe"));
    launcher_ = testing::WaitForTopLevel(kLauncherClassName, link_.Id());
    ASSERT_NE(launcher_, nullptr) << "the launcher did not appear";
    ASSERT_TRUE(testing::WaitUntil([&] { return LauncherVisible(); }));
    link_.WaitIdle();
  }

  // A point on the tooth picture, away from the "?" box.
  POINT OnTooth() const {
    POINT point{25, 35};
    ClientToScreen(launcher_, &point);
    return point;
  }
  POINT OnHelpBox() const { return CentreOf(GetDlgItem(launcher_, launcher_id::kAide)); }
  bool LauncherVisible() const { return IsWindowVisible(launcher_) != FALSE; }
  // Waits until the launcher is back and `screen` gone.
  bool BackToLauncher(HWND screen) const {
    return testing::WaitUntil([&] { return LauncherVisible() && (!IsWindow(screen) || !IsWindowVisible(screen)); });
  }

  // The screen when it is shown, or null; VisibleScreen() waits for it.
  HWND ShownScreen() const {
    HWND screen = testing::WaitForTopLevel(kScreenClassName, link_.Id(), nullptr, std::chrono::milliseconds(0));
    return screen != nullptr && IsWindowVisible(screen) ? screen : nullptr;
  }
  HWND VisibleScreen() const {
    HWND screen = nullptr;
    testing::WaitUntil([&] { return (screen = ShownScreen()) != nullptr; });
    return screen;
  }
  // Opens the screen with a click on the tooth holding `keys`; the screen, or null. Under
  // Wine a click carries Shift and Ctrl only when its window's thread had the keyboard as they
  // went down: the launcher must be the foreground window, as it is once it came back.
  HWND OpenScreen(const std::vector<std::string>& keys) {
    if (!keys.empty()) testing::WaitUntil([&] { return GetForegroundWindow() == launcher_; });
    return ClickAt(OnTooth(), 1, keys) ? VisibleScreen() : nullptr;
  }
  static bool Press(HWND screen, int id) { return ClickAt(CentreOf(GetDlgItem(screen, id))); }

  // The first start of the X-ray program, with the demo patient in the hand-off; its bytes.
  std::string ExpectDemoPatientHandedOff() const {
    EXPECT_TRUE(WaitForStarts(1)) << "the X-ray program was not started";
    const std::string handOff = ReadBytes(kSiomin);
    EXPECT_NE(handOff.find("LEF\xC8VRE"), std::string::npos);
    EXPECT_NE(handOff.find("HELENE_1207"), std::string::npos);
    EXPECT_NE(handOff.find("285037512345678"), std::string::npos);
    return handOff;
  }
  int Starts() const {
    const std::string log = ReadBytes(kStarts);
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
  }
  bool WaitForStarts(int count) const {
    return testing::WaitUntil([&] { return Starts() >= count; });
  }

  // The message box the link shows (once its text is set and it is visible), or null.
  HWND MessageBoxOfLink() const {
    HWND box = testing::WaitForMessageBox(link_.Id());
    if (box != nullptr) testing::WaitUntil([&] { return IsWindowVisible(box) != FALSE; });
    return box;
  }

  testing::ChildProcess practice_;
  testing::ChildProcess link_;
  HWND launcher_ = nullptr;
};

}  // namespace corvane::e2e
