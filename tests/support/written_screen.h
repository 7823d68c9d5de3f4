#pragma once
// The configuration screen as written, independent of the table the window is built from.
#include <windows.h>

#include <set>
#include <vector>

#include "settings/screen/screen_layout.h"

namespace corvane::testing {

using namespace screen_id;

// The screen as written, at 96 dpi, independent of the table the window is built from: each control's
// rectangle, its ground and text colours (0: not checked; ~0u: the system's window colour), whether it
// shows only in configuration mode, and the Tab order, invisible controls skipped.
struct Written {
  int id, x, y, width, height;
  COLORREF ground = 0, text = 0;
  bool configurationOnly = false;
};
inline constexpr COLORREF kLight = RGB(192, 255, 255), kBlank = RGB(255, 255, 255), kBlue = RGB(0, 0, 169),
                          kFieldInk = RGB(0, 0, 192), kRedInk = RGB(255, 0, 0), kSystem = ~0u;
inline constexpr Written kWrittenScreen[] = {
    {kTitle, 56, 0, 356, 38, kBlue, RGB(255, 128, 0)}, {kImage1, 415, 4, 41, 39}, {kConsigne, 120, 32, 233, 17, kBlue, kLight, 1},
    {kLabelBase + 1, 10, 48, 113, 17, kBlue, kRedInk}, {kLabelBase + 2, 138, 49, 152, 17, kBlue, kRedInk},
    {kLabelBase + 3, 304, 49, 162, 17, kBlue, kRedInk}, {FieldBox(Field::NumDossier), 24, 65, 73, 21, kLight, kFieldInk},
    {FieldBox(Field::DateNaissance), 129, 64, 162, 21, kLight, kFieldInk}, {FieldBox(Field::NumSS), 313, 65, 145, 21, kLight, kFieldInk},
    {kLabelBase + 4, 10, 106, 97, 17, kBlue, kRedInk}, {kLabelBase + 5, 122, 105, 177, 17, kBlue, kRedInk},
    {kLabelBase + 6, 314, 105, 145, 17, kBlue, kRedInk}, {FieldBox(Field::Civilite), 16, 120, 89, 21, kSystem, kFieldInk},
    {FieldBox(Field::Nom), 129, 120, 162, 21, kLight, kFieldInk}, {FieldBox(Field::Prenom), 314, 120, 145, 21, kLight, kFieldInk},
    {kLabelBase + 7, 10, 153, 201, 17, kBlue, kRedInk}, {FieldBox(Field::Adresse1), 10, 168, 201, 21, kBlank, kFieldInk},
    {FieldBox(Field::Adresse2), 10, 192, 201, 21, kBlank, kFieldInk}, {FieldBox(Field::Adresse3), 10, 216, 201, 21, kBlank, kFieldInk},
    {FieldBox(Field::CP), 9, 241, 49, 21, kBlank, kFieldInk}, {FieldBox(Field::Ville), 82, 241, 129, 21, kBlank, kFieldInk},
    {kLabelBase + 8, 274, 196, 81, 17, kBlue, kRedInk}, {FieldBox(Field::Telephone), 346, 193, 113, 21, kBlank, kFieldInk},
    {kLabelBase + 9, 274, 219, 65, 17, kBlue, kRedInk}, {FieldBox(Field::Mobile), 346, 217, 113, 21, kBlank, kFieldInk},
    {kLabelBase + 10, 274, 242, 57, 17, kBlue, kRedInk}, {FieldBox(Field::EMail), 346, 241, 113, 21, kBlank, kFieldInk},
    {kDemarrerSidexis, 190, 280, 126, 40}, {kRaz, 346, 280, 113, 40, 0, 0, 1}, {kMontreSurClic, 40, 284, 146, 32, kBlue, kRedInk, 1},
    {FinderBox(Field::NumDossier), 104, 64, 14, 17, 0, 0, 1}, {FinderBox(Field::DateNaissance), 296, 64, 14, 17, 0, 0, 1},
    {FinderBox(Field::NumSS), 464, 64, 14, 17, 0, 0, 1}, {FinderBox(Field::Civilite), 112, 120, 14, 17, 0, 0, 1},
    {FinderBox(Field::Nom), 296, 120, 14, 17, 0, 0, 1}, {FinderBox(Field::Prenom), 464, 120, 14, 17, 0, 0, 1},
    {FinderBox(Field::Adresse1), 216, 168, 14, 17, 0, 0, 1}, {FinderBox(Field::Adresse2), 216, 192, 14, 17, 0, 0, 1},
    {FinderBox(Field::Adresse3), 216, 216, 14, 17, 0, 0, 1}, {FinderBox(Field::CP), 64, 240, 14, 17, 0, 0, 1},
    {FinderBox(Field::Ville), 216, 240, 14, 17, 0, 0, 1}, {FinderBox(Field::Telephone), 464, 192, 14, 17, 0, 0, 1},
    {FinderBox(Field::Mobile), 464, 220, 14, 17, 0, 0, 1}, {FinderBox(Field::EMail), 464, 248, 14, 17, 0, 0, 1}};
// The labels and boxes whose text is written centred (ES_CENTER and SS_CENTER are the same bit).
inline const std::set<int> kWrittenCentred = {kTitle, kLabelBase + 2, kLabelBase + 3, kLabelBase + 4, kLabelBase + 5,
                                              kLabelBase + 6, kLabelBase + 7, FieldBox(Field::NumDossier),
                                              FieldBox(Field::DateNaissance), FieldBox(Field::NumSS)};
inline const std::vector<int> kWrittenTabOrder = [] {
  std::vector<int> order;
  for (const Field f : {Field::NumDossier, Field::NumSS, Field::Prenom, Field::DateNaissance}) order.push_back(FieldBox(f));
  order.insert(order.end(), {kDemarrerSidexis, FieldBox(Field::Ville)});
  for (const Field f : {Field::NumDossier, Field::DateNaissance, Field::Civilite, Field::Nom, Field::Adresse1, Field::NumSS,
                        Field::Prenom, Field::Adresse2, Field::Adresse3, Field::CP, Field::Ville, Field::Telephone,
                        Field::Mobile, Field::EMail})
    order.push_back(-FinderBox(f));  // negative: configuration mode only
  for (const Field f : {Field::Civilite, Field::Nom, Field::Mobile, Field::Telephone, Field::Adresse1, Field::Adresse2,
                        Field::Adresse3, Field::CP})
    order.push_back(FieldBox(f));
  order.insert(order.end(), {-kMontreSurClic, -kRaz, FieldBox(Field::EMail)});
  return order;
}();

// The written fonts of a few controls: face, size in hundredths of a point, bold, italic.
struct WrittenFont {
  int id;
  const wchar_t* face;
  int hundredthsOfPoint;
  bool bold, italic;
};
inline constexpr WrittenFont kWrittenFonts[] = {{kTitle, L"Arial", 2175, false, false},
                                                {kDemarrerSidexis, L"MS Sans Serif", 1350, true, false},
                                                {kRaz, L"MS Sans Serif", 825, false, true},
                                                {kLabelBase + 1, L"MS Sans Serif", 825, true, false}};

}  // namespace corvane::testing
