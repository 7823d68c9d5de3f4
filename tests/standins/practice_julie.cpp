// Stand-in for Julie: the fields sit in a tab page (class beginning "JWTABPAGE") and in a
// dialog made child of the main window ("#32770"); combos keep their value in a first child
// (or have none); look-alike controls sit directly on the main window and in a frame of
// another class, where the link must not read them.
#include <cstddef>

#include "standin_common.h"

namespace {

using namespace corvane::standin;
using namespace corvane::standin::julie;

constexpr int kCaptionX = 10;
constexpr int kEditX = 115;
constexpr int kEditWidth = 170;
constexpr int kRowHeight = 32;

int RowY(int row) {
  return 12 + row * kRowHeight;
}

INT_PTR CALLBACK ChildDialogProc(HWND, UINT, WPARAM, LPARAM) noexcept {
  return FALSE;
}

// A modeless dialog of the system dialog class "#32770", made a child of `parent` (as Julie
// nests its forms), with a control id of its own.
HWND MakeChildDialog(HWND parent, int id, int x, int y, int width, int height) {
  struct Template {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WORD title;
  };
  static_assert(offsetof(Template, menu) == sizeof(DLGTEMPLATE));
  alignas(4) Template blank{};
  blank.header.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &blank.header, parent, ChildDialogProc, 0);
  SetWindowLongPtrA(dialog, GWLP_ID, id);
  SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  return dialog;
}

void Build(HWND main, FieldDisplay& fields) {
  RegisterContainerClass(kTabPageClass);
  RegisterContainerClass(kFrameClass);
  RegisterTextClass(kComboClass);
  RegisterTextClass(kStaticClass);
  RegisterTextClass(kButtonClass);

  HWND page = MakeChild(main, kTabPageClass, kTabPageId, "", 8, 8, 300, 400);
  auto field = [&](int row, const char* caption, int id, int entry) {
    MakeCaption(page, caption, kCaptionX, RowY(row), 100);
    fields.Bind(kFieldKeys[entry], MakeEdit(page, id, kEditX, RowY(row), kEditWidth));
  };
  field(0, "N\xB0 dossier", kNumDossierId, kEntryNumDossier);
  field(1, "Nom", kNomId, kEntryNom);
  field(2, "Pr\xE9nom", kPrenomId, kEntryPrenom);
  field(3, "N\xE9(e) le", kDateNaissanceId, kEntryDateNaissance);
  HWND numSSCaption = MakeCaption(page, "N\xB0 SS", kCaptionX, RowY(4), 100);
  fields.BindDroppable(kFieldKeys[kEntryNumSS], [=] {
    return MakeAfter(numSSCaption, [=] { return MakeEdit(page, kNumSSId, kEditX, RowY(4), kEditWidth); });
  });
  MakeCaption(page, "Civilit\xE9", kCaptionX, RowY(5), 100);
  HWND combo = MakeChild(page, kComboClass, kCiviliteId, kComboText, kEditX, RowY(5), kEditWidth, 22);
  fields.Bind(kFieldKeys[kEntryCivilite], MakeEdit(combo, kComboPartId, 0, 0, kEditWidth - 20));
  MakeCaption(page, "Titre", kCaptionX, RowY(6), 100);
  MakeChild(page, kComboClass, kChildlessComboId, kChildlessComboText, kEditX, RowY(6), kEditWidth, 22);
  MakeChild(page, kStaticClass, kStaticId, kStaticText, kCaptionX, RowY(7), 150, 22);
  MakeChild(page, kButtonClass, kButtonId, kButtonText, kEditX + 70, RowY(8), 100, 24);

  HWND dialog = MakeChildDialog(main, kDialogId, 316, 8, 300, 280);
  auto address = [&](int row, const char* caption, int id, int entry) {
    MakeCaption(dialog, caption, kCaptionX, RowY(row), 100);
    fields.Bind(kFieldKeys[entry], MakeEdit(dialog, id, kEditX, RowY(row), kEditWidth));
  };
  address(0, "Adresse", kAdresse1Id, kEntryAdresse1);
  address(1, "", kAdresse2Id, kEntryAdresse2);
  address(2, "", kAdresse3Id, kEntryAdresse3);
  address(3, "Code postal", kCPId, kEntryCP);
  address(4, "Ville", kVilleId, kEntryVille);
  address(5, "T\xE9l\xE9phone", kTelephoneId, kEntryTelephone);
  address(6, "Portable", kMobileId, kEntryMobile);
  address(7, "E-mail", kEMailId, kEntryEMail);

  HWND onMain = MakeEdit(main, kMainWindowFieldId, 316, 300, 140);
  SetWindowTextA(onMain, kMainWindowFieldText);
  HWND frame = MakeChild(main, kFrameClass, kFrameId, "", 466, 292, 150, 40);
  HWND inFrame = MakeEdit(frame, kFrameFieldId, 8, 8, 134);
  SetWindowTextA(inFrame, kFrameFieldText);
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
