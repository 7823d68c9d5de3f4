// Control identities computed against each stand-in practice program in its own process,
// compared with what the layout promises and with the same tree copied into the fake desktop:
// the native tests of the finder and the harvest are only as good as that copy.
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

using namespace corvane::testing;
using fakes::FakeDesktop;
using standin::kFieldEntries;
using standin::kFieldKeys;

// Every field shows a text of its own, so the control showing it can be told by its text.
std::string ValueOf(int entry) {
  return "champ " + std::to_string(entry) + " \xE9";
}

std::string PatientFile(const std::string& extra = {}) {
  std::string bytes;
  for (int entry = 1; entry <= kFieldEntries; ++entry)
    bytes += std::string(kFieldKeys[entry]) + "=" + ValueOf(entry) + "\r\n";
  return bytes + extra;
}

struct StandinCase {
  const char* program;
  const char* className;
  std::optional<std::string> title;  // none: the live Visiodent title
  const std::array<standin::FieldControl, kFieldEntries>* fields;
};

class StandinIdentityTest : public ::testing::TestWithParam<StandinCase> {
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

  // Starts the stand-in on the patient file; its main window, found as the link finds it.
  WindowHandle Start(const StandinCase& standin, const std::string& extra = {}) {
    WriteBytes(patientFile_, PatientFile(extra));
    const std::wstring shown = patientFile_ + standin::Wide(standin::kShownSuffix);
    if (!program_.Start(StandinPath(standin::Wide(standin.program)), L"\"" + patientFile_ + L"\"")) return {};
    const bool ready =
        WaitUntil([&] { return FileExists(shown) && ReadBytes(shown) == ValueOf(standin::kEntryNumDossier); },
                  std::chrono::seconds(20));
    if (!ready) return {};
    WindowHandle main;
    WaitUntil([&] { return static_cast<bool>(main = windows_.FindTopLevel(standin.className, standin.title)); });
    return main;
  }

  std::vector<WindowHandle> Walk(WindowQuery& windows, WindowHandle root) {
    std::vector<WindowHandle> walked;
    windows.EnumerateDescendants(root, [&](WindowHandle window) {
      walked.push_back(window);
      return true;
    });
    return walked;
  }

  ChildProcess program_;
  std::wstring folder_;
  std::wstring patientFile_;
  Win32WindowQuery windows_;
};

TEST_P(StandinIdentityTest, IdentitiesMatchTheLayoutAndTheFakeDesktopCopy) {
  const StandinCase& standin = GetParam();
  const WindowHandle main = Start(standin);
  ASSERT_TRUE(main) << standin.program << " did not show its window";

  // The same tree in the fake desktop: classes, ids and texts, parent by parent, in walk order.
  FakeDesktop fake;
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
  real.patient.application = copy.patient.application = standin::Wide(standin.className);

  // Every window gets the same identity from the real program and from its copy.
  for (const WindowHandle window : walk) {
    EXPECT_EQ(ControlIdentityOf(window, real, windows_), ControlIdentityOf(copyOf[window.value], copy, fake))
        << "class " << windows_.ClassName(window);
  }

  // Each field's control has the identity the layout gives it, negative ids and ordinals
  // included; a combo shows its value in its first child.
  for (const standin::FieldControl& field : *standin.fields) {
    const auto isField = [&](WindowHandle window) {
      return ControlIdentityOf(window, real, windows_) == std::to_wstring(field.identity) &&
             (windows_.ReadText(window).bytes == ValueOf(field.entry) ||
              windows_.ReadText(windows_.FirstChild(window)).bytes == ValueOf(field.entry));
    };
    EXPECT_NE(std::find_if(walk.begin(), walk.end(), isField), walk.end()) << kFieldKeys[field.entry];
  }
}

INSTANTIATE_TEST_SUITE_P(EachStandin, StandinIdentityTest,
                         ::testing::Values(StandinCase{standin::plain::kProgram, standin::plain::kClass,
                                                       standin::plain::kTitle, &standin::plain::kFields},
                                           StandinCase{standin::julie::kProgram, standin::julie::kClass,
                                                       standin::julie::kTitle, &standin::julie::kFields},
                                           StandinCase{standin::windev::kProgram, standin::windev::kClass,
                                                       standin::windev::kTitle, &standin::windev::kFields},
                                           StandinCase{standin::visiodent::kProgram, standin::visiodent::kClass,
                                                       std::nullopt, &standin::visiodent::kFields}),
                         [](const ::testing::TestParamInfo<StandinCase>& info) {
                           return std::string(info.param.program);
                         });

// A practice program that stops pumping messages: the read gives up instead of freezing us.
TEST_F(StandinIdentityTest, AProgramThatStopsAnsweringIsReportedNotWaitedFor) {
  const WindowHandle main = Start({standin::plain::kProgram, standin::plain::kClass, standin::plain::kTitle, nullptr},
                                  std::string(standin::kKeyHang) + "=30\r\n");
  ASSERT_TRUE(main);
  WindowHandle field;
  windows_.EnumerateDescendants(main, [&](WindowHandle window) {
    if (windows_.ControlId(window) == standin::plain::kNomId) field = window;
    return !field;
  });
  ASSERT_TRUE(field);
  EXPECT_EQ(windows_.ReadText(field).status, TextRead::Status::NotAnswering);
}

}  // namespace
}  // namespace corvane
