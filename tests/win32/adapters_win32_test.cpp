// The Win32 adapters against real windows, files, processes and message boxes of Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <thread>

#include "link/read_patient_fields.h"
#include "platform/link_error.h"
#include "platform/win32/window_base.h"
#include "settings/link_settings.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::testing;

// Walk, class name and text of real windows of this process: the adapter stops a walk when asked and
// lets a failure through, fits the class name to its buffer, reads at most 254 bytes (a careless
// program, below, fills the whole buffer without a NUL), gives a text up only on a time-out.
LRESULT CALLBACK FullTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message != WM_GETTEXT) return DefWindowProcA(window, message, wParam, lParam);
  std::memset(reinterpret_cast<char*>(lParam), 'x', wParam);
  return static_cast<LRESULT>(wParam);
}

HWND Make(const char* className, HWND parent, int id, const char* text = "") {
  return CreateWindowExA(0, className, text, (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE, 10, 10, 100, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

TEST(WindowQueryWin32Test, WalkStopsAndFailsAsAskedClassAndTextFitTheirBuffers) {
  WNDCLASSA fullText{};
  fullText.lpfnWndProc = FullTextProc;
  fullText.hInstance = GetModuleHandleA(nullptr);
  fullText.lpszClassName = "CorvaneFullText";
  RegisterClassA(&fullText);
  HWND top = Make("Static", nullptr, 0), edit = Make("Edit", top, 10, "Dupont"), panel = Make("Static", top, 20);
  HWND panelEdit = Make("Edit", panel, -5), careless = Make("CorvaneFullText", top, 30);
  Win32WindowQuery windows;
  std::vector<WindowHandle> walked;
  const auto walk = [&](std::size_t stopAfter) {
    walked.clear();
    windows.EnumerateDescendants(HandleOf(top), [&](WindowHandle w) {
      walked.push_back(w);
      if (walked.size() == 3 && stopAfter == 0) throw std::runtime_error("a fault");
      return walked.size() != stopAfter;
    });
  };
  walk(99);
  EXPECT_EQ(walked, (std::vector{HandleOf(edit), HandleOf(panel), HandleOf(panelEdit), HandleOf(careless)}));
  walk(2);
  EXPECT_EQ(walked.size(), 2u);
  EXPECT_THROW(walk(0), std::runtime_error) << "a failure inside the walk reaches the caller, not USER32";
  EXPECT_EQ(walked.size(), 3u);

  EXPECT_EQ(windows.ClassName(HandleOf(careless)), "CorvaneFullText");
  EXPECT_EQ(windows.ClassName(HandleOf(careless), 8), "Corvane") << "at most the buffer less its NUL";
  EXPECT_EQ(windows.ClassName(HandleOf(careless), 0), "");

  EXPECT_EQ(windows.ReadText(HandleOf(edit)).status, TextRead::Status::Read);
  EXPECT_EQ(windows.ReadText(HandleOf(edit)).bytes, "Dupont");
  const std::string longText = std::string(200, 'a') + std::string(100, 'b');
  SetWindowTextA(edit, longText.c_str());
  EXPECT_EQ(windows.ReadText(HandleOf(edit)).bytes, longText.substr(0, 254));
  SetWindowTextA(edit, "Lef\xE8vre");
  EXPECT_EQ(windows.ReadText(HandleOf(edit)).bytes, "Lef\xE8vre") << "ANSI bytes, untouched";
  EXPECT_EQ(windows.ReadText(HandleOf(careless)).bytes, std::string(254, 'x')) << "never past byte 254";
  DestroyWindow(top);
  EXPECT_EQ(windows.ReadText(HandleOf(edit)).status, TextRead::Status::NotAWindow);
  EXPECT_EQ(windows.ReadText(WindowHandle()).status, TextRead::Status::NotAWindow);
}

// A practice program that rebuilds its panel for the next patient destroys a control while our
// read of it waits: no window, and the harvest goes on. Only a program that keeps us waiting past
// the time-out stopped answering.
TEST(WindowQueryWin32Test, AControlDestroyedDuringTheReadIsNoWindowOnlyATimeOutIsNotAnswering) {
  const auto busyMs = static_cast<DWORD>(kTextReadTimeout.count());
  for (const auto& [busy, expected] : {std::pair{busyMs / 8, TextRead::Status::NotAWindow},
                                       std::pair{busyMs + busyMs / 4, TextRead::Status::NotAnswering}}) {
    HWND control = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread program([&, busy] {
      control = Make("Edit", nullptr, 0, "Dupont");
      SetEvent(created);
      Sleep(busy);  // busy, not pumping: our WM_GETTEXT waits
      DestroyWindow(control);
    });
    WaitForSingleObject(created, INFINITE);
    EXPECT_EQ(Win32WindowQuery().ReadText(HandleOf(control)).status, expected) << "busy " << busy << " ms";
    program.join();
    CloseHandle(created);
  }
}

// Wine gives the test programs the Western code page; the portable tables of the native tests give
// what Windows gives, or a test could pass natively while a patient is written wrong.
TEST(TextWin32Test, AnsiCodePageIsWesternAndThePortableTablesAgreeWithTheSystem) {
  ASSERT_EQ(GetACP(), 1252u);
  const PortableText portable;
  const Win32Text system;
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::wstring decoded = system.FromAnsi(byte);
    EXPECT_EQ(portable.FromAnsi(byte), decoded) << "byte " << b;
    EXPECT_EQ(portable.ToAnsi(decoded), system.ToAnsi(decoded)) << "byte " << b;
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(portable.ToUpper(decoded[0]), system.ToUpper(decoded[0])) << "character of byte " << b;
  }
  // Outside the code page: a '?' on both sides, never a look-alike letter.
  EXPECT_EQ(system.ToAnsi(L"\u0141\u0119\u4E2D"), "???");
  EXPECT_EQ(portable.ToAnsi(L"\u0141\u0119\u4E2D"), "???");
}

// The one window procedure: an exception that reaches it becomes a box and the window goes on; the
// object is detached when its window goes.
class ThrowingWindow : public WindowBase {
 public:
  bool Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    return RegisterWindowClass(instance, L"CorvaneThrowingWindow") &&
           CreateAttached(0, L"CorvaneThrowingWindow", L"", WS_POPUP, {0, 0, 10, 10}, nullptr, 0, instance);
  }
  bool destroyed = false;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) throw std::runtime_error("a fault of ours");
    return message == WM_APP + 1 ? 42 : Default(message, wParam, lParam);
  }
  void OnDestroyed() noexcept override { destroyed = true; }
};

TEST(WindowBaseTest, AnExceptionBecomesABoxTheWindowGoesOnAndItsEndDetachesTheObject) {
  ThrowingWindow window;
  ASSERT_TRUE(window.Create());
  std::wstring shown;
  std::thread person([&] {
    HWND box = WaitForMessageBox(GetCurrentProcessId());
    shown = MessageBoxText(box);
    AnswerMessageBox(box, IDOK);
  });
  EXPECT_EQ(SendMessageW(window.Window(), WM_APP, 0, 0), 0);
  person.join();
  EXPECT_EQ(shown, L"Une erreur inattendue a interrompu la commande.");
  EXPECT_EQ(SendMessageW(window.Window(), WM_APP + 1, 0, 0), 42);
  DestroyWindow(window.Window());
  EXPECT_TRUE(window.destroyed);
  EXPECT_EQ(window.Window(), nullptr);
}

// The settings files on a real folder: Windows-1252 on disk, failures that leave the files whole.
TEST(SettingsFilesWin32Test, AccentedEntriesRoundTripInWindows1252AMissingFolderFailsAHeldTech2IsLeftWhole) {
  const std::wstring folder = L"C:\\corvane-settings";
  const SettingsPaths paths{folder + L"\\Tech.txt", folder + L"\\Tech2.txt"};
  WinePlatform wine;
  FreshFolder(folder);
  LinkSettings saved;
  ApplyResetValues(saved);
  saved.SetEntry(1, L"Gaëlle");
  saved.SetEntry(2, L"Œuvre à 5 €");
  saved.SetEntry(3, L"");
  saved.SetEntry(4, L"Łódź");  // not in the code page: '?' rather than a look-alike letter
  saved.SetEntry(17, std::wstring(L"Fiche d'état civil") + L'\0');
  SaveLinkSettings(saved, paths, wine.files, wine.text);
  std::string expected = "Ga\xEBlle\r\n\x8Cuvre \xE0 5 \x80\r\n\r\n?\xF3\x64?\r\n";
  for (int n = 5; n <= 14; ++n) expected += "100\r\n";
  expected += "0\r\nNotepad\r\nFiche d'\xE9tat civil" + std::string(1, '\0') + "\r\n";
  EXPECT_EQ(ReadBytes(paths.tech), expected);
  EXPECT_EQ(ReadBytes(paths.tech2), expected);
  EXPECT_FALSE(FileExists(paths.tech + L".tmp"));
  LinkSettings loaded;
  LoadLinkSettings(loaded, paths, wine.files, wine.text);
  saved.SetEntry(4, L"?ód?");
  EXPECT_EQ(loaded, saved);

  // An editor holds Tech2.txt open without sharing: Tech.txt is replaced, Tech2.txt stays whole.
  HANDLE held = CreateFileW(paths.tech2.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  saved.SetEntry(10, L"1001");
  EXPECT_THROW(SaveLinkSettings(saved, paths, wine.files, wine.text), LinkError);
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(paths.tech2), expected);
  EXPECT_NE(ReadBytes(paths.tech), expected);
  EXPECT_FALSE(FileExists(paths.tech2 + L".tmp"));

  // No folder: the save and the load fail with a message naming the file, the link never makes
  // the folder and the settings in memory stay.
  RemoveFolder(folder);
  try {
    SaveLinkSettings(saved, paths, wine.files, wine.text);
    ADD_FAILURE() << "the save should have failed";
  } catch (const LinkError& error) {
    EXPECT_NE(error.Description().find(L"Tech.txt"), std::wstring::npos);
    EXPECT_NE(error.Number(), 0);
  }
  EXPECT_FALSE(FileExists(folder));
  const LinkSettings before = loaded;
  EXPECT_THROW(LoadLinkSettings(loaded, paths, wine.files, wine.text), LinkError);
  EXPECT_EQ(loaded, before);
}

// The hand-off of LEFÈVRE Hélène, harvested just before, through the real files, code page and
// environment into C:\SIDEXIS (the program start and its box: the end-to-end tests).
const wchar_t kSiomin[] = L"C:\\SIDEXIS\\siomin.sdx", kSiomin2[] = L"C:\\SIDEXIS\\siomin2.sdx";
bool Launch(WinePlatform& wine, SharedState& state) {
  SetEnvironmentVariableW(L"COMPUTERNAME", L"CABINET1");
  state.patient.BeginHarvest();
  for (const auto& [field, value] : {std::pair{Field::Nom, L"LEFÈVRE"},
                                     {Field::Prenom, L"Hélène"},
                                     {Field::DateNaissance, L"02/11/1970"},
                                     {Field::NumDossier, L"88"},
                                     {Field::NumSS, L"270117512345678"}})
    state.patient.StoreHarvested(field, value);
  state.patient.CompleteHarvest();
  return LaunchSidexis(state, {{}, kSiomin, kSiomin2, L"C:\\SIDEXIS\\Sidexis.exe"}, wine.platform);
}

// No C:\SIDEXIS, or siomin2.sdx held open without sharing by another program (the stand-in X-ray
// program): the hand-off fails before either file changes, says which file, and starts nothing.
TEST(HandOffWin32Test, AMissingFolderOrASecondFileHeldByAnotherProgramLeavesTheFilesAndStartsNothing) {
  for (const bool held : {false, true}) {
    WinePlatform wine;
    SharedState state;
    ChildProcess holder;
    FreshFolder(L"C:\\SIDEXIS");
    WriteBytes(kSiomin, "earlier one");
    WriteBytes(kSiomin2, "earlier two");
    if (!held) RemoveFolder(L"C:\\SIDEXIS");
    ASSERT_TRUE(!held || holder.Start(StandinPath(L"practice_standin"), L"hold"));
    ASSERT_TRUE(WaitUntil([&] { return !held || FileExists(L"C:\\SIDEXIS\\siomin2.sdx.held"); }));
    EXPECT_FALSE(Launch(wine, state));
    holder.Kill();
    EXPECT_EQ(ReadBytes(kSiomin) + ReadBytes(kSiomin2), held ? "earlier oneearlier two" : "");
    EXPECT_EQ(FileExists(L"C:\\SIDEXIS"), held) << "the link never makes the folder";
    EXPECT_TRUE(wine.programs.started.empty());
    ASSERT_EQ(wine.messages.shown.size(), 1u);
    const std::wstring& report = wine.messages.shown[0].text;
    EXPECT_NE(report.find(held ? kSiomin2 : kSiomin), std::wstring::npos) << report;
    EXPECT_TRUE(report.ends_with(held ? L" dans LignesCreees." : L". Erreur N° 3 dans LignesCreees.")) << report;
  }
}

}  // namespace
}  // namespace corvane
