// Reading the patient out of the stand-in practice programs, each in its own process, the
// way the link does it: link settings from a Tech.txt, the practice window found by class and
// title, its controls walked and read through the Win32 window calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

#include "app/shared_state.h"
#include "platform/platform.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_window_query.h"
#include "reader/read_patient_fields.h"
#include "tests/fakes/fake_system.h"
#include "tests/standins/standin_layout.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::standin;
using corvane::testing::ChildProcess;
using corvane::testing::FileExists;
using corvane::testing::FreshFolder;
using corvane::testing::ReadBytes;
using corvane::testing::RemoveFolder;
using corvane::testing::StandinPath;
using corvane::testing::WaitUntil;
using corvane::testing::WriteBytes;

// A patient as the practice program shows it (Windows-1252 bytes) and, for the four fields
// stored with a rule of their own, what the record must hold.
struct Patient {
  std::map<std::string, std::string> shown;
  std::wstring civilite, nom, numSS, prenom;
};

const Patient kZoe = {{{"NumDossier", "4711"},
                       {"Nom", "Lef\xE8vre"},
                       {"Prenom", "Zo\xEB"},
                       {"DateNaissance", "12/03/1985"},
                       {"NumSS", "2 85 03 75 123 456 78"},
                       {"Civilite", "Mme\tMadame"},
                       {"Adresse1", "12 rue de l'\xC9glise"},
                       {"Adresse2", "B\xE2timent B"},
                       {"Adresse3", "3e \xE9tage"},
                       {"CP", "75011"},
                       {"Ville", "Paris"},
                       {"Telephone", "01 43 55 66 77"},
                       {"Mobile", "06 12 34 56 78"},
                       {"EMail", "zoe.lefevre@exemple.fr"}},
                      L"Mme",
                      L"LEFÈVRE",
                      L"285037512345678",
                      L"ZOE"};

const Patient kFrancois = {{{"NumDossier", "815"},
                            {"Nom", "No\xEBl"},
                            {"Prenom", "Fran\xE7ois"},
                            {"DateNaissance", "01/01/1950"},
                            {"NumSS", "1 50 01 13 055 012 34"},
                            {"Civilite", "M.\tMonsieur"},
                            {"Adresse1", "4 place du March\xE9"},
                            {"Adresse2", ""},
                            {"Adresse3", ""},
                            {"CP", "13001"},
                            {"Ville", "Marseille"},
                            {"Telephone", "04 91 00 00 00"},
                            {"Mobile", "07 00 00 00 00"},
                            {"EMail", "f.noel@exemple.fr"}},
                           L"M.",
                           L"NOËL",
                           L"150011305501234",
                           L"FRANCOIS"};

std::string FileBytes(const std::map<std::string, std::string>& values) {
  std::string bytes;
  for (const auto& [key, value] : values) bytes += key + "=" + value + "\r\n";
  return bytes;
}

class ReaderWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"corvane_reader_" + std::to_wstring(GetCurrentProcessId());
    FreshFolder(folder_);
    patientFile_ = folder_ + L"\\patient.txt";
    paths_.settings = {folder_ + L"\\Tech.txt", folder_ + L"\\Tech2.txt"};
  }

  void TearDown() override {
    program_.Kill();
    RemoveFolder(folder_);
  }

  void WriteSettings(const std::array<std::string, 17>& lines) {
    WriteBytes(paths_.settings.tech, TechFileBytes(lines));
    WriteBytes(paths_.settings.tech2, TechFileBytes(lines));
  }

  // Starts the stand-in on this patient file content and waits until it shows it.
  void Start(const char* program, const std::map<std::string, std::string>& values) {
    WriteBytes(patientFile_, FileBytes(values));
    ASSERT_TRUE(program_.Start(StandinPath(Wide(program)), L"\"" + patientFile_ + L"\""));
    ASSERT_TRUE(WaitShown(values.at("NumDossier")));
  }

  void Switch(const std::map<std::string, std::string>& values) {
    const std::wstring shown = patientFile_ + Wide(kShownSuffix);
    DeleteFileW(shown.c_str());
    WriteBytes(patientFile_, FileBytes(values));
    ASSERT_TRUE(WaitShown(values.at("NumDossier")));
  }

  bool WaitShown(const std::string& numDossier) {
    const std::wstring shown = patientFile_ + Wide(kShownSuffix);
    return WaitUntil([&] { return FileExists(shown) && ReadBytes(shown) == numDossier; }, std::chrono::seconds(20));
  }

  void Read() { ReadPatientFields(state_, paths_, platform_); }

  // The whole record: ten fields as shown, four by their rules, all current for the hand-off.
  void ExpectRecord(const Patient& patient) {
    for (int entry = 1; entry <= kFieldEntries; ++entry) {
      SCOPED_TRACE(kFieldKeys[entry]);
      const Field field = FieldOfEntry(entry);
      switch (field) {
        case Field::Civilite:
          EXPECT_EQ(state_.patient.Value(field), patient.civilite);
          break;
        case Field::Nom:
          EXPECT_EQ(state_.patient.Value(field), patient.nom);
          break;
        case Field::NumSS:
          EXPECT_EQ(state_.patient.Value(field), patient.numSS);
          break;
        case Field::Prenom:
          EXPECT_EQ(state_.patient.Value(field), patient.prenom);
          break;
        default:
          EXPECT_EQ(state_.patient.Value(field), Wide(patient.shown.at(kFieldKeys[entry])));
      }
    }
    const HandOffValues handOff = state_.patient.ValuesToHandOff();
    EXPECT_EQ(handOff.nom, patient.nom);
    EXPECT_EQ(handOff.numDossier, Wide(patient.shown.at("NumDossier")));
  }

  // Reads the patient, switches the program to another one, reads again.
  void ExpectBothPatients(const char* program) {
    Start(program, kZoe.shown);
    Read();
    ExpectRecord(kZoe);
    Switch(kFrancois.shown);
    Read();
    ExpectRecord(kFrancois);
  }

  ChildProcess program_;
  std::wstring folder_;
  std::wstring patientFile_;
  LinkPaths paths_;
  Win32FileSystem files_;
  Win32Text text_;
  fakes::FakeClock clock_;
  fakes::FakeEnvironment environment_;
  fakes::FakeProgramStarter programs_;
  fakes::FakeMessageBoxes messages_;
  Win32WindowQuery windows_;
  Win32Gdi gdi_;
  Platform platform_{files_, text_, clock_, environment_, programs_, messages_, windows_, gdi_};
  SharedState state_;
};

TEST_F(ReaderWin32Test, PlainProgramByControlIds) {
  WriteSettings(plain::TechLines());
  ExpectBothPatients(plain::kProgram);
  EXPECT_EQ(state_.practice.handle, HandleOf(FindWindowA(plain::kClass, plain::kTitle)));
}

TEST_F(ReaderWin32Test, JulieProgramThroughTabPagesDialogsAndCombos) {
  WriteSettings(julie::TechLines());  // its title holds an é, found through the ANSI code page
  ExpectBothPatients(julie::kProgram);
  EXPECT_TRUE(state_.practice.handle);
}

TEST_F(ReaderWin32Test, WinDevProgramByEditOrdinals) {
  WriteSettings(windev::TechLines());
  ExpectBothPatients(windev::kProgram);
}

TEST_F(ReaderWin32Test, VisiodentByItsLiveTitle) {
  WriteSettings(visiodent::TechLines());
  ExpectBothPatients(visiodent::kProgram);
  EXPECT_EQ(state_.practice.title, L"VISIODENT - Noël François");
}

TEST_F(ReaderWin32Test, AProgramThatStopsPumpingMakesTheReadGiveUp) {
  WriteSettings(plain::TechLines());
  Start(plain::kProgram, kZoe.shown);
  Read();
  ExpectRecord(kZoe);
  // Long enough that the program is certainly still frozen when the read has given up.
  auto frozen = kFrancois.shown;
  frozen[kKeyHang] = "20";
  Switch(frozen);

  try {
    Read();
    FAIL() << "the read must give up";
  } catch (const LinkError& error) {
    EXPECT_EQ(error.Number(), error_number::kPracticeNotAnswering);
  }

  // The read came back while the program still does not answer: it did not wait for it.
  HWND main = FindWindowA(plain::kClass, plain::kTitle);
  char buffer[255] = {};
  DWORD_PTR copied = 0;
  EXPECT_EQ(SendMessageTimeoutA(main, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                                SMTO_ABORTIFHUNG | SMTO_BLOCK, 200, &copied),
            0);
  // And this process answers its own windows: a message sent from another thread is handled.
  HWND own = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(own, nullptr);
  std::atomic<bool> answered{false};
  std::thread sender([&] {
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutA(own, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
  });
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
  EXPECT_EQ(state_.patient.ValuesToHandOff().nom, L"");
}

}  // namespace
}  // namespace corvane
