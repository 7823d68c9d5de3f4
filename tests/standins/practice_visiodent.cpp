// Stand-in for Visiodent: fields in controls with ids, and a main window whose title names
// the patient shown, so it changes at every patient switch.
#include "standin_common.h"

namespace {

using namespace corvane::standin;
using namespace corvane::standin::visiodent;

constexpr int kRowHeight = 30;

struct Row {
  int entry;
  const char* caption;
};

// Two columns: identity on the left, address and contact on the right.
constexpr Row kLeft[] = {{kEntryNumDossier, "N\xB0 dossier"}, {kEntryNom, "Nom"},
                         {kEntryPrenom, "Pr\xE9nom"},         {kEntryDateNaissance, "N\xE9(e) le"},
                         {kEntryNumSS, "N\xB0 SS"},           {kEntryCivilite, "Civilit\xE9"}};
constexpr Row kRight[] = {{kEntryAdresse1, "Adresse"}, {kEntryAdresse2, ""},   {kEntryAdresse3, ""},
                          {kEntryCP, "Code postal"},   {kEntryVille, "Ville"}, {kEntryTelephone, "T\xE9l\xE9phone"},
                          {kEntryMobile, "Portable"},  {kEntryEMail, "E-mail"}};

void Build(HWND main, FieldDisplay& fields) {
  auto column = [&](const auto& rows, int captionX, int editX) {
    int y = 14;
    for (const Row& row : rows) {
      HWND caption = MakeCaption(main, row.caption, captionX, y, 95);
      const int id = kIdBase + row.entry;
      if (row.entry == kEntryNumSS) {
        fields.BindDroppable(kFieldKeys[row.entry],
                             [=] { return MakeAfter(caption, [=] { return MakeEdit(main, id, editX, y, 180); }); });
      } else {
        fields.Bind(kFieldKeys[row.entry], MakeEdit(main, id, editX, y, 180));
      }
      y += kRowHeight;
    }
  };
  column(kLeft, 12, 110);
  column(kRight, 320, 420);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const CommandLine commandLine = ParseCommandLine();
  if (commandLine.patientFile.empty()) return 1;
  StandinDescription description;
  description.className = kClass;
  description.title = [](const Values& values) {
    return TitleFor(ValueOf(values, kFieldKeys[kEntryNom]), ValueOf(values, kFieldKeys[kEntryPrenom]));
  };
  description.build = Build;
  return StandinHost(std::move(description), commandLine.patientFile).Run();
}
