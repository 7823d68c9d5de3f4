// The stand-in practice programs, each in a process of its own, seen from this process the
// way the link sees a practice program: its main window found by class and title, its
// controls by id or by Edit ordinal, their texts read with WM_GETTEXT in Windows-1252. The
// other tests rely on what the layout header says about these programs; here it is held to
// the programs themselves.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/standins/standin_layout.h"
#include "tests/support/wine_support.h"

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

using Patient = std::map<std::string, std::string>;

const Patient kZoe = {
    {"NumDossier", "4711"},
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
    {"EMail", "zoe.lefevre@exemple.fr"},
};

const Patient kFrancois = {
    {"NumDossier", "815"},
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
    {"EMail", "f.noel@exemple.fr"},
};

Patient With(Patient patient, const std::string& key, const std::string& value) {
  patient[key] = value;
  return patient;
}

// The patient file: LF after some lines and CR LF after others, as both are accepted.
std::string FileBytes(const Patient& patient) {
  std::string bytes;
  bool crlf = true;
  for (const auto& [key, value] : patient) {
    bytes += key + "=" + value + (crlf ? "\r\n" : "\n");
    crlf = !crlf;
  }
  return bytes;
}

const std::string& ValueOfEntry(const Patient& patient, int entry) {
  return patient.at(kFieldKeys[entry]);
}

// What the link reads: WM_GETTEXT with a 255-byte buffer, cut at the first NUL.
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

bool BeginsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
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

// The first descendant with this control id, or null.
HWND FindById(HWND root, int id) {
  for (HWND window : Descendants(root)) {
    if (GetDlgCtrlID(window) == id) return window;
  }
  return nullptr;
}

std::vector<int> IdsInOrder(HWND root) {
  std::vector<int> ids;
  for (HWND window : Descendants(root)) ids.push_back(GetDlgCtrlID(window));
  return ids;
}

// The descendants whose class begins "Edit" (case counts), in enumeration order: element
// n - 1 is the window of Edit ordinal n.
std::vector<HWND> EditFamily(HWND root) {
  std::vector<HWND> edits;
  for (HWND window : Descendants(root)) {
    if (BeginsWith(ClassOf(window), "Edit")) edits.push_back(window);
  }
  return edits;
}

class StandinProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"corvane_standins_" + std::to_wstring(GetCurrentProcessId());
    FreshFolder(folder_);
    patientFile_ = folder_ + L"\\patient.txt";
    shownFile_ = patientFile_ + Wide(kShownSuffix);
  }

  void TearDown() override {
    program_.Kill();
    RemoveFolder(folder_);
  }

  // Starts the program on this patient; its main window, found by class and title as the
  // link finds it, or null.
  HWND Start(const char* program, const Patient& patient, const char* className, const std::string& title,
             const std::wstring& options = L"") {
    WriteBytes(patientFile_, FileBytes(patient));
    const std::wstring arguments = options + (options.empty() ? L"" : L" ") + L"\"" + patientFile_ + L"\"";
    if (!program_.Start(StandinPath(Wide(program)), arguments)) return nullptr;
    if (!WaitShown(patient.at("NumDossier"))) return nullptr;
    HWND main = nullptr;
    WaitUntil([&] {
      main = FindWindowA(className, title.c_str());
      return main != nullptr;
    });
    DWORD owner = 0;
    GetWindowThreadProcessId(main, &owner);
    return owner == program_.Id() ? main : nullptr;
  }

  // Rewrites the patient file and waits until the program shows it.
  bool Switch(const Patient& patient) {
    DeleteFileW(shownFile_.c_str());
    WriteBytes(patientFile_, FileBytes(patient));
    return WaitShown(patient.at("NumDossier"));
  }

  bool WaitShown(const std::string& numDossier) {
    return WaitUntil([&] { return FileExists(shownFile_) && ReadBytes(shownFile_) == numDossier; },
                     std::chrono::seconds(20));
  }

  // Each field of `fields` (control ids) shows its value from `patient`; a JWCOMBO control
  // shows it in its first child.
  void ExpectFieldsById(HWND main, const std::array<FieldControl, kFieldEntries>& fields, const Patient& patient) {
    for (const FieldControl& field : fields) {
      SCOPED_TRACE(kFieldKeys[field.entry]);
      HWND control = FindById(main, field.identity);
      ASSERT_NE(control, nullptr);
      HWND source = BeginsWith(ClassOf(control), "JWCOMBO") ? GetWindow(control, GW_CHILD) : control;
      EXPECT_EQ(Text(source), ValueOfEntry(patient, field.entry));
    }
  }

  ChildProcess program_;
  std::wstring folder_;
  std::wstring patientFile_;
  std::wstring shownFile_;
};

using PlainStandinTest = StandinProgramTest;

TEST_F(PlainStandinTest, ShowsEachFieldInTheControlTheLayoutNames) {
  HWND main = Start(plain::kProgram, kZoe, plain::kClass, plain::kTitle);
  ASSERT_NE(main, nullptr);
  ExpectFieldsById(main, plain::kFields, kZoe);

  // Accented text travels as Windows-1252 bytes.
  EXPECT_EQ(Text(FindById(main, plain::kNomId)), std::string("\x4C\x65\x66\xE8\x76\x72\x65"));

  // The combo carries the id and a text of its own; the value sits in its first child.
  HWND combo = FindById(main, plain::kCiviliteId);
  EXPECT_EQ(ClassOf(combo), plain::kComboClass);
  EXPECT_EQ(Text(combo), plain::kComboText);
  EXPECT_EQ(Text(GetWindow(combo, GW_CHILD)), "Mme\tMadame");

  HWND telephone = FindById(main, plain::kTelephoneId);
  EXPECT_EQ(GetDlgCtrlID(telephone), -5);
  EXPECT_EQ(GetAncestor(telephone, GA_PARENT), main);

  HWND adresse1 = FindById(main, plain::kAdresse1Id);
  EXPECT_EQ(ClassOf(GetAncestor(adresse1, GA_PARENT)), plain::kPanelClass);

  HWND label = FindById(main, plain::kStaticId);
  EXPECT_TRUE(BeginsWith(ClassOf(label), "STATIQUE"));
  EXPECT_EQ(Text(label), plain::kStaticText);
  EXPECT_TRUE(BeginsWith(ClassOf(FindById(main, plain::kButtonId)), "BOUTON"));

  bool noIdEditFound = false;
  for (HWND window : Descendants(main)) {
    if (GetDlgCtrlID(window) == 0 && Text(window) == plain::kNoIdText) noIdEditFound = true;
  }
  EXPECT_TRUE(noIdEditFound);

  RECT placed{};
  GetWindowRect(main, &placed);
  EXPECT_EQ(placed.left, kMainLeft);
  EXPECT_EQ(placed.top, kMainTop);
  EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(PlainStandinTest, ShowsTheNextPatientWhenTheFileIsRewritten) {
  HWND main = Start(plain::kProgram, kZoe, plain::kClass, plain::kTitle);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Switch(kFrancois));
  ExpectFieldsById(main, plain::kFields, kFrancois);
  ASSERT_TRUE(Switch(kZoe));
  ExpectFieldsById(main, plain::kFields, kZoe);
}

TEST_F(PlainStandinTest, DropNumSSRemovesTheControlUntilTheKeyGoes) {
  HWND main = Start(plain::kProgram, kZoe, plain::kClass, plain::kTitle);
  ASSERT_NE(main, nullptr);
  const std::vector<int> before = IdsInOrder(main);

  ASSERT_TRUE(Switch(With(kFrancois, kKeyDropNumSS, "1")));
  EXPECT_EQ(FindById(main, plain::kNumSSId), nullptr);
  EXPECT_EQ(Text(FindById(main, plain::kNomId)), "No\xEBl");
  EXPECT_EQ(Descendants(main).size(), before.size() - 1);

  ASSERT_TRUE(Switch(kZoe));
  HWND numSS = FindById(main, plain::kNumSSId);
  ASSERT_NE(numSS, nullptr);
  EXPECT_EQ(Text(numSS), "2 85 03 75 123 456 78");
  // Back at its old place in the window order: the same ids in the same order as before.
  EXPECT_EQ(IdsInOrder(main), before);
}

TEST_F(PlainStandinTest, HangStopsAnsweringForAWhileThenAnswersAgain) {
  HWND main = Start(plain::kProgram, kZoe, plain::kClass, plain::kTitle);
  ASSERT_NE(main, nullptr);
  HWND nom = FindById(main, plain::kNomId);

  ASSERT_TRUE(Switch(With(With(kZoe, "NumDossier", "4712"), kKeyHang, "6")));
  char buffer[255] = {};
  DWORD_PTR copied = 0;
  EXPECT_EQ(SendMessageTimeoutA(nom, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                                2000, &copied),
            0);

  EXPECT_TRUE(WaitUntil(
      [&] {
        return SendMessageTimeoutA(nom, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                                   500, &copied) != 0;
      },
      std::chrono::seconds(30)));
  EXPECT_EQ(std::string(buffer), "Lef\xE8vre");
  EXPECT_TRUE(program_.IsRunning());
}

TEST_F(PlainStandinTest, TitleKeyRenamesTheMainWindow) {
  HWND main = Start(plain::kProgram, With(kZoe, kKeyTitle, "Dossier de Zo\xEB"), plain::kClass, "Dossier de Zo\xEB");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(FindWindowA(plain::kClass, plain::kTitle), nullptr);
  ASSERT_TRUE(Switch(kFrancois));
  EXPECT_EQ(FindWindowA(plain::kClass, plain::kTitle), main);
}

TEST_F(PlainStandinTest, NotepadModeIsTheWindowTheResetValuesName) {
  HWND main = Start(notepad::kProgram, kZoe, notepad::kClass, notepad::kTitle, Wide(notepad::kArgument));
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(FindWindowA(plain::kClass, nullptr), nullptr);
  // The reset values hold 100 for every field: one control answers them all.
  HWND edit = FindById(main, notepad::kEditId);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(Text(edit), "Lef\xE8vre");
}

using JulieStandinTest = StandinProgramTest;

TEST_F(JulieStandinTest, FieldsSitInTabPagesAndDialogsOnly) {
  // The title holds an é: found by its Windows-1252 bytes.
  HWND main = Start(julie::kProgram, kZoe, julie::kClass, "Fiche d'\xE9tat civil");
  ASSERT_NE(main, nullptr);
  ExpectFieldsById(main, julie::kFields, kZoe);

  for (const FieldControl& field : julie::kFields) {
    SCOPED_TRACE(kFieldKeys[field.entry]);
    const std::string parent = ClassOf(GetAncestor(FindById(main, field.identity), GA_PARENT));
    EXPECT_TRUE(BeginsWith(parent, "JWTABPAGE") || BeginsWith(parent, "#32770")) << parent;
  }
  EXPECT_EQ(ClassOf(GetAncestor(FindById(main, julie::kNumDossierId), GA_PARENT)), julie::kTabPageClass);
  EXPECT_EQ(ClassOf(GetAncestor(FindById(main, julie::kVilleId), GA_PARENT)), julie::kDialogClass);
  EXPECT_EQ(GetAncestor(FindById(main, julie::kDialogId), GA_PARENT), main);

  HWND onMain = FindById(main, julie::kMainWindowFieldId);
  EXPECT_EQ(GetAncestor(onMain, GA_PARENT), main);
  EXPECT_EQ(Text(onMain), julie::kMainWindowFieldText);
  HWND inFrame = FindById(main, julie::kFrameFieldId);
  EXPECT_EQ(ClassOf(GetAncestor(inFrame, GA_PARENT)), julie::kFrameClass);
  EXPECT_EQ(Text(inFrame), julie::kFrameFieldText);

  HWND combo = FindById(main, julie::kCiviliteId);
  EXPECT_TRUE(BeginsWith(ClassOf(combo), "JWCOMBO"));
  EXPECT_EQ(Text(combo), julie::kComboText);
  HWND childless = FindById(main, julie::kChildlessComboId);
  EXPECT_TRUE(BeginsWith(ClassOf(childless), "JWCOMBO"));
  EXPECT_EQ(GetWindow(childless, GW_CHILD), nullptr);

  EXPECT_TRUE(BeginsWith(ClassOf(FindById(main, julie::kStaticId)), "STATIQUE"));
  EXPECT_TRUE(BeginsWith(ClassOf(FindById(main, julie::kButtonId)), "BOUTON"));

  ASSERT_TRUE(Switch(kFrancois));
  ExpectFieldsById(main, julie::kFields, kFrancois);
}

using WinDevStandinTest = StandinProgramTest;

TEST_F(WinDevStandinTest, EditOrdinalsAreTheLayoutsAndEveryIdIsZero) {
  HWND main = Start(windev::kProgram, kZoe, windev::kClass, windev::kTitle);
  ASSERT_NE(main, nullptr);
  for (HWND window : Descendants(main)) EXPECT_EQ(GetDlgCtrlID(window), 0) << ClassOf(window);

  std::vector<HWND> edits = EditFamily(main);
  ASSERT_EQ(edits.size(), static_cast<std::size_t>(windev::kEditWindowCount));
  for (const FieldControl& field : windev::kFields) {
    SCOPED_TRACE(kFieldKeys[field.entry]);
    EXPECT_EQ(Text(edits[field.identity - 1]), ValueOfEntry(kZoe, field.entry));
  }
  for (int ordinal : windev::kHiddenOrdinals) {
    EXPECT_FALSE(IsWindowVisible(edits[ordinal - 1]));
    EXPECT_EQ(Text(edits[ordinal - 1]), windev::kHiddenEditText);
  }
  // Both kinds of the family, and windows outside it between them.
  EXPECT_EQ(ClassOf(edits[windev::kNumDossierOrdinal - 1]), windev::kEditClass);
  EXPECT_EQ(ClassOf(edits[windev::kNomOrdinal - 1]), windev::kLongEditClass);
  bool richEditBeforeNom = false;
  bool upperCaseSeen = false;
  for (HWND window : Descendants(main)) {
    const std::string name = ClassOf(window);
    if (window == edits[windev::kNomOrdinal - 1]) break;
    if (name == windev::kRichEditClass || name == windev::kRichEditFallbackClass) richEditBeforeNom = true;
  }
  for (HWND window : Descendants(main)) upperCaseSeen |= ClassOf(window) == windev::kUpperCaseClass;
  EXPECT_TRUE(richEditBeforeNom);
  EXPECT_TRUE(upperCaseSeen);

  ASSERT_TRUE(Switch(kFrancois));
  edits = EditFamily(main);
  for (const FieldControl& field : windev::kFields) {
    SCOPED_TRACE(kFieldKeys[field.entry]);
    EXPECT_EQ(Text(edits[field.identity - 1]), ValueOfEntry(kFrancois, field.entry));
  }
}

TEST_F(WinDevStandinTest, NumSSComesBackAtItsOrdinal) {
  HWND main = Start(windev::kProgram, kZoe, windev::kClass, windev::kTitle);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(Switch(With(kZoe, kKeyDropNumSS, "1")));
  std::vector<HWND> edits = EditFamily(main);
  ASSERT_EQ(edits.size(), static_cast<std::size_t>(windev::kEditWindowCount - 1));
  // The windows after it move up one place while it is gone.
  EXPECT_EQ(Text(edits[windev::kNumSSOrdinal - 1]), windev::kHiddenEditText);

  ASSERT_TRUE(Switch(kFrancois));
  edits = EditFamily(main);
  ASSERT_EQ(edits.size(), static_cast<std::size_t>(windev::kEditWindowCount));
  for (const FieldControl& field : windev::kFields) {
    SCOPED_TRACE(kFieldKeys[field.entry]);
    EXPECT_EQ(Text(edits[field.identity - 1]), ValueOfEntry(kFrancois, field.entry));
  }
}

using VisiodentStandinTest = StandinProgramTest;

TEST_F(VisiodentStandinTest, TitleNamesThePatientShown) {
  const std::string zoeTitle = "VISIODENT - Lef\xE8vre Zo\xEB";
  ASSERT_EQ(visiodent::TitleFor(kZoe.at("Nom"), kZoe.at("Prenom")), zoeTitle);
  HWND main = Start(visiodent::kProgram, kZoe, visiodent::kClass, zoeTitle);
  ASSERT_NE(main, nullptr);
  ExpectFieldsById(main, visiodent::kFields, kZoe);

  ASSERT_TRUE(Switch(kFrancois));
  EXPECT_EQ(FindWindowA(visiodent::kClass, zoeTitle.c_str()), nullptr);
  EXPECT_EQ(FindWindowA(visiodent::kClass, "VISIODENT - No\xEBl Fran\xE7ois"), main);
  ExpectFieldsById(main, visiodent::kFields, kFrancois);

  ASSERT_TRUE(Switch(With(kFrancois, kKeyDropNumSS, "1")));
  EXPECT_EQ(FindById(main, visiodent::kNumSSId), nullptr);
}

}  // namespace
