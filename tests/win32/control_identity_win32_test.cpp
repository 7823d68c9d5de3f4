// The stand-in practice program in each mode, in a process of its own, seen through the Win32
// window calls: its windows are its layout table's, row by row (the reader tests count on the
// traps the table holds), every control has the same identity as its copy in the fake desktop
// (the native finder and harvest tests are only as good as that copy), and the NumSS control
// comes back at its place. (A program that stops answering: reader_win32_test.cpp.)
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "finder/control_identity.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::standin;
using namespace corvane::testing;

// Every field shows a text of its own, so the control showing it can be told by its text.
std::string ValueOf(int entry) {
  return "champ " + std::to_string(entry) + " \xE9";
}

class StandinTest : public ::testing::TestWithParam<Mode> {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"corvane_identity_" + std::to_wstring(GetCurrentProcessId());
    FreshFolder(folder_);
    patientFile_ = folder_ + L"\\patient.txt";
  }
  void TearDown() override {
    program_.Kill();
    RemoveFolder(folder_);
  }

  // Starts the program in `mode`; its main window, found by class as the link finds it.
  WindowHandle Start(Mode mode, const std::string& keys = {}) {
    if (!program_.StartPractice(mode, patientFile_) || !Show(keys)) return {};
    const std::string className = LayoutOf(mode).className;
    WindowHandle main;
    WaitUntil([&] { return static_cast<bool>(main = windows_.FindTopLevel(className, std::nullopt)); });
    return main;
  }
  // Writes the patient file, with these control keys, and waits until the program shows it.
  bool Show(const std::string& keys = {}) {
    const std::wstring shown = patientFile_ + Wide(kShownSuffix);
    DeleteFileW(shown.c_str());
    std::string bytes = keys;
    for (int entry = 1; entry <= kFieldEntries; ++entry)
      bytes += std::string(kFieldKeys[entry]) + "=" + ValueOf(entry) + "\r\n";
    WriteBytes(patientFile_, bytes);
    return WaitUntil([&] { return ReadBytes(shown) == ValueOf(kEntryNumDossier); }, std::chrono::seconds(20));
  }
  static std::vector<WindowHandle> Walk(WindowQuery& windows, WindowHandle root) {
    std::vector<WindowHandle> walked;
    windows.EnumerateDescendants(root, [&](WindowHandle window) {
      walked.push_back(window);
      return true;
    });
    return walked;
  }
  std::vector<std::string> ClassesOf(WindowHandle main) {
    std::vector<std::string> classes;
    for (const WindowHandle window : Walk(windows_, main)) classes.push_back(windows_.ClassName(window));
    return classes;
  }

  ChildProcess program_;
  std::wstring folder_;
  std::wstring patientFile_;
  Win32WindowQuery windows_;
};

TEST_P(StandinTest, WindowsAreTheTablesAndIdentitiesMatchTheFakeDesktopCopy) {
  const Layout layout = LayoutOf(GetParam());
  const WindowHandle main = Start(GetParam());
  ASSERT_TRUE(main) << layout.name << " did not show its window";
  EXPECT_EQ(windows_.Caption(main).find(layout.title), 0u);

  // The walk meets the table's rows in their order, each with its class, id, visibility,
  // parent and text.
  const std::vector<WindowHandle> walk = Walk(windows_, main);
  ASSERT_EQ(walk.size(), layout.controls.size());
  for (std::size_t row = 0; row < walk.size(); ++row) {
    const Control& control = layout.controls[row];
    SCOPED_TRACE("row " + std::to_string(row) + " " + control.className);
    EXPECT_EQ(windows_.ClassName(walk[row]), control.className);
    EXPECT_EQ(windows_.ControlId(walk[row]), control.id);
    EXPECT_EQ(windows_.IsVisible(walk[row]), !control.hidden);
    EXPECT_EQ(windows_.Ancestor(walk[row], AncestorKind::Parent),
              control.parent < 0 ? main : walk[static_cast<std::size_t>(control.parent)]);
    EXPECT_EQ(windows_.ReadText(walk[row]).bytes, control.shows != 0 ? ValueOf(control.shows) : control.text);
  }

  // The same tree in the fake desktop, parent by parent, gives every control the same identity.
  fakes::FakeDesktop fake;
  std::map<std::uintptr_t, WindowHandle> copyOf;
  const WindowHandle fakeMain = fake.AddTopLevel(layout.className, windows_.Caption(main));
  copyOf[main.value] = fakeMain;
  for (const WindowHandle window : walk) {
    const WindowHandle parent = windows_.Ancestor(window, AncestorKind::Parent);
    copyOf[window.value] = fake.AddChild(copyOf[parent.value], windows_.ClassName(window), windows_.ControlId(window),
                                         windows_.ReadText(window).bytes);
  }
  const IdentityForm form = IdentityFormOf(Wide(layout.className));
  for (const WindowHandle window : walk) {
    EXPECT_EQ(ControlIdentityOf(window, form, main, windows_), ControlIdentityOf(copyOf[window.value], form, fakeMain, fake))
        << "class " << windows_.ClassName(window);
  }
  // Each named control has the identity its settings line holds.
  const auto fields = FieldsOf(layout);
  for (std::size_t row = 0; row < walk.size(); ++row) {
    const int entry = layout.controls[row].names;
    if (entry == 0) continue;
    EXPECT_EQ(ControlIdentityOf(walk[row], form, main, windows_),
              std::to_wstring(fields[static_cast<std::size_t>(entry - 1)].identity))
        << kFieldKeys[entry];
  }

  // DropNumSS: the control goes, then comes back at its old place in the window order.
  const std::vector<std::string> before = ClassesOf(main);
  ASSERT_TRUE(Show(std::string(kKeyDropNumSS) + "=1\r\n"));
  EXPECT_EQ(ClassesOf(main).size(), before.size() - 1);
  ASSERT_TRUE(Show());
  EXPECT_EQ(ClassesOf(main), before);
}

INSTANTIATE_TEST_SUITE_P(EachMode, StandinTest, ::testing::ValuesIn(kModes),
                         [](const ::testing::TestParamInfo<Mode>& info) { return LayoutOf(info.param).name; });

}  // namespace
}  // namespace corvane
