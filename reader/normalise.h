#pragma once
// How a text read from the practice program is stored into a patient field.
#include <string>

namespace corvane {

class TextPlatform;
enum class Field : int;

// The value to store in `field`: Civilite keeps what precedes the first TAB; Nom is
// upper-cased, accents kept; NumSS loses its spaces; Prenom has its accented small letters
// folded to plain capitals, then is upper-cased. Every other field stores the text unchanged.
std::wstring NormaliseField(Field field, const std::wstring& text, const TextPlatform& platformText);

}  // namespace corvane
