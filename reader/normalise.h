#pragma once
// How a text read from the practice program is stored into a patient field.
#include <string>

namespace corvane {

class TextPlatform;

// The value to store in the field fed by link settings entry `entry` (1 to 14):
// Civilite (4) keeps what precedes the first TAB; Nom (9) is upper-cased, accents kept;
// NumSS (11) loses its spaces; Prenom (12) has its accented small letters folded to plain
// capitals, then is upper-cased. Every other entry stores the text unchanged.
std::wstring NormaliseField(int entry, const std::wstring& text, const TextPlatform& platformText);

}  // namespace corvane
