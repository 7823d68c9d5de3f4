#pragma once
// The stand-in practice program's layout per reading mode, a row per window: the program makes its windows from it,
// the tests take the link settings from it. Portable (the run command's helper includes it); Windows-1252 texts.
#include <array>
#include <string>
#include <vector>

namespace corvane::standin {

// Link settings entry n feeds the patient field of key kFieldKeys[n], captioned kCaptions[n].
// clang-format off
enum Entry { kAdresse1 = 1, kAdresse2, kAdresse3, kCivilite, kCP, kDateNaissance, kEMail, kMobile, kNom, kNumDossier,
             kNumSS, kPrenom, kTelephone, kVille };
inline constexpr const char* kFieldKeys[] = {"", "Adresse1", "Adresse2", "Adresse3", "Civilite", "CP", "DateNaissance",
    "EMail", "Mobile", "Nom", "NumDossier", "NumSS", "Prenom", "Telephone", "Ville"};
inline constexpr const char* kCaptions[] = {"", "Adresse", "", "", "Civilit\xE9", "Code postal", "N\xE9(e) le", "E-mail",
    "Portable", "Nom", "N\xB0 dossier", "N\xB0 SS", "Pr\xE9nom", "T\xE9l\xE9phone", "Ville"};
// clang-format on
// The patient file: lines "Key=Value", a later key wins. Hang=N: the program stops pumping N seconds
// after showing it. DropNumSS=1: the NumSS control is destroyed for good. Hidden=1: the main window
// is hidden, as a program that closes its form but keeps it. HangOnRead=N: the drawn mode stops N seconds
// when a screen reader asks for the Nom field's value. Once it shows a changed file it writes
// "<file>.shown" holding the NumDossier shown.
inline constexpr char kKeyHang[] = "Hang";
inline constexpr char kKeyHangOnRead[] = "HangOnRead";
inline constexpr char kKeyDropNumSS[] = "DropNumSS";
inline constexpr char kKeyHidden[] = "Hidden";
inline constexpr char kShownSuffix[] = ".shown";

enum class Mode { Plain, Julie, WinDev, Visiodent, Demo, Drawn };

// A window below the main window. Rows are in creation order, a parent before its children, so
// also in the order of a depth-first walk.
struct Control {
  int parent;  // row of the parent, -1 for the main window
  std::string className;
  int id;
  std::string text;  // fixed text; a field shows the patient's value instead
  int x, y, width, height;
  int shows = 0;  // the entry whose patient value it shows
  int names = 0;  // the entry whose settings line names it (by id, or by Edit ordinal)
  bool hidden = false;
};

struct Layout {
  std::string name, className, title;  // Visiodent: title is the prefix of its live title
  bool byOrdinal = false;
  std::vector<Control> controls = {};

  int Add(Control control) {
    controls.push_back(std::move(control));
    return static_cast<int>(controls.size()) - 1;
  }
  void Field(int parent, int entry, int id, int x, int y, const char* className = "Edit") {
    Add({parent, "Static", 0, kCaptions[entry], x - 105, y + 3, 100, 18});
    Add({parent, className, id, "", x, y, 170, 22, entry, entry});
  }
  void Column(int parent, int x, int y, std::initializer_list<int> entries, int idBase = 0) {
    int row = 0;
    for (int entry : entries) Field(parent, entry, idBase ? idBase + entry : 0, x, y + 30 * row++);
  }
  // A combo named by the settings that shows the value in a first child.
  void Combo(int parent, int entry, int id, int x, int y) {
    Add({parent, "Static", 0, kCaptions[entry], x - 105, y + 3, 100, 18});
    Add({Add({parent, "JWCOMBOBOX", id, "Liste", x, y, 170, 22, 0, entry}), "Edit", id + 100, "", 0, 0, 150, 22,
         entry});
  }
};

inline Layout LayoutOf(Mode mode) {
  switch (mode) {
    case Mode::Plain: {  // by control id: a negative id, a combo, fields in a panel; traps without field
      Layout l{"plain", "CorvanePlainPractice", "Dossier patient"};
      l.Column(-1, 130, 16, {kNumDossier, kNom, kPrenom, kDateNaissance, kNumSS}, 1000);
      l.Combo(-1, kCivilite, 1000 + kCivilite, 130, 166), l.Field(-1, kTelephone, -5, 130, 196);
      l.Column(-1, 130, 226, {kMobile, kEMail}, 1000);
      l.Add({-1, "STATIQUE_LABEL", 1020, "NE PAS LIRE", 16, 290, 150, 22});
      l.Add({-1, "BOUTON_OK", 1021, "OK", 220, 290, 80, 24});
      l.Add({-1, "Edit", 0, "SANS IDENTIFIANT", 130, 320, 170, 22});
      l.Column(l.Add({-1, "CorvanePanel", 1030, "", 330, 16, 290, 170}), 110, 10,
               {kAdresse1, kAdresse2, kAdresse3, kCP, kVille}, 1000);
      return l;
    }
    case Mode::Julie: {  // only controls on a "JWTABPAGE..." or "#32770" parent count
      Layout l{"julie", "JULIE", "Fiche d'\xE9tat civil"};
      const int page = l.Add({-1, "JWTABPAGE1", 2000, "", 8, 8, 300, 400});
      l.Column(page, 115, 12, {kNumDossier, kNom, kPrenom, kDateNaissance, kNumSS}, 1000);
      l.Combo(page, kCivilite, 1000 + kCivilite, 115, 162);
      l.Add({page, "JWCOMBOBOX", 1015, "VIDE", 115, 192, 170, 22});  // no child: reads as one blank
      l.Add({page, "STATIQUE_TEXTE", 1020, "NE PAS LIRE", 10, 222, 150, 22});
      l.Column(l.Add({-1, "#32770", 2001, "", 316, 8, 300, 260}), 115, 12,
               {kAdresse1, kAdresse2, kAdresse3, kCP, kVille, kTelephone, kMobile, kEMail}, 1000);
      l.Add({-1, "Edit", 1099, "HORS PAGE", 316, 300, 140, 22});
      l.Add({l.Add({-1, "JWCADRE", 2002, "", 466, 292, 150, 40}), "Edit", 1098, "HORS CADRE", 8, 8, 134, 22});
      return l;
    }
    case Mode::WinDev: {  // id 0 everywhere, by Edit ordinal: classes beginning "Edit", hidden ones too
      Layout l{"windev", "WinDevObject", "Cabinet dentaire - Dossier", true};
      l.Field(-1, kNumDossier, 0, 130, 12);                          // ordinal 1
      l.Add({-1, "RichEdit20A", 0, "Remarques", 350, 12, 260, 50});  // not counted
      l.Field(-1, kNom, 0, 130, 42, "EditWinDev");                   // 2
      l.Add({-1, "Edit", 0, "CACH\xC9", 130, 42, 60, 22, 0, 0, true});
      l.Field(-1, kPrenom, 0, 130, 72);  // 4
      l.Add({-1, "EDITMAJ", 0, "MAJUSCULES", 350, 70, 260, 22});
      const int pane = l.Add({-1, "WinDevPane", 0, "", 340, 100, 280, 100});
      l.Field(pane, kDateNaissance, 0, 110, 10), l.Field(pane, kNumSS, 0, 110, 40, "EditWinDev");
      l.Add({pane, "Edit", 0, "CACH\xC9", 110, 70, 60, 22, 0, 0, true});  // 7
      l.Column(-1, 130, 102, {kCivilite, kAdresse1, kAdresse2});
      l.Field(-1, kAdresse3, 0, 130, 192, "EditWinDev");
      l.Column(-1, 130, 222, {kCP, kVille, kTelephone, kMobile});
      l.Field(-1, kEMail, 0, 130, 342, "EditWinDev");  // 16
      return l;
    }
    case Mode::Visiodent: {  // by id; the live title is the prefix, Nom, a blank and Prenom
      Layout l{"visiodent", "FENETRE_VISIODENT32", "VISIODENT - "};
      l.Column(-1, 110, 14, {kNumDossier, kNom, kPrenom, kDateNaissance, kNumSS, kCivilite}, 3000);
      l.Column(-1, 420, 14, {kAdresse1, kAdresse2, kAdresse3, kCP, kVille, kTelephone, kMobile, kEMail}, 3000);
      return l;
    }
    case Mode::Demo: {  // the demo and the guide's pictures: a patient form and nothing else
      Layout l{"demo", "CorvaneDemoPractice", "Dossier patient"};
      l.Column(-1, 130, 16, {kCivilite, kNom, kPrenom, kDateNaissance, kNumDossier, kNumSS}, 1000);
      l.Column(-1, 440, 16, {kAdresse1, kAdresse2, kAdresse3, kCP, kVille, kTelephone, kMobile, kEMail}, 1000);
      return l;
    }
    case Mode::Drawn: {  // no window per field: the rows are where it paints, read through accessibility
      Layout l{"drawn", "CorvaneDrawnPractice", "Dossier patient"};
      l.Column(-1, 130, 16, {kNumDossier, kNom, kPrenom, kDateNaissance, kNumSS, kCivilite});
      l.Column(-1, 440, 16, {kAdresse1, kAdresse2, kAdresse3, kCP, kVille, kTelephone, kMobile, kEMail});
      for (Control& c : l.controls)  // a field's name is its caption, then its text: each its own
        if (c.shows == kAdresse2 || c.shows == kAdresse3) c.text = c.shows == kAdresse2 ? "Adresse 2" : "Adresse 3";
      l.Add({-1, "Edit", 1099, "Remarques", 130, 290, 170, 22});  // the one window: its objects are its own
      return l;
    }
  }
  return {};
}

// The 17 lines of a Tech.txt for this layout: each field's control identity (id, or Edit ordinal), "0"
// (no control screen), the window class, and its title with the NUL the finder captures.
inline std::array<std::string, 17> TechLines(const Layout& layout) {
  std::array<std::string, 17> lines;
  int edits = 0;
  for (const Control& control : layout.controls) {
    edits += control.className.starts_with("Edit");
    if (control.names) lines[control.names - 1] = std::to_string(layout.byOrdinal ? edits : control.id);
    if (control.names && layout.name == "drawn")  // a text field (role 42), by its name
      lines[control.names - 1] = "acc:42:1:" + (kCaptions[control.names] + control.text);
  }
  lines[14] = '0', lines[15] = layout.className, lines[16] = layout.title + std::string(1, '\0');
  return lines;
}

inline std::string TechFileBytes(const std::array<std::string, 17>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// Upper-case hex without separators, as the stand-in X-ray program logs the hand-off.
inline std::string Hex(const std::string& bytes) {
  std::string hex;
  for (unsigned char c : bytes) hex += {"0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15]};
  return hex;
}

// The demo patient (run command, end-to-end tests), as the practice program shows it; the demo
// form shows its form of address alone.
inline constexpr char kDemoCivilite[] = "Civilite=Mme\r\n";
inline std::string PatientFile(const std::string& numDossier = "1207", const std::string& nom = "Lef\xE8vre") {
  return "NumDossier=" + numDossier + "\r\nNom=" + nom +
         "\r\nPrenom=H\xE9l\xE8ne\r\nDateNaissance=14/03/1985\r\nNumSS=2 85 03 75 123 456 78\r\n"
         "Civilite=Mme\tMadame\r\nAdresse1=12 rue des Lilas\r\nCP=75011\r\nVille=Paris\r\n"
         "Telephone=01 23 45 67 89\r\nMobile=06 12 34 56 78\r\nEMail=helene@example.fr\r\n";
}

}  // namespace corvane::standin
