// The hand-off against the real files, code page, environment, process start and message
// boxes, in the test prefix's C:\SIDEXIS.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>  // needs the types of windows.h
// clang-format on

#include <gtest/gtest.h>

#include <thread>

#include "handoff/handoff.h"
#include "link/read_patient_fields.h"
#include "tests/fakes/fake_system.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::testing;

const wchar_t kFolder[] = L"C:\\SIDEXIS";
const wchar_t kSiomin[] = L"C:\\SIDEXIS\\siomin.sdx";
const wchar_t kSiomin2[] = L"C:\\SIDEXIS\\siomin2.sdx";
const wchar_t kProgram[] = L"C:\\SIDEXIS\\Sidexis.exe";
const wchar_t kStarts[] = L"C:\\SIDEXIS\\standin-starts.txt";  // the stand-in's hex copy at each start

// LEFÈVRE Hélène, file 88, on CABINET1, 15 January 2027 at 09:30:15, in Windows-1252 (N then A).
const std::string kLefevreHex = [] {
  std::string hex =
      "3E 00 4E 00 4C 45 46 C8 56 52 45 00 48 E9 6C E8 6E 65 5F 38 38 00 30 32 2F 31 31 2F 31 39 37 30 00 "
      "32 37 30 31 31 37 35 31 32 33 34 35 36 37 38 00 00 44 75 20 44 6F 7A 75 00 00 00 0D 0A "
      "53 00 41 00 4C 45 46 C8 56 52 45 00 48 E9 6C E8 6E 65 5F 38 38 00 30 32 2F 31 31 2F 31 39 37 30 00 "
      "32 37 30 31 31 37 35 31 32 33 34 35 36 37 38 00 43 41 42 49 4E 45 54 31 00 "
      "31 35 2E 30 31 2E 32 30 32 37 00 30 39 3A 33 30 3A 31 35 00 00 00 00 0D 0A";
  std::erase(hex, ' ');
  return hex;
}();

// Running processes started from a file of that name.
int CountProcesses(const std::wstring& exeName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, exeName.c_str()) == 0) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

class HandOffWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshFolder(kFolder);
    wchar_t saved[256] = {};
    hadComputerName_ = GetEnvironmentVariableW(L"COMPUTERNAME", saved, 256) != 0;
    savedComputerName_ = saved;
    SetEnvironmentVariableW(L"COMPUTERNAME", L"CABINET1");
    paths_ = {{}, kSiomin, kSiomin2, kProgram};
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"COMPUTERNAME", hadComputerName_ ? savedComputerName_.c_str() : nullptr);
  }

  // Hands off LEFÈVRE Hélène through these programs and message boxes.
  bool Launch(ProgramStarter& programs, MessageBoxes& messages) {
    Platform platform = wine_.Using(programs, messages);
    SharedState state;
    state.patient.BeginHarvest();
    state.patient.StoreHarvested(Field::Nom, L"LEFÈVRE");
    state.patient.StoreHarvested(Field::Prenom, L"Hélène");
    state.patient.StoreHarvested(Field::DateNaissance, L"02/11/1970");
    state.patient.StoreHarvested(Field::NumDossier, L"88");
    state.patient.StoreHarvested(Field::NumSS, L"270117512345678");
    state.patient.CompleteHarvest();
    return LaunchSidexis(state, paths_, platform);
  }
  static void ExpectLefevreInBothFiles() {
    EXPECT_EQ(Hex(ReadBytes(kSiomin)), kLefevreHex);
    EXPECT_EQ(Hex(ReadBytes(kSiomin2)), kLefevreHex);
  }

  LinkPaths paths_;
  testing::WinePlatform wine_;
  fakes::FakeProgramStarter& fakePrograms_ = wine_.programs;
  fakes::FakeMessageBoxes& fakeMessages_ = wine_.messages;
  bool hadComputerName_ = false;
  std::wstring savedComputerName_;
};

TEST_F(HandOffWin32Test, WritesWindows1252BytesToBothRealFiles) {
  EXPECT_TRUE(Launch(fakePrograms_, fakeMessages_));
  ExpectLefevreInBothFiles();
  EXPECT_TRUE(fakeMessages_.shown.empty());

  // Letters the code page lacks become '?', never a look-alike: WAŁĘSA is not WALESA.
  EXPECT_EQ(LignesCreees({L"WAŁĘSA", L"Lech", L"", L"", L""}, L"", {kSiomin, kSiomin2}, wine_.platform),
            HandOffResult::Written);
  EXPECT_EQ(ReadBytes(kSiomin).substr(4, 7), std::string("WA??SA") + '\0');
  EXPECT_EQ(ReadBytes(kSiomin2), ReadBytes(kSiomin));
}

TEST_F(HandOffWin32Test, StartsTheStandinOnceAfterBothFilesAreComplete) {
  ASSERT_TRUE(CopyFileW(StandinPath(L"sidexis_standin").c_str(), kProgram, FALSE));
  Win32ProgramStarter programs;
  ASSERT_TRUE(Launch(programs, fakeMessages_));

  // Done once the stand-in wrote its line and no copy of it runs any more.
  ASSERT_TRUE(WaitUntil([] { return !ReadBytes(kStarts).empty() && CountProcesses(L"Sidexis.exe") == 0; },
                        std::chrono::seconds(30)));
  EXPECT_EQ(ReadBytes(kStarts), kLefevreHex + "\r\n");
  ExpectLefevreInBothFiles();
  EXPECT_TRUE(fakeMessages_.shown.empty());
}

TEST_F(HandOffWin32Test, MissingProgramIsShownInABoxAfterTheFilesAreWritten) {
  Win32ProgramStarter programs;
  Win32MessageBoxes messages;
  // The box is modal on this thread; a second thread reads it and presses OK as a person would.
  std::wstring text, caption;
  std::thread answerer([&] {
    const HWND box = WaitForMessageBox(GetCurrentProcessId(), std::chrono::seconds(30));
    if (box == nullptr) return;
    text = MessageBoxText(box);
    caption = WindowCaption(box);
    AnswerMessageBox(box, IDOK);
  });
  const bool started = Launch(programs, messages);
  answerer.join();

  EXPECT_FALSE(started);
  EXPECT_EQ(caption, L"Tarnwick");
  EXPECT_TRUE(text.starts_with(L"Impossible de démarrer Sidexis (C:\\SIDEXIS\\Sidexis.exe) : ")) << text;
  EXPECT_TRUE(text.ends_with(L" (erreur N° 2).")) << text;
  ExpectLefevreInBothFiles();
}

TEST_F(HandOffWin32Test, MissingFolderIsReportedAsAHandOffFailureAndNothingStarts) {
  RemoveFolder(kFolder);
  EXPECT_FALSE(Launch(fakePrograms_, fakeMessages_));
  EXPECT_TRUE(fakePrograms_.started.empty());
  ASSERT_EQ(fakeMessages_.shown.size(), 1u);
  const std::wstring& report = fakeMessages_.shown[0].text;
  EXPECT_NE(report.find(kSiomin), std::wstring::npos) << report;
  EXPECT_TRUE(report.ends_with(L". Erreur N° " + std::to_wstring(ERROR_PATH_NOT_FOUND) + L" dans LignesCreees."))
      << report;
  EXPECT_FALSE(FileExists(kFolder));
}

// The X-ray program (here its stand-in, another process) holds siomin2.sdx open without
// sharing: the hand-off is refused before either file changes, and says which file.
TEST_F(HandOffWin32Test, ASecondFileHeldByAnotherProgramLeavesBothFilesAsTheyWere) {
  WriteBytes(kSiomin, "earlier one");
  WriteBytes(kSiomin2, "earlier two");
  ChildProcess holder(StandinPath(L"sidexis_standin"), L"hold");
  ASSERT_TRUE(WaitUntil([] { return FileExists(L"C:\\SIDEXIS\\siomin2.sdx.held"); }));

  EXPECT_FALSE(Launch(fakePrograms_, fakeMessages_));
  holder.Kill();
  EXPECT_EQ(ReadBytes(kSiomin), "earlier one");
  EXPECT_EQ(ReadBytes(kSiomin2), "earlier two");
  EXPECT_TRUE(fakePrograms_.started.empty());
  ASSERT_EQ(fakeMessages_.shown.size(), 1u);
  EXPECT_NE(fakeMessages_.shown[0].text.find(kSiomin2), std::wstring::npos) << fakeMessages_.shown[0].text;
  EXPECT_TRUE(fakeMessages_.shown[0].text.ends_with(L" dans LignesCreees.")) << fakeMessages_.shown[0].text;
}

}  // namespace
}  // namespace corvane
