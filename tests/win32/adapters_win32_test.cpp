// The Win32 adapters against real windows, files, processes, message boxes and pixels under Wine.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <atomic>
#include <map>
#include <stdexcept>

#include "practice/highlight.h"
#include "link/command_failure.h"
#include "link/read_patient_fields.h"
#include "platform/win32/window_base.h"
#include "settings/link_settings.h"
#include "settings/screen/screen_layout.h"
#include "tests/fakes/fake_link.h"
#include "tests/support/window_facts.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::testing;

HWND Make(const char* className, HWND parent, int id, const char* text = "") {
  return CreateWindowExA(0, className, text, (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE, 10, 10, 100, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

// Real windows of a thread of their own, as the practice program's are; a class that is not the system's
// answers WM_GETTEXT with the child's bytes, filling the buffer without a NUL when they reach its end.
class ThreadWindows : public facts::WindowBuilder {
 public:
  ThreadWindows() : thread_([this] {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue that the posts below need
    for (id_ = GetCurrentThreadId(); GetMessageA(&message, nullptr, 0, 0) > 0; DispatchMessageA(&message))
      if (message.message == WM_APP) (*reinterpret_cast<std::function<void()>*>(message.lParam))(), done_ = true;
  }) { WaitUntil([&] { return id_ != 0; }); }
  ~ThreadWindows() override { PostThreadMessageA(id_, WM_QUIT, 0, 0), thread_.join(), texts_.clear(); }
  WindowHandle TopLevel(const std::string& className, const std::string& title) override {
    return Make({className, title, kTop}, nullptr, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST);
  }
  WindowHandle Add(WindowHandle parent, const facts::Child& c) override {
    return Make(c, HwndOf(parent), WS_CHILD | (c.visible ? WS_VISIBLE : 0) | (c.enabled ? 0 : WS_DISABLED));
  }
  void Destroy(WindowHandle window) override { On([&] { DestroyWindow(HwndOf(window)); }); }

 private:
  static LRESULT CALLBACK TextProc(HWND window, UINT message, WPARAM size, LPARAM buffer) noexcept {
    if (message != WM_GETTEXT || !texts_.contains(window)) return DefWindowProcA(window, message, size, buffer);
    return static_cast<LRESULT>(texts_[window].copy(reinterpret_cast<char*>(buffer), size));
  }
  WindowHandle Make(const facts::Child& c, HWND parent, DWORD style, DWORD ex = 0) {
    HWND made = nullptr;
    On([&] {
      const WNDCLASSA windowClass{0,       TextProc, 0,       0,       GetModuleHandleA(nullptr),
                                  nullptr, nullptr,  nullptr, nullptr, c.className.c_str()};
      RegisterClassA(&windowClass);  // refused for the system's classes and those already made
      made = CreateWindowExA(ex, c.className.c_str(), c.text.c_str(), style, c.rect.left, c.rect.top,
                             c.rect.right - c.rect.left, c.rect.bottom - c.rect.top, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
      texts_[made] = c.text;
    });
    return HandleOf(made);
  }
  void On(const std::function<void()>& work) {  // done by the windows' thread
    done_ = false, PostThreadMessageA(id_, WM_APP, 0, reinterpret_cast<LPARAM>(&work));
    WaitUntil([&] { return done_.load(); });
  }
  static inline std::map<HWND, std::string> texts_;
  std::atomic<DWORD> id_ = 0;
  std::atomic<bool> done_ = false;
  std::thread thread_;
};

TEST(WindowFactsWin32Test, RealWindowsOfAnotherThreadAnswerAsTheFactsSay) {
  for (const facts::Fact& fact : facts::kWindowFacts) {
    ThreadWindows windows;
    Win32WindowQuery query;
    EXPECT_EQ(fact.ask(windows, query), fact.answer) << fact.what;
  }
}

// A control destroyed while our read waits (a panel rebuilt for the next patient) is no window; only a
// program that keeps us waiting past the time-out stopped answering.
TEST(WindowQueryWin32Test, AControlDestroyedDuringTheReadIsNoWindowOnlyATimeOutIsNotAnswering) {
  const auto busyMs = static_cast<DWORD>(kTextReadTimeout.count());
  for (const auto& [busy, expected] : {std::pair{busyMs / 8, TextRead::Status::NotAWindow},
                                       std::pair{busyMs + busyMs / 4, TextRead::Status::NotAnswering}}) {
    std::atomic<HWND> control = nullptr;
    std::thread program([&, busy] {
      control = Make("Edit", nullptr, 0, "Dupont"), Sleep(busy);  // busy, not pumping: our WM_GETTEXT waits
      DestroyWindow(control);
    });
    WaitUntil([&] { return control != nullptr; });
    EXPECT_EQ(Win32WindowQuery().ReadText(HandleOf(control)).status, expected) << "busy " << busy << " ms";
    program.join();
  }
}

// A practice program that paints its fields, in another process: each caption and field where the layout
// puts it, a field with the patient's value of the moment, its one child window left to that window, which
// has no objects of its own; a frozen program is given up at the time limit, not waited for.
TEST(AccessibilityWin32Test, DrawnFieldsReadAsShownOrdinaryWindowsHaveNoneAFrozenProgramIsNotAnswering) {
  const std::wstring file = L"C:\\corvane-drawn.txt", title = L"Dossier patient";
  ChildProcess program;
  ASSERT_TRUE(program.StartPractice(standin::Mode::Drawn, file));
  HWND form = WaitForTopLevel(L"CorvaneDrawnPractice", program.Id(), &title);
  Win32Accessibility accessibility;
  std::optional<Rect> nameField;
  for (const auto& [number, nom] : {std::pair<std::string, std::string>{"1207", "Lef\xE8vre"}, {"1208", "Martin"}}) {
    const std::string patient = "\n" + standin::PatientFile(number, nom);
    WriteBytes(file, patient.substr(1));
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(file + L".shown") == number; }));
    POINT at{};
    ClientToScreen(form, &at);
    std::vector<AccessibleObject> expected;
    for (const standin::Control& c : standin::LayoutOf(standin::Mode::Drawn).controls) {
      const std::string key = "\n" + std::string(standin::kFieldKeys[c.shows]) + "=";
      const std::size_t found = patient.find(key), from = found + key.size();
      const std::string value = found != std::string::npos ? patient.substr(from, patient.find('\r', from) - from) : "";
      if (c.id == 0)
        expected.push_back({c.shows ? ROLE_SYSTEM_TEXT : ROLE_SYSTEM_STATICTEXT,
                            PortableText().FromAnsi(standin::kCaptions[c.names] + c.text),
                            PortableText().FromAnsi(value),
                            Rect{at.x + c.x, at.y + c.y, at.x + c.x + c.width, at.y + c.y + c.height}});
    }
    const AccessibleRead read = accessibility.ObjectsOf(HandleOf(form));
    ASSERT_EQ(std::pair(read.status, read.objects.size()), std::pair(AccessibleRead::Status::Read, expected.size()));
    nameField = expected[3].location;  // the name field, right of its caption
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(read.objects[i] == expected[i]) << "object " << i;
  }
  // The frame outlines a drawn field on its window's own DC; the second call puts every pixel back.
  const RECT part{nameField->left, nameField->top, nameField->right, nameField->bottom};
  const Pixels before = Steady(part);
  Win32WindowQuery windows;
  Win32Gdi gdi;
  HighlightWindow(HandleOf(form), 3, windows, gdi, nameField);
  EXPECT_TRUE(WaitUntil([&] { return CaptureScreen(part) != before; }));
  HighlightWindow(HandleOf(form), 3, windows, gdi, nameField);
  EXPECT_TRUE(WaitUntil([&] { return CaptureScreen(part) == before; }));
  HWND gone = Make("Static", nullptr, 0);
  DestroyWindow(gone);
  // An ordinary window, no window, a program stopped within the walk (after its answer to WM_GETOBJECT),
  // one stopped altogether.
  using enum AccessibleRead::Status;
  for (const auto& [window, hang, status] : {std::tuple{GetDlgItem(form, 1099), "", Read}, {gone, "", NotAWindow},
                                             {form, "HangOnRead=4", NotAnswering}, {form, "Hang=30", NotAnswering}}) {
    if (*hang) WriteBytes(file, standin::PatientFile(hang) + hang + "\r\n");
    ASSERT_TRUE(WaitUntil([&] { return !*hang || ReadBytes(file + L".shown") == hang; }));
    const auto start = std::chrono::steady_clock::now();
    const AccessibleRead read = accessibility.ObjectsOf(HandleOf(window));
    EXPECT_EQ(std::pair(read.status, read.objects.size()), std::pair(status, std::size_t{0})) << hang;
    EXPECT_LT(std::chrono::steady_clock::now() - start, kTextReadTimeout + std::chrono::seconds(3)) << hang;
  }
}

// Wine's code page is Western, and the native tests' portable tables give what Windows gives.
TEST(TextWin32Test, AnsiCodePageIsWesternAndThePortableTablesAgreeWithTheSystem) {
  ASSERT_EQ(GetACP(), 1252u);
  const PortableText portable;
  const Win32Text system;
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::wstring decoded = system.FromAnsi(byte);
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(std::tuple(portable.FromAnsi(byte), portable.ToAnsi(decoded), portable.ToUpper(decoded[0])),
              std::tuple(decoded, system.ToAnsi(decoded), system.ToUpper(decoded[0]))) << "byte " << b;
  }
  EXPECT_EQ(system.ToAnsi(L"\u0141\u0119\u4E2D") + portable.ToAnsi(L"\u0141\u0119\u4E2D"), "??????") << "no look-alike";
}

// The one window procedure: an exception that reaches it becomes a box and the window goes on.
class ThrowingWindow : public WindowBase {
 public:
  bool Create() {
    return RegisterWindowClass(GetModuleHandleW(nullptr), L"CorvaneThrowingWindow") &&
           CreateAttached(0, L"CorvaneThrowingWindow", L"", WS_POPUP, {0, 0, 10, 10}, nullptr, 0,
                          GetModuleHandleW(nullptr));
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) throw std::runtime_error("a fault of ours");
    return message == WM_APP + 1 ? 42 : Default(message, wParam, lParam);
  }
};

TEST(WindowBaseTest, AnExceptionBecomesABoxAndTheWindowGoesOn) {
  ThrowingWindow window;
  ASSERT_TRUE(window.Create());
  std::wstring shown;
  std::thread person([&] {
    HWND box = WaitForShown(L"#32770", GetCurrentProcessId());
    shown = MessageBoxText(box), AnswerMessageBox(box, IDOK);
  });
  EXPECT_EQ(SendMessageW(window.Window(), WM_APP, 0, 0), 0);
  person.join();
  EXPECT_EQ(shown, L"Une erreur inattendue a interrompu la commande.");
  EXPECT_EQ(SendMessageW(window.Window(), WM_APP + 1, 0, 0), 42);
}

// The settings files on a real folder: Windows-1252 on disk, failures that leave the files whole.
TEST(SettingsFilesWin32Test, AccentedEntriesRoundTripInWindows1252AMissingFolderFailsAHeldTech2LeavesBoth) {
  const std::wstring folder = L"C:\\corvane-settings";
  const SettingsPaths paths{folder + L"\\Tech.txt", folder + L"\\Tech2.txt"};
  Win32FileSystem files;
  const Win32Text text;
  FreshFolder(folder);
  LinkSettings saved, loaded;
  ApplyResetValues(saved);
  // Łódź is not in the code page: '?' rather than a look-alike letter.
  for (const auto& [n, value] : {std::pair{1, L"Gaëlle"}, {2, L"Œuvre à 5 €"}, {3, L""}, {4, L"Łódź"}})
    saved.SetEntry(n, value);
  saved.SetEntry(17, std::wstring(L"Fiche d'état civil") + L'\0'), SaveLinkSettings(saved, paths, files, text);
  std::string expected = "Ga\xEBlle\r\n\x8Cuvre \xE0 5 \x80\r\n\r\n?\xF3\x64?\r\n";
  for (int n = 5; n <= 14; ++n) expected += "100\r\n";
  expected += "0\r\nNotepad\r\nFiche d'\xE9tat civil" + std::string(1, '\0') + "\r\n";
  EXPECT_EQ(std::pair(ReadBytes(paths.tech), ReadBytes(paths.tech2)), std::pair(expected, expected));
  LoadLinkSettings(loaded, paths, files, text), saved.SetEntry(4, L"?ód?");
  EXPECT_EQ(loaded, saved);

  // An editor holds Tech2.txt open, sharing only the reading: it cannot be replaced, so Tech.txt,
  // replaced first, is put back; then held without sharing, nothing is written at all.
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{0}}) {
    HANDLE held = CreateFileW(paths.tech2.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW((saved.SetEntry(10, L"1001"), SaveLinkSettings(saved, paths, files, text)), LinkError);
    CloseHandle(held);
    EXPECT_EQ(std::pair(ReadBytes(paths.tech), ReadBytes(paths.tech2)), std::pair(expected, expected)) << sharing;
  }
  EXPECT_FALSE(std::filesystem::exists(paths.tech2 + L".tmp"));

  // No folder: the save and the load fail with a message naming the file; no folder is made.
  std::filesystem::remove_all(folder);
  const std::wstring failure = fakes::FailureOf([&] { SaveLinkSettings(saved, paths, files, text); });
  EXPECT_TRUE(failure.find(L"Tech.txt") != std::wstring::npos && !failure.ends_with(L"Erreur N° 0")) << failure;
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_THROW(LoadLinkSettings(loaded, paths, files, text), LinkError);
}

// The hand-off through the real files: with no C:\SIDEXIS, or siomin2.sdx held open without sharing
// (as the X-ray program or a scanner may), it fails before either file changes, says which, starts nothing.
TEST(HandOffWin32Test, AMissingFolderOrASecondFileHeldOpenLeavesTheFilesAndStartsNothing) {
  Win32Platform win;
  fakes::FakeProgramStarter programs;
  fakes::FakeMessageBoxes messages;
  Platform platform{win.files, win.text,    win.clock, win.environment,  programs,
                    messages,  win.windows, win.gdi,   win.accessibility};
  SharedState state;
  state.patient.BeginHarvest();
  const Field fields[] = {Field::Nom, Field::Prenom, Field::DateNaissance, Field::NumDossier, Field::NumSS};
  const wchar_t* values[] = {L"LEFÈVRE", L"Hélène", L"02/11/1970", L"88", L"270117512345678"};
  for (int i = 0; i < 5; ++i) state.patient.StoreHarvested(fields[i], values[i]);
  state.patient.CompleteHarvest();
  for (const bool held : {false, true}) {
    FreshFolder(L"C:\\SIDEXIS"), WriteBytes(kSiomin, "earlier one"), WriteBytes(kSiomin2, "earlier two");
    if (!held) std::filesystem::remove_all(L"C:\\SIDEXIS");
    HANDLE holder = held ? CreateFileW(kSiomin2, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
    EXPECT_FALSE(RunShowingFailure(messages, [&] {
      LaunchSidexis(state, {{}, kSiomin, kSiomin2, kSidexisExe}, platform);
    }));
    CloseHandle(holder);
    EXPECT_EQ((std::vector{ReadBytes(kSiomin), ReadBytes(kSiomin2)}),
              (held ? std::vector<std::string>{"earlier one", "earlier two"} : std::vector<std::string>(2)));
    EXPECT_EQ(std::filesystem::exists(L"C:\\SIDEXIS"), held) << "the link never makes the folder";
    EXPECT_TRUE(programs.started.empty());
    ASSERT_EQ(messages.shown.size(), held ? 2u : 1u);
    const std::wstring& report = messages.shown.back().text;
    EXPECT_NE(report.find(held ? kSiomin2 : kSiomin), std::wstring::npos) << report;
    EXPECT_TRUE(report.ends_with(held ? L" dans LignesCreees." : L". Erreur N° 3 dans LignesCreees.")) << report;
  }
}

// A Sidexis.exe that is no program: the system's reason names the file, with no insert left in it.
TEST(ProgramStarterWin32Test, AFileThatIsNoProgramIsNamedInTheSystemsReason) {
  const std::wstring path = L"C:\\corvane-no-program.exe";
  WriteBytes(path, "ceci n'est pas un programme");
  const std::wstring failure = fakes::FailureOf([&] { Win32ProgramStarter().Start(path); });
  EXPECT_TRUE(failure.ends_with(L"Erreur N° 193") && failure.find(L'%') == std::wstring::npos) << failure;
  EXPECT_NE(failure.find(path, failure.find(L" » : ")), std::wstring::npos) << failure;
}

using Drawn = std::pair<std::string, std::vector<long long>>;  // a drawing call, its arguments after the DC

class RecordingGdi : public Win32Gdi {
 public:
  void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) override {
    drawn.push_back({"Rectangle", {left, top, right, bottom}});
    awareness.push_back(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()));
    Win32Gdi::Rectangle(dc, left, top, right, bottom);
  }
  void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) override {
    drawn.push_back({"FrameRgn", {width, height}}), Win32Gdi::FrameRgn(dc, region, brush, width, height);
  }
  std::vector<Drawn> drawn;
  std::vector<DPI_AWARENESS> awareness;
};

class HighlightWin32Test : public ::testing::TestWithParam<const wchar_t*> {};

// The highlight on a practice window of another process, as is, shaped or maximised: a frame just inside
// its edges (a maximised one's along the screen) or its region; the second call puts every pixel back.
TEST_P(HighlightWin32Test, AFrameJustInsideTheEdgesThenEveryPixelBack) {
  Win32WindowQuery windows;
  RecordingGdi gdi;
  const std::wstring option = GetParam(), title = L"Banc d'essai plain 20";
  ChildProcess program(StandinPath(L"practice_standin"), L"plain --bench=20 " + option);
  HWND main = WaitForTopLevel(L"CorvaneBenchPractice", program.Id(), &title);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && (option != L"--maximise" || IsZoomed(main)); }));
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);  // answered once it has painted
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN), fx = GetSystemMetrics(SM_CXFRAME),
            fy = GetSystemMetrics(SM_CYFRAME);
  const int tx = 3 * GetSystemMetrics(SM_CXBORDER), ty = 3 * GetSystemMetrics(SM_CYBORDER);
  RECT area{};
  GetWindowRect(main, &area);
  if (option == L"--maximise") area = {0, 0, cx, cy};

  const Pixels before = Steady(area);
  HighlightWindow(HandleOf(main), 3, windows, gdi),
      WaitUntil([&] { return CaptureScreen(area) != before; }, std::chrono::seconds(5));
  const Pixels framed = Steady(area);  // the whole frame, not its first part on screen
  HighlightWindow(HandleOf(main), 3, windows, gdi);
  EXPECT_TRUE(WaitUntil([&] { return CaptureScreen(area) == before; }, std::chrono::seconds(5)))
      << "the second call must put every pixel back";

  const int width = area.right - area.left, height = area.bottom - area.top;
  const Drawn drawn = option == L"--region"     ? Drawn{"FrameRgn", {tx, ty}}
                      : option == L"--maximise" ? Drawn{"Rectangle", {fx, fy, cx + fx, cy + fy}}
                                                : Drawn{"Rectangle", {0, 0, width, height}};
  EXPECT_EQ(gdi.drawn, std::vector(2, drawn));
  // On the screen: the middle of each edge, at the frame's inner side, changed; inside it, nothing.
  EXPECT_TRUE(framed != before);
  const auto changed = [&](int x, int y) { return framed[y * width + x] != before[y * width + x]; };
  for (const auto& [x, y] :
       {std::pair{tx - 1, height / 2}, {width - tx, height / 2}, {width / 2, ty - 1}, {width / 2, height - ty}})
    EXPECT_TRUE(option == L"--region" || changed(x, y)) << x << "," << y;
  int insideChanged = 0;
  for (int y = ty + 1; y < height - ty - 1; ++y)
    for (int x = tx + 1; x < width - tx - 1; ++x) insideChanged += option != L"--region" && changed(x, y);
  EXPECT_EQ(insideChanged, 0);
}

INSTANTIATE_TEST_SUITE_P(AsIsShapedMaximised, HighlightWin32Test, ::testing::Values(L"", L"--region", L"--maximise"));

// A window not DPI aware has a DC in its own scaled coordinates: the frame is drawn in its awareness
// (made here: under Wine another process's window says it is aware), and the thread's comes back.
TEST(HighlightDpiWin32Test, TheFrameIsDrawnInTheTargetWindowsDpiAwareness) {
  Win32WindowQuery windows;
  RecordingGdi gdi;
  const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
  HWND unaware = Make("Static", nullptr, 0);
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  for (int call = 0; call < 2; ++call) HighlightWindow(HandleOf(unaware), 3, windows, gdi);
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
  SetThreadDpiAwarenessContext(previous), DestroyWindow(unaware);
  EXPECT_EQ(gdi.awareness, std::vector(2, DPI_AWARENESS_UNAWARE));
}

}  // namespace
}  // namespace corvane
