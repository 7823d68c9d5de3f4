#pragma once
// The configuration screen as written, independent of the table the window is built from.
#include <windows.h>

#include <set>
#include <vector>

#include "settings/screen/screen_layout.h"

namespace corvane::testing {

using namespace screen_id;
using enum Field;

// The screen as written, at 96 dpi: each control's rectangle, its ground and text colours (0: not
// checked; ~0u: the system's window colour; a label is red on the window's blue, a text box's text dark
// blue), whether it shows only in configuration mode.
struct Written {
  int id, x, y, width, height;
  COLORREF ground = 0, text = 0;
  bool configurationOnly = false;
  bool Label() const { return id > kLabelBase && id <= kLabelBase + 10; }
  COLORREF Ground() const { return Label() ? RGB(0, 0, 169) : ground; }
  COLORREF Text() const {
    return Label() ? RGB(255, 0, 0) : id > kFieldBoxBase && id < kFinderBoxBase ? RGB(0, 0, 192) : text;
  }
};
inline constexpr COLORREF kLight = RGB(192, 255, 255), kBlank = RGB(255, 255, 255), kBlue = RGB(0, 0, 169),
                          kRedInk = RGB(255, 0, 0), kSystem = ~0u;
inline constexpr Written kWrittenScreen[] = {
    {kTitle, 56, 0, 356, 38, kBlue, RGB(255, 128, 0)}, {kImage1, 415, 4, 41, 39},
    {kConsigne, 120, 32, 233, 17, kBlue, kLight, 1}, {kDemarrerSidexis, 190, 280, 126, 40},
    {kRaz, 346, 280, 113, 40, 0, 0, 1}, {kMontreSurClic, 40, 284, 146, 32, kBlue, kRedInk, 1},
    {kLabelBase + 1, 10, 48, 113, 17}, {kLabelBase + 2, 138, 49, 152, 17}, {kLabelBase + 3, 304, 49, 162, 17},
    {kLabelBase + 4, 10, 106, 97, 17}, {kLabelBase + 5, 122, 105, 177, 17}, {kLabelBase + 6, 314, 105, 145, 17},
    {kLabelBase + 7, 10, 153, 201, 17}, {kLabelBase + 8, 274, 196, 81, 17}, {kLabelBase + 9, 274, 219, 65, 17},
    {kLabelBase + 10, 274, 242, 57, 17},
    {FieldBox(NumDossier), 24, 65, 73, 21, kLight}, {FieldBox(DateNaissance), 129, 64, 162, 21, kLight},
    {FieldBox(NumSS), 313, 65, 145, 21, kLight}, {FieldBox(Civilite), 16, 120, 89, 21, kSystem},
    {FieldBox(Nom), 129, 120, 162, 21, kLight}, {FieldBox(Prenom), 314, 120, 145, 21, kLight},
    {FieldBox(Adresse1), 10, 168, 201, 21, kBlank}, {FieldBox(Adresse2), 10, 192, 201, 21, kBlank},
    {FieldBox(Adresse3), 10, 216, 201, 21, kBlank}, {FieldBox(CP), 9, 241, 49, 21, kBlank},
    {FieldBox(Ville), 82, 241, 129, 21, kBlank}, {FieldBox(Telephone), 346, 193, 113, 21, kBlank},
    {FieldBox(Mobile), 346, 217, 113, 21, kBlank}, {FieldBox(EMail), 346, 241, 113, 21, kBlank},
    {FinderBox(NumDossier), 104, 64, 14, 17, 0, 0, 1}, {FinderBox(DateNaissance), 296, 64, 14, 17, 0, 0, 1},
    {FinderBox(NumSS), 464, 64, 14, 17, 0, 0, 1}, {FinderBox(Civilite), 112, 120, 14, 17, 0, 0, 1},
    {FinderBox(Nom), 296, 120, 14, 17, 0, 0, 1}, {FinderBox(Prenom), 464, 120, 14, 17, 0, 0, 1},
    {FinderBox(Adresse1), 216, 168, 14, 17, 0, 0, 1}, {FinderBox(Adresse2), 216, 192, 14, 17, 0, 0, 1},
    {FinderBox(Adresse3), 216, 216, 14, 17, 0, 0, 1}, {FinderBox(CP), 64, 240, 14, 17, 0, 0, 1},
    {FinderBox(Ville), 216, 240, 14, 17, 0, 0, 1}, {FinderBox(Telephone), 464, 192, 14, 17, 0, 0, 1},
    {FinderBox(Mobile), 464, 220, 14, 17, 0, 0, 1}, {FinderBox(EMail), 464, 248, 14, 17, 0, 0, 1}};
// Written in the Tab order, invisible controls skipped; negative: shown in configuration mode only.
inline const std::vector<int> kWrittenTabOrder = {
    FieldBox(NumDossier), FieldBox(NumSS), FieldBox(Prenom), FieldBox(DateNaissance), kDemarrerSidexis,
    FieldBox(Ville), -FinderBox(NumDossier), -FinderBox(DateNaissance), -FinderBox(Civilite), -FinderBox(Nom),
    -FinderBox(Adresse1), -FinderBox(NumSS), -FinderBox(Prenom), -FinderBox(Adresse2), -FinderBox(Adresse3),
    -FinderBox(CP), -FinderBox(Ville), -FinderBox(Telephone), -FinderBox(Mobile), -FinderBox(EMail),
    FieldBox(Civilite), FieldBox(Nom), FieldBox(Mobile), FieldBox(Telephone), FieldBox(Adresse1), FieldBox(Adresse2),
    FieldBox(Adresse3), FieldBox(CP), -kMontreSurClic, -kRaz, FieldBox(EMail)};
// The labels and boxes whose text is written centred (ES_CENTER and SS_CENTER are the same bit).
inline const std::set<int> kWrittenCentred = {kTitle, kLabelBase + 2, kLabelBase + 3, kLabelBase + 4, kLabelBase + 5,
                                              kLabelBase + 6, kLabelBase + 7, FieldBox(Field::NumDossier),
                                              FieldBox(Field::DateNaissance), FieldBox(Field::NumSS)};
// The written fonts of a few controls: face, size in hundredths of a point, bold, italic.
struct WrittenFont { int id; const wchar_t* face; int hundredthsOfPoint; bool bold, italic; };
inline constexpr WrittenFont kWrittenFonts[] = {{kTitle, L"Arial", 2175, false, false},
                                                {kDemarrerSidexis, L"MS Sans Serif", 1350, true, false},
                                                {kRaz, L"MS Sans Serif", 825, false, true},
                                                {kLabelBase + 1, L"MS Sans Serif", 825, true, false}};

}  // namespace corvane::testing
