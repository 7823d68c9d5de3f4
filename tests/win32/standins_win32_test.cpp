// The stand-in practice programs hold the traps the reader and identity tests count on: a
// combo showing its value in a child, labels and buttons with ids, an Edit without id, a
// control that goes and comes back, and for WinDev, Edit-like classes that are no "Edit"
// windows and hidden ones that are. What the programs show is checked by those tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/standins/standin_layout.h"
#include "tests/support/wine_support.h"

namespace {

using namespace corvane::standin;
using namespace corvane::testing;

const std::string kPatient =
    "NumDossier=4711\r\nNom=Lef\xE8vre\r\nPrenom=Zo\xEB\r\nNumSS=2 85 03 75 123 456 78\r\nCivilite=Mme\tMadame\r\n";

std::string Text(HWND window) {
  char buffer[255] = {};
  SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

// Every descendant of `root`, in the order EnumChildWindows delivers them.
std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> found;
  EnumChildWindows(
      root,
      [](HWND window, LPARAM parameter) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindById(HWND root, int id) {
  for (HWND window : Descendants(root)) {
    if (GetDlgCtrlID(window) == id) return window;
  }
  return nullptr;
}

class StandinProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"corvane_standins_" + std::to_wstring(GetCurrentProcessId());
    FreshFolder(folder_);
    patientFile_ = folder_ + L"\\patient.txt";
  }
  void TearDown() override {
    program_.Kill();
    RemoveFolder(folder_);
  }

  // Starts the program on the patient; its main window, found by class and title, or null.
  HWND Start(const char* program, const char* className, const char* title) {
    if (!program_.Start(StandinPath(Wide(program)), L"\"" + patientFile_ + L"\"") || !Show(kPatient)) return nullptr;
    HWND main = nullptr;
    WaitUntil([&] { return (main = FindWindowA(className, title)) != nullptr; });
    return main;
  }
  // Writes the patient file and waits until the program shows it.
  bool Show(const std::string& patient) {
    const std::wstring shown = patientFile_ + Wide(kShownSuffix);
    DeleteFileW(shown.c_str());
    WriteBytes(patientFile_, patient);
    return WaitUntil([&] { return ReadBytes(shown) == "4711"; }, std::chrono::seconds(20));
  }

  ChildProcess program_;
  std::wstring folder_;
  std::wstring patientFile_;
};

TEST_F(StandinProgramTest, PlainHoldsAComboLabelsAnEditWithoutIdAndAControlThatComesBack) {
  HWND main = Start(plain::kProgram, plain::kClass, plain::kTitle);
  ASSERT_NE(main, nullptr);
  HWND combo = FindById(main, plain::kCiviliteId);
  EXPECT_EQ(ClassOf(combo), plain::kComboClass);
  EXPECT_EQ(Text(combo), plain::kComboText);
  EXPECT_EQ(Text(GetWindow(combo, GW_CHILD)), "Mme\tMadame");
  EXPECT_EQ(ClassOf(FindById(main, plain::kStaticId)), plain::kStaticClass);
  EXPECT_EQ(ClassOf(FindById(main, plain::kButtonId)), plain::kButtonClass);
  bool noIdEdit = false;
  for (HWND window : Descendants(main)) noIdEdit |= GetDlgCtrlID(window) == 0 && Text(window) == plain::kNoIdText;
  EXPECT_TRUE(noIdEdit);

  // DropNumSS: the control goes, then comes back at its old place in the window order.
  const auto ids = [&] {
    std::vector<int> found;
    for (HWND window : Descendants(main)) found.push_back(GetDlgCtrlID(window));
    return found;
  };
  const std::vector<int> before = ids();
  ASSERT_TRUE(Show(kPatient + std::string(kKeyDropNumSS) + "=1\r\n"));
  EXPECT_EQ(FindById(main, plain::kNumSSId), nullptr);
  ASSERT_TRUE(Show(kPatient));
  EXPECT_EQ(ids(), before);
  EXPECT_EQ(Text(FindById(main, plain::kNumSSId)), "2 85 03 75 123 456 78");
}

TEST_F(StandinProgramTest, WinDevMixesEditWindowsWithLookAlikesAndHidesSome) {
  HWND main = Start(windev::kProgram, windev::kClass, windev::kTitle);
  ASSERT_NE(main, nullptr);
  std::vector<HWND> edits;  // element n - 1 has Edit ordinal n
  bool richEditBeforeNom = false, upperCaseSeen = false;
  for (HWND window : Descendants(main)) {
    const std::string name = ClassOf(window);
    EXPECT_EQ(GetDlgCtrlID(window), 0) << name;
    if (name.starts_with("Edit")) edits.push_back(window);
    richEditBeforeNom |= edits.size() < static_cast<std::size_t>(windev::kNomOrdinal) &&
                         (name == windev::kRichEditClass || name == windev::kRichEditFallbackClass);
    upperCaseSeen |= name == windev::kUpperCaseClass;
  }
  ASSERT_EQ(edits.size(), static_cast<std::size_t>(windev::kEditWindowCount));
  EXPECT_TRUE(richEditBeforeNom);
  EXPECT_TRUE(upperCaseSeen);
  EXPECT_EQ(ClassOf(edits[windev::kNomOrdinal - 1]), windev::kLongEditClass);
  for (int ordinal : windev::kHiddenOrdinals) {
    EXPECT_FALSE(IsWindowVisible(edits[ordinal - 1]));
    EXPECT_EQ(Text(edits[ordinal - 1]), windev::kHiddenEditText);
  }
}

}  // namespace
