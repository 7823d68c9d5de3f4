// Stand-in for a program built with WinDev: every control has id 0, so a field is known only
// by its Edit ordinal. Edit windows of the system class and of a longer class beginning
// "Edit" are interleaved with windows of other classes (a rich edit, a class spelled in
// capitals, captions, a pane) and with hidden Edit windows, which count all the same. The
// creation order below is the enumeration order the layout header publishes.
#include "standin_common.h"

namespace {

using namespace corvane::standin;
using namespace corvane::standin::windev;

constexpr int kCaptionX = 16;
constexpr int kEditX = 130;
constexpr int kEditWidth = 190;
constexpr int kRowHeight = 30;

int RowY(int row) {
  return 12 + row * kRowHeight;
}

// An edit field of class "Edit" or of our longer "EditWinDev" class, id 0.
HWND MakeField(HWND parent, const char* className, int x, int y, int width, DWORD style = WS_VISIBLE) {
  if (className == std::string(kEditClass)) return MakeEdit(parent, 0, x, y, width, style);
  return MakeChild(parent, className, 0, "", x, y, width, 22, style);
}

void Build(HWND main, FieldDisplay& fields) {
  RegisterTextClass(kLongEditClass);
  RegisterTextClass(kUpperCaseClass);
  RegisterContainerClass(kPaneClass);
  const char* richEditClass = kRichEditClass;
  if (LoadLibraryA("riched20.dll") == nullptr) {
    RegisterTextClass(kRichEditFallbackClass);
    richEditClass = kRichEditFallbackClass;
  }

  auto field = [&](HWND parent, int row, const char* caption, const char* className, int entry) {
    MakeCaption(parent, caption, kCaptionX, RowY(row));
    fields.Bind(kFieldKeys[entry], MakeField(parent, className, kEditX, RowY(row), kEditWidth));
  };
  field(main, 0, "N\xB0 dossier", kEditClass, kEntryNumDossier);  // ordinal 1
  MakeChild(main, richEditClass, 0, kRichEditText, 350, 12, 260, 60, WS_VISIBLE | WS_BORDER | ES_MULTILINE);
  field(main, 1, "Nom", kLongEditClass, kEntryNom);                                      // ordinal 2
  SetWindowTextA(MakeField(main, kEditClass, kEditX, RowY(1), 60, 0), kHiddenEditText);  // ordinal 3, hidden
  field(main, 2, "Pr\xE9nom", kEditClass, kEntryPrenom);                                 // ordinal 4
  MakeChild(main, kUpperCaseClass, 0, kUpperCaseText, 350, 80, 260, 22);

  HWND pane = MakeChild(main, kPaneClass, 0, "", 340, 112, 280, 100);
  MakeCaption(pane, "Naissance", 10, 10, 100);
  fields.Bind(kFieldKeys[kEntryDateNaissance], MakeField(pane, kEditClass, 115, 10, 150));  // ordinal 5
  HWND numSSCaption = MakeCaption(pane, "N\xB0 SS", 10, 40, 100);
  fields.BindDroppable(kFieldKeys[kEntryNumSS], [=] {  // ordinal 6
    return MakeAfter(numSSCaption, [=] { return MakeField(pane, kLongEditClass, 115, 40, 150); });
  });
  SetWindowTextA(MakeField(pane, kEditClass, 115, 70, 60, 0), kHiddenEditText);  // ordinal 7, hidden

  field(main, 3, "Civilit\xE9", kEditClass, kEntryCivilite);       // ordinal 8
  field(main, 4, "Adresse", kEditClass, kEntryAdresse1);           // ordinal 9
  field(main, 5, "", kEditClass, kEntryAdresse2);                  // ordinal 10
  field(main, 6, "", kLongEditClass, kEntryAdresse3);              // ordinal 11
  field(main, 7, "Code postal", kEditClass, kEntryCP);             // ordinal 12
  field(main, 8, "Ville", kEditClass, kEntryVille);                // ordinal 13
  field(main, 9, "T\xE9l\xE9phone", kEditClass, kEntryTelephone);  // ordinal 14
  field(main, 10, "Portable", kEditClass, kEntryMobile);           // ordinal 15
  field(main, 11, "E-mail", kLongEditClass, kEntryEMail);          // ordinal 16
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const CommandLine commandLine = ParseCommandLine();
  if (commandLine.patientFile.empty()) return 1;
  StandinDescription description;
  description.className = kClass;
  description.title = [](const Values&) { return std::string(kTitle); };
  description.build = Build;
  return StandinHost(std::move(description), commandLine.patientFile).Run();
}
