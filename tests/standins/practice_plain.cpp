// Stand-in for a practice program of no known maker, read by control id: fields in EDIT
// controls with fixed ids, some inside a container, one with a negative id, a combo that
// keeps its value in its first child, and a label and a button whose ids an entry could
// hold but which the link must never read.
// With --notepad it stands in for the window that the link's reset values name instead.
#include "standin_common.h"

namespace {

using namespace corvane::standin;

constexpr int kCaptionX = 16;
constexpr int kEditX = 130;
constexpr int kEditWidth = 200;
constexpr int kRowHeight = 32;

int RowY(int row) {
  return 16 + row * kRowHeight;
}

void BuildPlain(HWND main, FieldDisplay& fields) {
  using namespace corvane::standin::plain;
  RegisterContainerClass(kPanelClass);
  RegisterTextClass(kStaticClass);
  RegisterTextClass(kButtonClass);
  RegisterTextClass(kComboClass);

  auto field = [&](int row, const char* caption, int id, int entry) {
    MakeCaption(main, caption, kCaptionX, RowY(row));
    fields.Bind(kFieldKeys[entry], MakeEdit(main, id, kEditX, RowY(row), kEditWidth));
  };
  field(0, "N\xB0 dossier", kNumDossierId, kEntryNumDossier);
  field(1, "Nom", kNomId, kEntryNom);
  field(2, "Pr\xE9nom", kPrenomId, kEntryPrenom);
  field(3, "N\xE9(e) le", kDateNaissanceId, kEntryDateNaissance);
  HWND numSSCaption = MakeCaption(main,
                                  "N\xB0 s\xE9"
                                  "curit\xE9 sociale",
                                  kCaptionX, RowY(4));
  fields.BindDroppable(kFieldKeys[kEntryNumSS], [=] {
    return MakeAfter(numSSCaption, [=] { return MakeEdit(main, kNumSSId, kEditX, RowY(4), kEditWidth); });
  });

  // The combo shows its own text in the strip beside its edit part; the value is the part's.
  MakeCaption(main, "Civilit\xE9", kCaptionX, RowY(5));
  HWND combo = MakeChild(main, kComboClass, kCiviliteId, kComboText, kEditX, RowY(5), kEditWidth, 22, WS_VISIBLE);
  fields.Bind(kFieldKeys[kEntryCivilite], MakeEdit(combo, kComboPartId, 0, 0, 120));

  field(6, "T\xE9l\xE9phone", kTelephoneId, kEntryTelephone);
  field(7, "Portable", kMobileId, kEntryMobile);
  field(8, "E-mail", kEMailId, kEntryEMail);

  MakeChild(main, kStaticClass, kStaticId, kStaticText, kCaptionX, RowY(9), 150, 22);
  MakeChild(main, kButtonClass, kButtonId, kButtonText, kEditX + 90, RowY(9), 80, 24);
  HWND noId = MakeEdit(main, 0, kEditX, RowY(10), kEditWidth);
  SetWindowTextA(noId, kNoIdText);

  HWND panel = MakeChild(main, kPanelClass, kPanelId, "", 350, 16, 260, 180);
  auto address = [&](int row, const char* caption, int id, int entry) {
    MakeCaption(panel, caption, 10, 12 + row * kRowHeight, 70);
    fields.Bind(kFieldKeys[entry], MakeEdit(panel, id, 85, 12 + row * kRowHeight, 160));
  };
  address(0, "Adresse", kAdresse1Id, kEntryAdresse1);
  address(1, "", kAdresse2Id, kEntryAdresse2);
  address(2, "", kAdresse3Id, kEntryAdresse3);
  address(3, "Code postal", kCPId, kEntryCP);
  address(4, "Ville", kVilleId, kEntryVille);
}

void BuildNotepad(HWND main, FieldDisplay& fields) {
  RECT area;
  GetClientRect(main, &area);
  HWND edit = MakeChild(main, "Edit", notepad::kEditId, "", 0, 0, area.right, area.bottom,
                        WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL);
  fields.Bind(kFieldKeys[notepad::kShownEntry], edit);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const CommandLine commandLine = ParseCommandLine();
  if (commandLine.patientFile.empty()) return 1;
  StandinDescription description;
  if (commandLine.HasOption(Wide(notepad::kArgument))) {
    description.className = notepad::kClass;
    description.title = [](const Values&) { return std::string(notepad::kTitle); };
    description.build = BuildNotepad;
  } else {
    description.className = plain::kClass;
    description.title = [](const Values&) { return std::string(plain::kTitle); };
    description.build = BuildPlain;
  }
  return StandinHost(std::move(description), commandLine.patientFile).Run();
}
