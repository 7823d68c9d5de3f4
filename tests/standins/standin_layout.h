#pragma once
// The stand-in practice program (tests/standins/practice_standin.cpp) and what the tests know
// of it: one layout table per reading mode, from which the program makes its windows and the
// tests take the classes, ids, Edit ordinals and the link settings (Tech.txt lines).
//
// Portable on purpose (no <windows.h>): native tests include it as well as the Wine tests.
// Texts are Windows-1252 bytes, as the program hands them to the ANSI window functions.
#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace corvane::standin {

// Link settings entries 1 to 14, each feeding the patient field of the same name.
inline constexpr int kEntryAdresse1 = 1;
inline constexpr int kEntryAdresse2 = 2;
inline constexpr int kEntryAdresse3 = 3;
inline constexpr int kEntryCivilite = 4;
inline constexpr int kEntryCP = 5;
inline constexpr int kEntryDateNaissance = 6;
inline constexpr int kEntryEMail = 7;
inline constexpr int kEntryMobile = 8;
inline constexpr int kEntryNom = 9;
inline constexpr int kEntryNumDossier = 10;
inline constexpr int kEntryNumSS = 11;
inline constexpr int kEntryPrenom = 12;
inline constexpr int kEntryTelephone = 13;
inline constexpr int kEntryVille = 14;
inline constexpr int kFieldEntries = 14;

// The patient file, named on the program's command line: lines "Key=Value" (CR LF or LF),
// Windows-1252. The key of field entry n is kFieldKeys[n]; each value is shown exactly as
// given (a Civilite such as "Mme\tMadame" keeps its TAB); a later key wins.
inline constexpr const char* kFieldKeys[kFieldEntries + 1] = {
    "",       "Adresse1", "Adresse2",   "Adresse3", "Civilite", "CP",        "DateNaissance", "EMail",
    "Mobile", "Nom",      "NumDossier", "NumSS",    "Prenom",   "Telephone", "Ville"};
// Hang=N: each time the file is read with this key, the program stops pumping messages for
// N seconds (after it has written the .shown file), then goes on.
inline constexpr char kKeyHang[] = "Hang";
// DropNumSS=1: the control showing NumSS is destroyed; it comes back, at its old place in
// the window order, when the key disappears.
inline constexpr char kKeyDropNumSS[] = "DropNumSS";
// The program checks its patient file every 200 ms; once it shows a changed file it writes
// "<patient file>.shown" holding the NumDossier it now shows.
inline constexpr char kShownSuffix[] = ".shown";

enum class Mode { Plain, Julie, WinDev, Visiodent };

// One window below the main window. Rows are in creation order, a parent before its
// children, so creation order is also the order of a depth-first walk.
struct Control {
  int parent;  // row of the parent, -1 for the main window
  std::string className;
  int id;
  std::string text;  // fixed text; a field shows the patient's value instead
  int x, y, width, height;
  int shows = 0;  // the entry whose patient value it shows, 0 none
  int names = 0;  // the entry whose settings line names it (by id, or by Edit ordinal), 0 none
  bool hidden = false;
  bool droppable = false;  // the NumSS control that DropNumSS removes
};

struct Layout {
  std::string name;  // on the command line
  std::string className;
  std::string title;  // Visiodent: the prefix of its live title
  bool byOrdinal = false;
  std::vector<Control> controls = {};
};

// A field and the identity of the control that shows it: a control id, or an Edit ordinal.
struct FieldControl {
  int entry;
  int identity;
};

// The names the tests use for the plain and Julie layouts; the tables below use them too.
namespace plain {
inline constexpr char kClass[] = "CorvanePlainPractice";
inline constexpr char kTitle[] = "Dossier patient";
inline constexpr int kNomId = 1002;
inline constexpr int kNumSSId = 1005;
inline std::array<std::string, 17> TechLines();
}  // namespace plain

namespace julie {
inline constexpr char kClass[] = "JULIE";
inline constexpr char kTitle[] = "Fiche d'\xE9tat civil";
inline constexpr char kTabPageClass[] = "JWTABPAGE1";
inline constexpr int kTabPageId = 2000;
inline std::array<std::string, 17> TechLines();
}  // namespace julie

namespace detail {

// A field of a column: its entry, its control's id and class, and its caption.
struct FieldRow {
  int entry;
  int id;
  const char* caption;
  const char* className = "Edit";
};

struct Builder {
  Layout layout;
  int Add(Control control) {
    layout.controls.push_back(std::move(control));
    return static_cast<int>(layout.controls.size()) - 1;
  }
  // One row per field from `top`, `step` apart: a caption of the system "Static" class
  // without id at `captionX`, then the field's control at `x`.
  void Column(int parent, std::initializer_list<FieldRow> rows, int captionX, int x, int top, int step, int width) {
    for (const FieldRow& row : rows) {
      Add({parent, "Static", 0, row.caption, captionX, top + 3, x - captionX - 5, 18});
      Add({parent, row.className, row.id, "", x, top, width, 22, row.entry, row.entry, false,
           row.entry == kEntryNumSS});
      top += step;
    }
  }
};

// A program of no known maker, read by control id: some fields inside a panel, one with a
// negative id, a combo keeping its value in its first child, and a label, a button and an
// EDIT without id that no entry may read.
inline Layout Plain() {
  Builder b{{"plain", plain::kClass, plain::kTitle}};
  b.Column(-1,
           {{kEntryNumDossier, 1001, "N\xB0 dossier"},
            {kEntryNom, plain::kNomId, "Nom"},
            {kEntryPrenom, 1003, "Pr\xE9nom"},
            {kEntryDateNaissance, 1004, "N\xE9(e) le"},
            {kEntryNumSS, plain::kNumSSId, "N\xB0 SS"}},
           16, 130, 16, 32, 200);
  b.Add({-1, "Static", 0, "Civilit\xE9", 16, 179, 110, 18});
  const int combo = b.Add({-1, "JWCOMBOBOX", 1006, "Liste des civilit\xE9s", 130, 176, 200, 22, 0, kEntryCivilite});
  b.Add({combo, "Edit", 1016, "", 0, 0, 120, 22, kEntryCivilite});
  b.Column(-1,
           {{kEntryTelephone, -5, "T\xE9l\xE9phone"}, {kEntryMobile, 1012, "Portable"}, {kEntryEMail, 1013, "E-mail"}},
           16, 130, 208, 32, 200);
  b.Add({-1, "STATIQUE_LABEL", 1020, "NE PAS LIRE", 16, 304, 150, 22});
  b.Add({-1, "BOUTON_OK", 1021, "OK", 220, 304, 80, 24});
  b.Add({-1, "Edit", 0, "SANS IDENTIFIANT", 130, 336, 200, 22});
  const int panel = b.Add({-1, "CorvanePanel", 1030, "", 350, 16, 260, 180});
  b.Column(panel,
           {{kEntryAdresse1, 1007, "Adresse"},
            {kEntryAdresse2, 1008, ""},
            {kEntryAdresse3, 1009, ""},
            {kEntryCP, 1010, "Code postal"},
            {kEntryVille, 1011, "Ville"}},
           10, 85, 12, 32, 160);
  return b.layout;
}

// Julie: only controls whose direct parent's class begins "JWTABPAGE" or is "#32770" count.
// Its fields sit on a tab page and in a dialog made child of the main window; combos keep
// their value in a first child (or have none); look-alikes sit on the main window and in a
// frame of another class.
inline Layout Julie() {
  Builder b{{"julie", julie::kClass, julie::kTitle}};
  const int page = b.Add({-1, julie::kTabPageClass, julie::kTabPageId, "", 8, 8, 300, 400});
  b.Column(page,
           {{kEntryNumDossier, 1001, "N\xB0 dossier"},
            {kEntryNom, 1002, "Nom"},
            {kEntryPrenom, 1003, "Pr\xE9nom"},
            {kEntryDateNaissance, 1004, "N\xE9(e) le"},
            {kEntryNumSS, 1005, "N\xB0 SS"}},
           10, 115, 12, 32, 170);
  b.Add({page, "Static", 0, "Civilit\xE9", 10, 175, 100, 18});
  const int combo = b.Add({page, "JWCOMBOBOX", 1006, "Civilit\xE9", 115, 172, 170, 22, 0, kEntryCivilite});
  b.Add({combo, "Edit", 1016, "", 0, 0, 150, 22, kEntryCivilite});
  b.Add({page, "Static", 0, "Titre", 10, 207, 100, 18});
  b.Add({page, "JWCOMBOBOX", 1015, "VIDE", 115, 204, 170, 22});  // no child: reads as one blank
  b.Add({page, "STATIQUE_TEXTE", 1020, "NE PAS LIRE", 10, 236, 150, 22});
  b.Add({page, "BOUTON_VALIDER", 1021, "Valider", 185, 268, 100, 24});
  const int dialog = b.Add({-1, "#32770", 2001, "", 316, 8, 300, 280});
  b.Column(dialog,
           {{kEntryAdresse1, 1007, "Adresse"},
            {kEntryAdresse2, 1008, ""},
            {kEntryAdresse3, 1009, ""},
            {kEntryCP, 1010, "Code postal"},
            {kEntryVille, 1011, "Ville"},
            {kEntryTelephone, 1012, "T\xE9l\xE9phone"},
            {kEntryMobile, 1013, "Portable"},
            {kEntryEMail, 1014, "E-mail"}},
           10, 115, 12, 32, 170);
  b.Add({-1, "Edit", 1099, "HORS PAGE", 316, 300, 140, 22});
  const int frame = b.Add({-1, "JWCADRE", 2002, "", 466, 292, 150, 40});
  b.Add({frame, "Edit", 1098, "HORS CADRE", 8, 8, 134, 22});
  return b.layout;
}

// WinDev: every control has id 0; a field is named by its Edit ordinal, its 1-based place
// among the main window's descendants whose class begins "Edit", in walk order. Edit windows
// of the system class and of a longer class are mixed with a rich edit, a class spelled in
// capitals, captions, a pane, and hidden Edit windows that count all the same.
inline Layout WinDev() {
  Builder b{{"windev", "WinDevObject", "Cabinet dentaire - Dossier", true}};
  b.Column(-1, {{kEntryNumDossier, 0, "N\xB0 dossier"}}, 16, 130, 12, 30, 190);  // ordinal 1
  b.Add({-1, "RichEdit20A", 0, "Remarques", 350, 12, 260, 60});
  b.Column(-1, {{kEntryNom, 0, "Nom", "EditWinDev"}}, 16, 130, 42, 30, 190);  // 2
  b.Add({-1, "Edit", 0, "CACH\xC9", 130, 42, 60, 22, 0, 0, true});            // 3, hidden
  b.Column(-1, {{kEntryPrenom, 0, "Pr\xE9nom"}}, 16, 130, 72, 30, 190);       // 4
  b.Add({-1, "EDITMAJ", 0, "MAJUSCULES", 350, 80, 260, 22});
  const int pane = b.Add({-1, "WinDevPane", 0, "", 340, 112, 280, 100});
  b.Column(pane, {{kEntryDateNaissance, 0, "Naissance"}, {kEntryNumSS, 0, "N\xB0 SS", "EditWinDev"}}, 10, 115, 10, 30,
           150);                                                      // 5, 6
  b.Add({pane, "Edit", 0, "CACH\xC9", 115, 70, 60, 22, 0, 0, true});  // 7, hidden
  b.Column(-1,
           {{kEntryCivilite, 0, "Civilit\xE9"},
            {kEntryAdresse1, 0, "Adresse"},
            {kEntryAdresse2, 0, ""},
            {kEntryAdresse3, 0, "", "EditWinDev"},
            {kEntryCP, 0, "Code postal"},
            {kEntryVille, 0, "Ville"},
            {kEntryTelephone, 0, "T\xE9l\xE9phone"},
            {kEntryMobile, 0, "Portable"},
            {kEntryEMail, 0, "E-mail", "EditWinDev"}},
           16, 130, 102, 30, 190);  // 8 to 16
  return b.layout;
}

// Visiodent: read by control id (3000 + entry), with a live title: the prefix, then Nom, a
// blank and Prenom as shown ("VISIODENT - Lef\xE8vre Zo\xEB").
inline Layout Visiodent() {
  Builder b{{"visiodent", "FENETRE_VISIODENT32", "VISIODENT - "}};
  b.Column(-1,
           {{kEntryNumDossier, 3010, "N\xB0 dossier"},
            {kEntryNom, 3009, "Nom"},
            {kEntryPrenom, 3012, "Pr\xE9nom"},
            {kEntryDateNaissance, 3006, "N\xE9(e) le"},
            {kEntryNumSS, 3011, "N\xB0 SS"},
            {kEntryCivilite, 3004, "Civilit\xE9"}},
           12, 110, 14, 30, 180);
  b.Column(-1,
           {{kEntryAdresse1, 3001, "Adresse"},
            {kEntryAdresse2, 3002, ""},
            {kEntryAdresse3, 3003, ""},
            {kEntryCP, 3005, "Code postal"},
            {kEntryVille, 3014, "Ville"},
            {kEntryTelephone, 3013, "T\xE9l\xE9phone"},
            {kEntryMobile, 3008, "Portable"},
            {kEntryEMail, 3007, "E-mail"}},
           320, 420, 14, 30, 180);
  return b.layout;
}

}  // namespace detail

inline Layout LayoutOf(Mode mode) {
  switch (mode) {
    case Mode::Plain:
      return detail::Plain();
    case Mode::Julie:
      return detail::Julie();
    case Mode::WinDev:
      return detail::WinDev();
    case Mode::Visiodent:
      return detail::Visiodent();
  }
  return {};
}

inline constexpr Mode kModes[] = {Mode::Plain, Mode::Julie, Mode::WinDev, Mode::Visiodent};

// The identity of each field's control, by entry: its id, or its Edit ordinal.
inline std::array<FieldControl, kFieldEntries> FieldsOf(const Layout& layout) {
  std::array<FieldControl, kFieldEntries> fields{};
  int edits = 0;
  for (const Control& control : layout.controls) {
    edits += control.className.rfind("Edit", 0) == 0;
    if (control.names != 0)
      fields[static_cast<std::size_t>(control.names - 1)] = {control.names, layout.byOrdinal ? edits : control.id};
  }
  return fields;
}

// The bytes of a Tech.txt holding these 17 lines, each ended by CR LF.
inline std::string TechFileBytes(const std::array<std::string, 17>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// The 17 entries of a Tech.txt for this layout: the identities of entries 1 to 14, "0" (no
// control screen), the practice window class, and its title followed by one NUL as the finder
// captures it (Visiodent: its title prefix; the live title is matched otherwise).
inline std::array<std::string, 17> TechLines(const Layout& layout) {
  std::array<std::string, 17> lines;
  for (const FieldControl& field : FieldsOf(layout))
    lines[static_cast<std::size_t>(field.entry - 1)] = std::to_string(field.identity);
  lines[14] = "0";
  lines[15] = layout.className;
  lines[16] = layout.title + std::string(1, '\0');
  return lines;
}

// A Windows-1252 text of ours as in-memory text. Our texts use no byte in 0x80..0x9F, so
// each byte is its own code point.
inline std::wstring Wide(const std::string& bytes) {
  std::wstring text;
  for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return text;
}

inline std::array<std::string, 17> plain::TechLines() {
  return standin::TechLines(LayoutOf(Mode::Plain));
}
inline std::array<std::string, 17> julie::TechLines() {
  return standin::TechLines(LayoutOf(Mode::Julie));
}

}  // namespace corvane::standin
