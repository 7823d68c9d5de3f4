#pragma once
// The screen LienSidexis, control by control: where each sits at 96 dpi, what it says, how it
// is drawn and in which mode it shows. The window builds itself from this table alone, and
// its tests read the same table.
#include <cstdint>
#include <iterator>

#include "reader/patient_record.h"
#include "settings/screen/screen_presenter.h"

namespace corvane {

// Control identifiers of the screen (GetDlgItem on the screen's window). None is IDOK or
// IDCANCEL, so Enter and Escape in a text box do nothing.
namespace screen_id {
inline constexpr int kFieldBoxBase = 200;   // + entry number (1 .. 14): the field text boxes
inline constexpr int kFinderBoxBase = 300;  // + entry number: the finder boxes
inline constexpr int kDemarrerSidexis = 101;
inline constexpr int kRaz = 102;
inline constexpr int kMontreSurClic = 103;
inline constexpr int kConsigne = 104;
inline constexpr int kTitle = 105;
inline constexpr int kImage1 = 106;
inline constexpr int kLabelBase = 110;  // + label number (1 .. 10)
constexpr int FieldBox(Field field) {
  return kFieldBoxBase + EntryOf(field);
}
constexpr int FinderBox(Field field) {
  return kFinderBoxBase + EntryOf(field);
}
}  // namespace screen_id

// A colour as Win32 stores it (0x00BBGGRR), or one of the system's.
using ScreenColour = std::uint32_t;
constexpr ScreenColour Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red | green << 8 | blue << 16;
}
inline constexpr ScreenColour kSystemWindowColour = 0xFF000000;  // the system's window colour
inline constexpr ScreenColour kSystemColours = 0xFE000000;       // the control draws itself

inline constexpr ScreenColour kDarkBlue = Rgb(0, 0, 169);  // the window's ground
inline constexpr ScreenColour kLightBlue = Rgb(192, 255, 255);
inline constexpr ScreenColour kWhite = Rgb(255, 255, 255);
inline constexpr ScreenColour kRed = Rgb(255, 0, 0);
inline constexpr ScreenColour kOrange = Rgb(255, 128, 0);
inline constexpr ScreenColour kFieldText = Rgb(0, 0, 192);

inline constexpr int kScreenClientWidth = 481;
inline constexpr int kScreenClientHeight = 334;

enum class ControlKind { FieldBox, FinderBox, Button, CheckBox, Label, Picture };
enum class ShownIn { BothModes, ConfigurationMode };

struct FontLook {
  const wchar_t* face;
  int hundredthsOfPoint;
  bool bold;
  bool italic;
};
// The screen's fonts; a row names one by its index.
enum class ScreenFont { Caption, Field, Title, Launch, Reset, Count };
inline constexpr FontLook kScreenFonts[] = {
    {L"MS Sans Serif", 825, true, false},   // Caption: field captions, the check box
    {L"MS Sans Serif", 825, false, false},  // Field: field text boxes, the instruction
    {L"Arial", 2175, false, false},         // Title
    {L"MS Sans Serif", 1350, true, false},  // Launch: DemarrerSIDEXIS
    {L"MS Sans Serif", 825, false, true},   // Reset: RAZ
};
static_assert(std::size(kScreenFonts) == static_cast<std::size_t>(ScreenFont::Count));

// One control at 96 dpi.
struct ControlRow {
  int id;
  const wchar_t* name;  // what the control is called, in messages and test reports
  ControlKind kind;
  int x, y, width, height;
  const wchar_t* caption;
  ScreenFont font;
  ScreenColour text;
  ScreenColour ground;
  bool centred;
  ShownIn shownIn;
};

namespace screen_layout {
using namespace screen_id;

constexpr ControlRow FieldRow(Field field, const wchar_t* name, int x, int y, int width, ScreenColour ground,
                              bool centred = false) {
  return {FieldBox(field), name,    ControlKind::FieldBox, x, y, width, 21, L"", ScreenFont::Field, kFieldText,
          ground,          centred, ShownIn::BothModes};
}
constexpr ControlRow FinderRow(Field field, const wchar_t* name, int x, int y) {
  return {FinderBox(field),    name,  ControlKind::FinderBox,    x, y, 14, 17, L"", ScreenFont::Caption, kSystemColours,
          kSystemWindowColour, false, ShownIn::ConfigurationMode};
}
constexpr ControlRow LabelRow(int number, const wchar_t* name, int x, int y, int width, const wchar_t* caption,
                              bool centred) {
  return {kLabelBase + number, name,    ControlKind::Label, x, y, width, 17, caption, ScreenFont::Caption, kRed,
          kDarkBlue,           centred, ShownIn::BothModes};
}

// The table's order is the creation order, hence the tab order and the z-order: the controls
// reached by Tab first, exactly as the screen lists them, then the labels and pictures,
// which take no focus.
inline constexpr ControlRow kScreenLayout[] = {
    FieldRow(Field::NumDossier, L"NumDossier", 24, 65, 73, kLightBlue, true),
    FieldRow(Field::NumSS, L"NumSS", 313, 65, 145, kLightBlue, true),
    FieldRow(Field::Prenom, L"Prenom", 314, 120, 145, kLightBlue),
    FieldRow(Field::DateNaissance, L"DateNaissance", 129, 64, 162, kLightBlue, true),
    {kDemarrerSidexis, L"DemarrerSIDEXIS", ControlKind::Button, 190, 280, 126, 40, kLaunchCaption, ScreenFont::Launch,
     kSystemColours, kSystemColours, true, ShownIn::BothModes},
    FieldRow(Field::Ville, L"Ville", 82, 241, 129, kWhite),
    FinderRow(Field::NumDossier, L"INumDossier", 104, 64),
    FinderRow(Field::DateNaissance, L"IDateNaissance", 296, 64),
    FinderRow(Field::Civilite, L"ICivilite", 112, 120),
    FinderRow(Field::Nom, L"INom", 296, 120),
    FinderRow(Field::Adresse1, L"IAdresse1", 216, 168),
    FinderRow(Field::NumSS, L"INumSS", 464, 64),
    FinderRow(Field::Prenom, L"IPrenom", 464, 120),
    FinderRow(Field::Adresse2, L"IAdresse2", 216, 192),
    FinderRow(Field::Adresse3, L"IAdresse3", 216, 216),
    FinderRow(Field::CP, L"ICP", 64, 240),
    FinderRow(Field::Ville, L"IVille", 216, 240),
    FinderRow(Field::Telephone, L"ITelephone", 464, 192),
    FinderRow(Field::Mobile, L"IMobile", 464, 220),
    FinderRow(Field::EMail, L"IEMail", 464, 248),
    FieldRow(Field::Civilite, L"Civilite", 16, 120, 89, kSystemWindowColour),
    FieldRow(Field::Nom, L"Nom", 129, 120, 162, kLightBlue),
    FieldRow(Field::Mobile, L"Mobile", 346, 217, 113, kWhite),
    FieldRow(Field::Telephone, L"Telephone", 346, 193, 113, kWhite),
    FieldRow(Field::Adresse1, L"Adresse1", 10, 168, 201, kWhite),
    FieldRow(Field::Adresse2, L"Adresse2", 10, 192, 201, kWhite),
    FieldRow(Field::Adresse3, L"Adresse3", 10, 216, 201, kWhite),
    FieldRow(Field::CP, L"CP", 9, 241, 49, kWhite),
    // Wider and taller than first drawn, around the same square, so that its label reads whole
    // on two lines instead of being cut after "de".
    {kMontreSurClic, L"MontreSurClic", ControlKind::CheckBox, 40, 284, 146, 32, L"Présenter l'écran de contrôle",
     ScreenFont::Caption, kRed, kDarkBlue, false, ShownIn::ConfigurationMode},
    {kRaz, L"RAZ", ControlKind::Button, 346, 280, 113, 40, L"ANNULER LE PARAMETRAGE", ScreenFont::Reset, kSystemColours,
     kSystemColours, true, ShownIn::ConfigurationMode},
    FieldRow(Field::EMail, L"EMail", 346, 241, 113, kWhite),
    // Consigne overlaps the title's lower edge; created first, it lies above it.
    {kConsigne, L"Consigne", ControlKind::Label, 120, 32, 233, 17, L"Les zones en bleu clair doivent être paramétrées",
     ScreenFont::Field, kLightBlue, kDarkBlue, false, ShownIn::ConfigurationMode},
    {kTitle, L"Title", ControlKind::Label, 56, 0, 356, 38, L"CORVANE LINK", ScreenFont::Title, kOrange, kDarkBlue, true,
     ShownIn::BothModes},
    {kImage1, L"Image1", ControlKind::Picture, 415, 4, 41, 39, L"", ScreenFont::Caption, kSystemColours, kDarkBlue,
     false, ShownIn::BothModes},
    LabelRow(1, L"Label1", 10, 48, 113, L"Numéro de Dossier", false),
    LabelRow(2, L"Label2", 138, 49, 152, L"Date de Naissance", true),
    LabelRow(3, L"Label3", 304, 49, 162, L"Numéro de Sécurité Sociale", true),
    LabelRow(4, L"Label4", 10, 106, 97, L"Civilité", true),
    LabelRow(5, L"Label5", 122, 105, 177, L"Nom", true),
    LabelRow(6, L"Label6", 314, 105, 145, L"Prénom", true),
    LabelRow(7, L"Label7", 10, 153, 201, L"Adresse", true),
    LabelRow(8, L"Label8", 274, 196, 81, L"Téléphone", false),
    LabelRow(9, L"Label9", 274, 219, 65, L"Mobile", false),
    LabelRow(10, L"Label10", 274, 242, 57, L"E Mail", false),
};
}  // namespace screen_layout

using screen_layout::kScreenLayout;

// The row of a control, or null.
constexpr const ControlRow* RowOf(int id) {
  for (const ControlRow& row : kScreenLayout) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

}  // namespace corvane
