#pragma once
// What the tests know about the stand-in practice programs (tests/standins/practice_*.cpp):
// their window classes and titles, the id (or, for the WinDev stand-in, the Edit ordinal) of
// the control that shows each patient field, the patient file they read, and the link
// settings (Tech.txt lines) that configure the link for each of them.
//
// Portable on purpose (no <windows.h>): native tests include it as well as the Wine tests.
// Texts are Windows-1252 bytes, as the stand-ins hand them to the ANSI window functions.
#include <array>
#include <string>

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

// The patient file, named on the stand-in's command line: lines "Key=Value" (CR LF or LF),
// Windows-1252. The key of field entry n is kFieldKeys[n]; each value is shown exactly as
// given (a Civilite such as "Mme\tMadame" keeps its TAB).
inline constexpr const char* kFieldKeys[kFieldEntries + 1] = {
    "",       "Adresse1", "Adresse2",   "Adresse3", "Civilite", "CP",        "DateNaissance", "EMail",
    "Mobile", "Nom",      "NumDossier", "NumSS",    "Prenom",   "Telephone", "Ville"};

// Control keys of the patient file.
// Hang=N: each time the file is read with this key, the program stops pumping messages for
// N seconds (after it has written the .shown file), then goes on.
inline constexpr char kKeyHang[] = "Hang";
// DropNumSS=1: the control showing NumSS is destroyed; it comes back, at its old place in
// the window order, when the key disappears.
inline constexpr char kKeyDropNumSS[] = "DropNumSS";
// Title=...: replaces the main window's title.
inline constexpr char kKeyTitle[] = "Title";

// The stand-in checks its patient file every 200 ms; once it shows a changed file it writes
// "<patient file>.shown" holding the NumDossier it now shows.
inline constexpr char kShownSuffix[] = ".shown";
inline constexpr int kPollMilliseconds = 200;

// Every main window sits here (screen coordinates), clear of the link's launcher at
// (70, 455) and of its 481 x 334 screen.
inline constexpr int kMainLeft = 300;
inline constexpr int kMainTop = 100;
inline constexpr int kMainWidth = 640;
inline constexpr int kMainHeight = 480;

// A field and the identity of the control that shows it: a control id, or for the WinDev
// stand-in an Edit ordinal.
struct FieldControl {
  int entry;
  int identity;
};

// The bytes of a Tech.txt holding these 17 lines, each ended by CR LF.
inline std::string TechFileBytes(const std::array<std::string, 17>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// A Windows-1252 text of ours as in-memory text. Our texts use no byte in 0x80..0x9F, so
// each byte is its own code point.
inline std::wstring Wide(const std::string& bytes) {
  std::wstring text;
  for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return text;
}

// The 17 entries of a Tech.txt: identities 1 to 14 taken from `fields`, "0" (no control
// screen), the practice window class, and its title followed by one NUL as the finder
// captures it.
inline std::array<std::string, 17> TechLinesFor(const std::array<FieldControl, kFieldEntries>& fields,
                                                const std::string& className, const std::string& title) {
  std::array<std::string, 17> lines;
  for (const FieldControl& field : fields) lines[field.entry - 1] = std::to_string(field.identity);
  lines[14] = "0";
  lines[15] = className;
  lines[16] = title + std::string(1, '\0');
  return lines;
}

// practice_plain: a program of no known maker, read in plain mode (control ids).
namespace plain {
inline constexpr char kProgram[] = "practice_plain";
inline constexpr char kClass[] = "CorvanePlainPractice";
inline constexpr char kTitle[] = "Dossier patient";

// Directly on the main window.
inline constexpr int kNumDossierId = 1001;     // entry 10
inline constexpr int kNomId = 1002;            // entry 9
inline constexpr int kPrenomId = 1003;         // entry 12
inline constexpr int kDateNaissanceId = 1004;  // entry 6
inline constexpr int kNumSSId = 1005;          // entry 11
// Civilite (entry 4) lives in a combo of class kComboClass: the combo carries this id and
// its own text kComboText; the value sits in its first child, an EDIT of id kComboPartId.
inline constexpr int kCiviliteId = 1006;
inline constexpr char kComboClass[] = "JWCOMBOBOX";
inline constexpr char kComboText[] = "Liste des civilit\xE9s";
inline constexpr int kComboPartId = 1016;
// Inside a container window of class kPanelClass (id kPanelId), itself on the main window.
inline constexpr char kPanelClass[] = "CorvanePanel";
inline constexpr int kPanelId = 1030;
inline constexpr int kAdresse1Id = 1007;  // entry 1
inline constexpr int kAdresse2Id = 1008;  // entry 2
inline constexpr int kAdresse3Id = 1009;  // entry 3
inline constexpr int kCPId = 1010;        // entry 5
inline constexpr int kVilleId = 1011;     // entry 14
// Back on the main window.
inline constexpr int kMobileId = 1012;   // entry 8
inline constexpr int kEMailId = 1013;    // entry 7
inline constexpr int kTelephoneId = -5;  // entry 13: a negative control id
// Windows that carry ids an entry could hold but that must never be read.
inline constexpr char kStaticClass[] = "STATIQUE_LABEL";
inline constexpr int kStaticId = 1020;
inline constexpr char kStaticText[] = "NE PAS LIRE";
inline constexpr char kButtonClass[] = "BOUTON_OK";
inline constexpr int kButtonId = 1021;
inline constexpr char kButtonText[] = "OK";
// An EDIT without id (GetDlgCtrlID gives 0): no entry can ever name it.
inline constexpr char kNoIdText[] = "SANS IDENTIFIANT";

inline constexpr std::array<FieldControl, kFieldEntries> kFields = {{
    {kEntryAdresse1, kAdresse1Id},
    {kEntryAdresse2, kAdresse2Id},
    {kEntryAdresse3, kAdresse3Id},
    {kEntryCivilite, kCiviliteId},
    {kEntryCP, kCPId},
    {kEntryDateNaissance, kDateNaissanceId},
    {kEntryEMail, kEMailId},
    {kEntryMobile, kMobileId},
    {kEntryNom, kNomId},
    {kEntryNumDossier, kNumDossierId},
    {kEntryNumSS, kNumSSId},
    {kEntryPrenom, kPrenomId},
    {kEntryTelephone, kTelephoneId},
    {kEntryVille, kVilleId},
}};

inline std::array<std::string, 17> TechLines() {
  return TechLinesFor(kFields, kClass, kTitle);
}
}  // namespace plain

// practice_plain --notepad: the window the link's reset values name (class "Notepad", title
// with a trailing blank). Its one EDIT has id 100, the reset identity of every entry, so
// after a reset every field reads this control; it shows the patient file's Nom.
namespace notepad {
inline constexpr char kProgram[] = "practice_plain";
inline constexpr char kArgument[] = "--notepad";
inline constexpr char kClass[] = "Notepad";
inline constexpr char kTitle[] = "Sans titre - Bloc-notes ";
inline constexpr int kEditId = 100;
inline constexpr int kShownEntry = kEntryNom;
}  // namespace notepad

// practice_julie: read in Julie mode. Only controls whose direct parent's class begins with
// "JWTABPAGE" or "#32770" count.
namespace julie {
inline constexpr char kProgram[] = "practice_julie";
inline constexpr char kClass[] = "JULIE";
inline constexpr char kTitle[] = "Fiche d'\xE9tat civil";

// Tab page (class kTabPageClass, id kTabPageId, child of the main window).
inline constexpr char kTabPageClass[] = "JWTABPAGE1";
inline constexpr int kTabPageId = 2000;
inline constexpr int kNumDossierId = 1001;     // entry 10
inline constexpr int kNomId = 1002;            // entry 9
inline constexpr int kPrenomId = 1003;         // entry 12
inline constexpr int kDateNaissanceId = 1004;  // entry 6
inline constexpr int kNumSSId = 1005;          // entry 11
// Civilite (entry 4): a combo of class kComboClass whose value sits in its first child (an
// EDIT of id kComboPartId); the combo's own text is kComboText.
inline constexpr int kCiviliteId = 1006;
inline constexpr char kComboClass[] = "JWCOMBOBOX";
inline constexpr char kComboText[] = "Civilit\xE9";
inline constexpr int kComboPartId = 1016;
// A combo of the same class without any child window (reads as a single space); no field
// of the Tech.txt below points at it.
inline constexpr int kChildlessComboId = 1015;
inline constexpr char kChildlessComboText[] = "VIDE";
// On the tab page too, never to be read: a static text and a button.
inline constexpr char kStaticClass[] = "STATIQUE_TEXTE";
inline constexpr int kStaticId = 1020;
inline constexpr char kStaticText[] = "NE PAS LIRE";
inline constexpr char kButtonClass[] = "BOUTON_VALIDER";
inline constexpr int kButtonId = 1021;
inline constexpr char kButtonText[] = "Valider";

// A dialog child ("#32770", id kDialogId, WS_CHILD of the main window).
inline constexpr char kDialogClass[] = "#32770";
inline constexpr int kDialogId = 2001;
inline constexpr int kAdresse1Id = 1007;   // entry 1
inline constexpr int kAdresse2Id = 1008;   // entry 2
inline constexpr int kAdresse3Id = 1009;   // entry 3
inline constexpr int kCPId = 1010;         // entry 5
inline constexpr int kVilleId = 1011;      // entry 14
inline constexpr int kTelephoneId = 1012;  // entry 13
inline constexpr int kMobileId = 1013;     // entry 8
inline constexpr int kEMailId = 1014;      // entry 7

// Controls that hold a field's look-alike but must never be read in Julie mode: one
// directly on the main window, one inside a container whose class is neither a tab page
// nor a dialog (kFrameClass, id kFrameId, on the main window).
inline constexpr int kMainWindowFieldId = 1099;
inline constexpr char kMainWindowFieldText[] = "HORS PAGE";
inline constexpr char kFrameClass[] = "JWCADRE";
inline constexpr int kFrameId = 2002;
inline constexpr int kFrameFieldId = 1098;
inline constexpr char kFrameFieldText[] = "HORS CADRE";

inline constexpr std::array<FieldControl, kFieldEntries> kFields = {{
    {kEntryAdresse1, kAdresse1Id},
    {kEntryAdresse2, kAdresse2Id},
    {kEntryAdresse3, kAdresse3Id},
    {kEntryCivilite, kCiviliteId},
    {kEntryCP, kCPId},
    {kEntryDateNaissance, kDateNaissanceId},
    {kEntryEMail, kEMailId},
    {kEntryMobile, kMobileId},
    {kEntryNom, kNomId},
    {kEntryNumDossier, kNumDossierId},
    {kEntryNumSS, kNumSSId},
    {kEntryPrenom, kPrenomId},
    {kEntryTelephone, kTelephoneId},
    {kEntryVille, kVilleId},
}};

inline std::array<std::string, 17> TechLines() {
  return TechLinesFor(kFields, kClass, kTitle);
}
}  // namespace julie

// practice_windev: read in WinDev mode. Every control has id 0; a field is known by its Edit
// ordinal, its 1-based position among the descendants of the main window whose class
// begins with "Edit", in EnumChildWindows order. Creation order (= enumeration order):
//   main: Edit NumDossier (1), RichEdit20A (or kRichEditFallbackClass), EditWinDev Nom (2),
//         hidden Edit (3), Edit Prenom (4), kUpperCaseClass window,
//         kPaneClass container: Static, Edit DateNaissance (5), EditWinDev NumSS (6),
//                               hidden Edit (7);
//         Edit Civilite (8), Edit Adresse1 (9), Edit Adresse2 (10), EditWinDev Adresse3 (11),
//         Edit CP (12), Edit Ville (13), Edit Telephone (14), Edit Mobile (15),
//         EditWinDev EMail (16).
// Static labels sit between them; they do not count.
namespace windev {
inline constexpr char kProgram[] = "practice_windev";
inline constexpr char kClass[] = "WinDevObject";
inline constexpr char kTitle[] = "Cabinet dentaire - Dossier";

inline constexpr char kEditClass[] = "Edit";
inline constexpr char kLongEditClass[] = "EditWinDev";
inline constexpr char kRichEditClass[] = "RichEdit20A";
inline constexpr char kRichEditFallbackClass[] = "RichEditStandin";
inline constexpr char kRichEditText[] = "Remarques";
// Spelled in capitals: not of the "Edit" family.
inline constexpr char kUpperCaseClass[] = "EDITMAJ";
inline constexpr char kUpperCaseText[] = "MAJUSCULES";
inline constexpr char kPaneClass[] = "WinDevPane";
inline constexpr char kHiddenEditText[] = "CACH\xC9";
inline constexpr int kHiddenOrdinals[] = {3, 7};
inline constexpr int kEditWindowCount = 16;

inline constexpr int kNumDossierOrdinal = 1;     // entry 10
inline constexpr int kNomOrdinal = 2;            // entry 9
inline constexpr int kPrenomOrdinal = 4;         // entry 12
inline constexpr int kDateNaissanceOrdinal = 5;  // entry 6
inline constexpr int kNumSSOrdinal = 6;          // entry 11
inline constexpr int kCiviliteOrdinal = 8;       // entry 4
inline constexpr int kAdresse1Ordinal = 9;       // entry 1
inline constexpr int kAdresse2Ordinal = 10;      // entry 2
inline constexpr int kAdresse3Ordinal = 11;      // entry 3
inline constexpr int kCPOrdinal = 12;            // entry 5
inline constexpr int kVilleOrdinal = 13;         // entry 14
inline constexpr int kTelephoneOrdinal = 14;     // entry 13
inline constexpr int kMobileOrdinal = 15;        // entry 8
inline constexpr int kEMailOrdinal = 16;         // entry 7

inline constexpr std::array<FieldControl, kFieldEntries> kFields = {{
    {kEntryAdresse1, kAdresse1Ordinal},
    {kEntryAdresse2, kAdresse2Ordinal},
    {kEntryAdresse3, kAdresse3Ordinal},
    {kEntryCivilite, kCiviliteOrdinal},
    {kEntryCP, kCPOrdinal},
    {kEntryDateNaissance, kDateNaissanceOrdinal},
    {kEntryEMail, kEMailOrdinal},
    {kEntryMobile, kMobileOrdinal},
    {kEntryNom, kNomOrdinal},
    {kEntryNumDossier, kNumDossierOrdinal},
    {kEntryNumSS, kNumSSOrdinal},
    {kEntryPrenom, kPrenomOrdinal},
    {kEntryTelephone, kTelephoneOrdinal},
    {kEntryVille, kVilleOrdinal},
}};

inline std::array<std::string, 17> TechLines() {
  return TechLinesFor(kFields, kClass, kTitle);
}
}  // namespace windev

// practice_visiodent: plain mode, but the title is live: kTitlePrefix, then Nom, a blank and
// Prenom as shown ("VISIODENT - Lef\xE8vre Zo\xEB"); a Title key replaces it whole.
// Control id of field entry n: kIdBase + n.
namespace visiodent {
inline constexpr char kProgram[] = "practice_visiodent";
inline constexpr char kClass[] = "FENETRE_VISIODENT32";
inline constexpr char kTitlePrefix[] = "VISIODENT - ";
inline constexpr int kIdBase = 3000;

inline constexpr int kAdresse1Id = kIdBase + kEntryAdresse1;
inline constexpr int kAdresse2Id = kIdBase + kEntryAdresse2;
inline constexpr int kAdresse3Id = kIdBase + kEntryAdresse3;
inline constexpr int kCiviliteId = kIdBase + kEntryCivilite;
inline constexpr int kCPId = kIdBase + kEntryCP;
inline constexpr int kDateNaissanceId = kIdBase + kEntryDateNaissance;
inline constexpr int kEMailId = kIdBase + kEntryEMail;
inline constexpr int kMobileId = kIdBase + kEntryMobile;
inline constexpr int kNomId = kIdBase + kEntryNom;
inline constexpr int kNumDossierId = kIdBase + kEntryNumDossier;
inline constexpr int kNumSSId = kIdBase + kEntryNumSS;
inline constexpr int kPrenomId = kIdBase + kEntryPrenom;
inline constexpr int kTelephoneId = kIdBase + kEntryTelephone;
inline constexpr int kVilleId = kIdBase + kEntryVille;

inline constexpr std::array<FieldControl, kFieldEntries> kFields = {{
    {kEntryAdresse1, kAdresse1Id},
    {kEntryAdresse2, kAdresse2Id},
    {kEntryAdresse3, kAdresse3Id},
    {kEntryCivilite, kCiviliteId},
    {kEntryCP, kCPId},
    {kEntryDateNaissance, kDateNaissanceId},
    {kEntryEMail, kEMailId},
    {kEntryMobile, kMobileId},
    {kEntryNom, kNomId},
    {kEntryNumDossier, kNumDossierId},
    {kEntryNumSS, kNumSSId},
    {kEntryPrenom, kPrenomId},
    {kEntryTelephone, kTelephoneId},
    {kEntryVille, kVilleId},
}};

// The title the stand-in shows for this Nom and Prenom (bytes as in the patient file).
inline std::string TitleFor(const std::string& nom, const std::string& prenom) {
  return std::string(kTitlePrefix) + nom + " " + prenom;
}

// Entry 17 does not matter for Visiodent (the live title is used); the prefix is stored.
inline std::array<std::string, 17> TechLines() {
  return TechLinesFor(kFields, kClass, kTitlePrefix);
}
}  // namespace visiodent

}  // namespace corvane::standin
