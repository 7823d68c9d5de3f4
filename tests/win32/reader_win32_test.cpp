// Reading the patient out of the stand-in practice programs, each in its own process, the
// way the link does it: link settings from a Tech.txt, the practice window found by class and
// title, its controls walked and read through the Win32 window calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "link/link_state.h"
#include "link/read_patient_fields.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::standin;
using namespace corvane::testing;

// A patient as the practice program shows it and as the record must then hold it, by entry.
struct Patient {
  std::array<std::string, kFieldEntries + 1> shown;  // Windows-1252 bytes
  std::array<std::wstring, kFieldEntries + 1> stored;
};
const Patient kZoe = {
    {"", "12 rue de l'\xC9glise", "B\xE2timent B", "3e \xE9tage", "Mme\tMadame", "75011", "12/03/1985",
     "zoe.lefevre@exemple.fr", "06 12 34 56 78", "Lef\xE8vre", "4711", "2 85 03 75 123 456 78", "Zo\xEB",
     "01 43 55 66 77", "Paris"},
    {L"", L"12 rue de l'Église", L"Bâtiment B", L"3e étage", L"Mme", L"75011", L"12/03/1985", L"zoe.lefevre@exemple.fr",
     L"06 12 34 56 78", L"LEFÈVRE", L"4711", L"285037512345678", L"ZOE", L"01 43 55 66 77", L"Paris"}};
const Patient kFrancois = {
    {"", "4 place du March\xE9", "", "", "M.\tMonsieur", "13001", "01/01/1950", "f.noel@exemple.fr", "07 00 00 00 00",
     "No\xEBl", "815", "1 50 01 13 055 012 34", "Fran\xE7ois", "04 91 00 00 00", "Marseille"},
    {L"", L"4 place du Marché", L"", L"", L"M.", L"13001", L"01/01/1950", L"f.noel@exemple.fr", L"07 00 00 00 00",
     L"NOËL", L"815", L"150011305501234", L"FRANCOIS", L"04 91 00 00 00", L"Marseille"}};

class ReaderWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshFolder(folder_);
    paths_.settings = {folder_ + L"\\Tech.txt", folder_ + L"\\Tech2.txt"};
  }
  void TearDown() override {
    program_.Kill();
    RemoveFolder(folder_);
  }

  // Has the stand-in show `patient` (started on the first call) and waits until it does.
  void Show(Mode mode, const Patient& patient, const std::string& extra = "") {
    const std::string settings = TechFileBytes(TechLines(LayoutOf(mode)));
    WriteBytes(paths_.settings.tech, settings);
    WriteBytes(paths_.settings.tech2, settings);
    std::string bytes = extra;
    for (int entry = 1; entry <= kFieldEntries; ++entry)
      bytes += kFieldKeys[entry] + ("=" + patient.shown[entry]) + "\r\n";
    DeleteFileW(shown_.c_str());
    WriteBytes(patientFile_, bytes);
    if (!program_.IsRunning()) {
      ASSERT_TRUE(program_.StartPractice(mode, patientFile_));
    }
    const std::string& numDossier = patient.shown[kEntryNumDossier];
    ASSERT_TRUE(
        WaitUntil([&] { return FileExists(shown_) && ReadBytes(shown_) == numDossier; }, std::chrono::seconds(20)));
  }

  // The whole record, every field current for the hand-off.
  void ExpectRecord(const Patient& patient) {
    const PatientRecord& record = state_.patient;
    for (int entry = 1; entry <= kFieldEntries; ++entry)
      EXPECT_EQ(record.Value(FieldOfEntry(entry)), patient.stored[entry]) << kFieldKeys[entry];
    const auto& p = patient.stored;
    EXPECT_EQ(record.ValuesToHandOff(), (HandOffValues{p[kEntryNom], p[kEntryPrenom], p[kEntryDateNaissance],
                                                       p[kEntryNumDossier], p[kEntryNumSS]}));
  }

  const std::wstring folder_ = [] {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"corvane_reader_" + std::to_wstring(GetCurrentProcessId());
  }();
  const std::wstring patientFile_ = folder_ + L"\\patient.txt";
  const std::wstring shown_ = patientFile_ + Wide(kShownSuffix);
  ChildProcess program_;
  LinkPaths paths_;
  WinePlatform wine_;
  Platform& platform_ = wine_.platform;
  SharedState state_;
};

// Plain by control ids, Julie through tab pages, dialogs and combos (its title holds an é, found
// through the ANSI code page), WinDev by Edit ordinals, Visiodent by its live title: the same
// patient then another.
TEST_F(ReaderWin32Test, EachStandInGivesTheWholeRecordOfEachPatientItShows) {
  for (const Mode mode : kModes) {
    SCOPED_TRACE(LayoutOf(mode).name);
    state_ = SharedState();
    for (const Patient* patient : {&kZoe, &kFrancois}) {
      Show(mode, *patient);
      ReadPatientFields(state_, paths_, platform_);
      ExpectRecord(*patient);
    }
    program_.Kill();
  }
}

TEST_F(ReaderWin32Test, AProgramThatStopsPumpingMakesTheReadGiveUp) {
  Show(Mode::Plain, kZoe);
  ReadPatientFields(state_, paths_, platform_);
  // Long enough that the program is certainly still frozen when the read has given up.
  Show(Mode::Plain, kFrancois, std::string(kKeyHang) + "=20\r\n");

  EXPECT_THROW(ReadPatientFields(state_, paths_, platform_), LinkError);

  // The read came back while the program still does not answer: it did not wait for it.
  char buffer[255] = {};
  DWORD_PTR copied = 0;
  EXPECT_EQ(SendMessageTimeoutA(FindWindowA(plain::kClass, plain::kTitle), WM_GETTEXT, sizeof buffer,
                                reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG | SMTO_BLOCK, 200, &copied),
            0);
  // And this process answers its own windows: a message sent from another thread is handled.
  HWND own = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  std::atomic<bool> answered{false};
  std::thread sender([&] { answered = SendMessageTimeoutA(own, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr) != 0; });
  WaitUntil([&] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return answered.load();
  });
  sender.join();
  EXPECT_TRUE(answered);
  DestroyWindow(own);
  // The fields read before stay shown, none counts for the hand-off.
  EXPECT_EQ(state_.patient.Value(Field::Nom), L"LEFÈVRE");
  EXPECT_EQ(state_.patient.ValuesToHandOff(), HandOffValues{});
}

}  // namespace
}  // namespace corvane
