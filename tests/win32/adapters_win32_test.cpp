// The Win32 adapters against real windows, files, processes and message boxes of Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <thread>

#include "handoff/handoff_records.h"
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

// The hand-off against the real files, code page, environment, program start and message boxes,
// in the test prefix's C:\SIDEXIS.
const wchar_t kFolder[] = L"C:\\SIDEXIS", kSiomin[] = L"C:\\SIDEXIS\\siomin.sdx",
              kSiomin2[] = L"C:\\SIDEXIS\\siomin2.sdx";
const HandOffValues kLefevre{L"LEFÈVRE", L"Hélène", L"02/11/1970", L"88", L"270117512345678"};

class HandOffWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshFolder(kFolder);
    SetEnvironmentVariableW(L"COMPUTERNAME", L"CABINET1");
  }
  // Hands off LEFÈVRE Hélène through these programs and message boxes.
  bool Launch(ProgramStarter& programs, MessageBoxes& messages) {
    Platform platform = wine_.Using(programs, messages);
    SharedState state;
    state.patient.BeginHarvest();
    for (const auto& [field, value] : {std::pair{Field::Nom, kLefevre.nom},
                                       {Field::Prenom, kLefevre.prenom},
                                       {Field::DateNaissance, kLefevre.dateNaissance},
                                       {Field::NumDossier, kLefevre.numDossier},
                                       {Field::NumSS, kLefevre.numSS}})
      state.patient.StoreHarvested(field, value);
    state.patient.CompleteHarvest();
    return LaunchSidexis(state, {{}, kSiomin, kSiomin2, L"C:\\SIDEXIS\\Sidexis.exe"}, platform);
  }
  // Both files hold the N and A records in Windows-1252 (the letters by the portable table).
  void ExpectLefevreInBothFiles() {
    const HandOffRecords records = BuildHandOffRecords(kLefevre, L"CABINET1", wine_.clock.now, PortableText());
    EXPECT_EQ(ReadBytes(kSiomin), records.n + records.a);
    EXPECT_EQ(ReadBytes(kSiomin2), records.n + records.a);
    EXPECT_EQ(ReadBytes(kSiomin).substr(4, 16), std::string("LEF\xC8VRE\0H\xE9l\xE8ne_88", 16));
  }
  void ExpectOneReport(const std::wstring& naming, const std::wstring& ending) {
    EXPECT_TRUE(wine_.programs.started.empty());
    ASSERT_EQ(wine_.messages.shown.size(), 1u);
    EXPECT_NE(wine_.messages.shown[0].text.find(naming), std::wstring::npos) << wine_.messages.shown[0].text;
    EXPECT_TRUE(wine_.messages.shown[0].text.ends_with(ending)) << wine_.messages.shown[0].text;
  }

  WinePlatform wine_;
};

// Both files written, then the box (modal on this thread: another reads it and presses OK).
TEST_F(HandOffWin32Test, MissingProgramIsShownInABoxAfterTheFilesAreWritten) {
  Win32ProgramStarter programs;
  Win32MessageBoxes messages;
  std::wstring text, caption;
  std::thread person([&] {
    if (HWND box = WaitForMessageBox(GetCurrentProcessId(), std::chrono::seconds(30))) {
      text = MessageBoxText(box);
      caption = WindowCaption(box);
      AnswerMessageBox(box, IDOK);
    }
  });
  EXPECT_FALSE(Launch(programs, messages));
  person.join();
  EXPECT_EQ(caption, L"Tarnwick");
  EXPECT_TRUE(text.starts_with(L"Impossible de démarrer Sidexis (C:\\SIDEXIS\\Sidexis.exe) : ")) << text;
  EXPECT_TRUE(text.ends_with(L" (erreur N° 2).")) << text;
  ExpectLefevreInBothFiles();
}

TEST_F(HandOffWin32Test, MissingFolderIsReportedAsAHandOffFailureAndNothingStarts) {
  RemoveFolder(kFolder);
  EXPECT_FALSE(Launch(wine_.programs, wine_.messages));
  ExpectOneReport(kSiomin, L". Erreur N° " + std::to_wstring(ERROR_PATH_NOT_FOUND) + L" dans LignesCreees.");
  EXPECT_FALSE(FileExists(kFolder));
}

// The X-ray program (its stand-in, another process) holds siomin2.sdx open without sharing: the
// hand-off is refused before either file changes, and says which file.
TEST_F(HandOffWin32Test, ASecondFileHeldByAnotherProgramLeavesBothFilesAsTheyWere) {
  WriteBytes(kSiomin, "earlier one");
  WriteBytes(kSiomin2, "earlier two");
  ChildProcess holder(StandinPath(L"practice_standin"), L"hold");
  ASSERT_TRUE(WaitUntil([] { return FileExists(L"C:\\SIDEXIS\\siomin2.sdx.held"); }));
  EXPECT_FALSE(Launch(wine_.programs, wine_.messages));
  holder.Kill();
  EXPECT_EQ(ReadBytes(kSiomin), "earlier one");
  EXPECT_EQ(ReadBytes(kSiomin2), "earlier two");
  ExpectOneReport(kSiomin2, L" dans LignesCreees.");
}

}  // namespace
}  // namespace corvane
