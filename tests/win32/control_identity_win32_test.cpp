// The stand-in practice programs, each in a process of its own, seen through the Win32 window
// calls: every control gets the identity the layout promises and the same one as its copy in
// the fake desktop (the native finder and harvest tests are only as good as that copy), and
// the programs hold the traps the reader and identity tests count on.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "finder/control_identity.h"
#include "platform/win32/win32_window_query.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/standins/standin_layout.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::standin;
using namespace corvane::testing;

// Every field shows a text of its own, so the control showing it can be told by its text.
std::string ValueOf(int entry) {
  return "champ " + std::to_string(entry) + " \xE9";
}

struct StandinCase {
  const char* program;
  const char* className;
  std::optional<std::string> title;  // none: the live Visiodent title
  const std::array<FieldControl, kFieldEntries>* fields;
};

const StandinCase kPlain{plain::kProgram, plain::kClass, plain::kTitle, &plain::kFields};
const StandinCase kWinDev{windev::kProgram, windev::kClass, windev::kTitle, &windev::kFields};

class StandinTest : public ::testing::TestWithParam<StandinCase> {
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

  // Starts the stand-in; its main window, found as the link finds it, or none.
  WindowHandle Start(const StandinCase& standin, const std::string& keys = {}) {
    if (!program_.Start(StandinPath(Wide(standin.program)), L"\"" + patientFile_ + L"\"") || !Show(keys)) return {};
    WindowHandle main;
    WaitUntil([&] { return static_cast<bool>(main = windows_.FindTopLevel(standin.className, standin.title)); });
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
  WindowHandle FindById(WindowHandle main, int id) {
    for (const WindowHandle window : Walk(windows_, main)) {
      if (windows_.ControlId(window) == id) return window;
    }
    return {};
  }

  ChildProcess program_;
  std::wstring folder_;
  std::wstring patientFile_;
  Win32WindowQuery windows_;
};

TEST_P(StandinTest, IdentitiesMatchTheLayoutAndTheFakeDesktopCopy) {
  const StandinCase& standin = GetParam();
  const WindowHandle main = Start(standin);
  ASSERT_TRUE(main) << standin.program << " did not show its window";

  // The same tree in the fake desktop: classes, ids and texts, parent by parent, in walk order.
  fakes::FakeDesktop fake;
  std::map<std::uintptr_t, WindowHandle> copyOf;
  const WindowHandle fakeMain = fake.AddTopLevel(standin.className, windows_.Caption(main));
  copyOf[main.value] = fakeMain;
  const std::vector<WindowHandle> walk = Walk(windows_, main);
  ASSERT_GT(walk.size(), 14u);
  for (const WindowHandle window : walk) {
    const WindowHandle parent = windows_.Ancestor(window, AncestorKind::Parent);
    ASSERT_TRUE(copyOf.count(parent.value)) << "a window came before its parent: the walk is not depth first";
    copyOf[window.value] = fake.AddChild(copyOf[parent.value], windows_.ClassName(window), windows_.ControlId(window),
                                         windows_.ReadText(window).bytes);
  }
  std::vector<WindowHandle> expectedFakeWalk;
  for (const WindowHandle window : walk) expectedFakeWalk.push_back(copyOf[window.value]);
  EXPECT_EQ(Walk(fake, fakeMain), expectedFakeWalk);

  SharedState real, copy;
  real.practice.handle = main;
  copy.practice.handle = fakeMain;
  real.patient.application = copy.patient.application = Wide(standin.className);
  for (const WindowHandle window : walk) {
    EXPECT_EQ(ControlIdentityOf(window, real, windows_), ControlIdentityOf(copyOf[window.value], copy, fake))
        << "class " << windows_.ClassName(window);
  }

  // Each field's control has the identity the layout gives it, negative ids and ordinals
  // included; a combo shows its value in its first child.
  for (const FieldControl& field : *standin.fields) {
    const auto isField = [&](WindowHandle window) {
      return ControlIdentityOf(window, real, windows_) == std::to_wstring(field.identity) &&
             (windows_.ReadText(window).bytes == ValueOf(field.entry) ||
              windows_.ReadText(windows_.FirstChild(window)).bytes == ValueOf(field.entry));
    };
    EXPECT_NE(std::find_if(walk.begin(), walk.end(), isField), walk.end()) << kFieldKeys[field.entry];
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachStandin, StandinTest,
    ::testing::Values(kPlain, StandinCase{julie::kProgram, julie::kClass, julie::kTitle, &julie::kFields}, kWinDev,
                      StandinCase{visiodent::kProgram, visiodent::kClass, std::nullopt, &visiodent::kFields}),
    [](const ::testing::TestParamInfo<StandinCase>& info) { return std::string(info.param.program); });

// A practice program that stops pumping messages: the read gives up instead of freezing us.
TEST_F(StandinTest, AProgramThatStopsAnsweringIsReportedNotWaitedFor) {
  const WindowHandle main = Start(kPlain, std::string(kKeyHang) + "=30\r\n");
  ASSERT_TRUE(main);
  const WindowHandle field = FindById(main, plain::kNomId);
  ASSERT_TRUE(field);
  EXPECT_EQ(windows_.ReadText(field).status, TextRead::Status::NotAnswering);
}

TEST_F(StandinTest, PlainHoldsAComboLabelsAnEditWithoutIdAndAControlThatComesBack) {
  const WindowHandle main = Start(kPlain);
  ASSERT_TRUE(main);
  const WindowHandle combo = FindById(main, plain::kCiviliteId);
  EXPECT_EQ(windows_.ClassName(combo), plain::kComboClass);
  EXPECT_EQ(windows_.ReadText(combo).bytes, plain::kComboText);
  EXPECT_EQ(windows_.ClassName(FindById(main, plain::kStaticId)), plain::kStaticClass);
  EXPECT_EQ(windows_.ClassName(FindById(main, plain::kButtonId)), plain::kButtonClass);
  const std::vector<WindowHandle> walk = Walk(windows_, main);
  EXPECT_TRUE(std::any_of(walk.begin(), walk.end(), [&](WindowHandle window) {
    return windows_.ControlId(window) == 0 && windows_.ReadText(window).bytes == plain::kNoIdText;
  }));

  // DropNumSS: the control goes, then comes back at its old place in the window order.
  const auto ids = [&] {
    std::vector<int> found;
    for (const WindowHandle window : Walk(windows_, main)) found.push_back(windows_.ControlId(window));
    return found;
  };
  const std::vector<int> before = ids();
  ASSERT_TRUE(Show(std::string(kKeyDropNumSS) + "=1\r\n"));
  EXPECT_FALSE(FindById(main, plain::kNumSSId));
  ASSERT_TRUE(Show());
  EXPECT_EQ(ids(), before);
}

TEST_F(StandinTest, WinDevMixesEditWindowsWithLookAlikesAndHidesSome) {
  const WindowHandle main = Start(kWinDev);
  ASSERT_TRUE(main);
  std::vector<WindowHandle> edits;  // element n - 1 has Edit ordinal n
  bool richEditBeforeNom = false, upperCaseSeen = false;
  for (const WindowHandle window : Walk(windows_, main)) {
    const std::string name = windows_.ClassName(window);
    EXPECT_EQ(windows_.ControlId(window), 0) << name;
    if (name.starts_with("Edit")) edits.push_back(window);
    richEditBeforeNom |= edits.size() < static_cast<std::size_t>(windev::kNomOrdinal) &&
                         (name == windev::kRichEditClass || name == windev::kRichEditFallbackClass);
    upperCaseSeen |= name == windev::kUpperCaseClass;
  }
  ASSERT_EQ(edits.size(), static_cast<std::size_t>(windev::kEditWindowCount));
  EXPECT_TRUE(richEditBeforeNom);
  EXPECT_TRUE(upperCaseSeen);
  EXPECT_EQ(windows_.ClassName(edits[windev::kNomOrdinal - 1]), windev::kLongEditClass);
  for (int ordinal : windev::kHiddenOrdinals) {
    EXPECT_FALSE(windows_.IsVisible(edits[ordinal - 1]));
    EXPECT_EQ(windows_.ReadText(edits[ordinal - 1]).bytes, windev::kHiddenEditText);
  }
}

}  // namespace
}  // namespace corvane
