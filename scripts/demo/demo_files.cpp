// What the run command writes and reads, taken from the same places as the end-to-end tests:
//   demo_files tech            the Tech.txt bytes that point the link at the demo stand-in
//   demo_files patient         the demo patient's file, as the stand-in reads it
//   demo_files records FILE    the N and A records of a hand-off file, field by field, in UTF-8
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/text.h"
#include "tests/standins/standin_layout.h"

namespace corvane {
namespace {

std::string Utf8(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | (code >> 6));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xE0 | (code >> 12));
      bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

// What each field of a record holds, in the order the hand-off writes them.
const char* FieldName(char type, std::size_t index) {
  static const char* const kN[] = {"Nom",    "prénom_dossier", "DateNaissance", "NumSS",
                                   "(vide)", "(texte fixe)",   "(vide)",        "(vide)"};
  static const char* const kA[] = {"Nom",  "prénom_dossier", "DateNaissance", "NumSS",  "computername",
                                   "date", "heure",          "(vide)",        "(vide)", "(vide)"};
  if (type == 'N' && index < std::size(kN)) return kN[index];
  if (type == 'A' && index < std::size(kA)) return kA[index];
  return "?";
}

// A record: its length byte (counting itself and the CR LF), 0x00, its type letter, 0x00,
// then each field ended by 0x00, then CR LF; texts in Windows-1252.
int PrintRecords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const PortableText text;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t length = static_cast<unsigned char>(bytes[at]);
    if (length < 6 || at + length > bytes.size()) {
      std::cerr << "  octets restants illisibles à la position " << at << "\n";
      return 1;
    }
    const char type = bytes[at + 2];
    std::cout << "Enregistrement " << type << " (" << length << " octets)\n";
    std::size_t field = 0;
    std::string value;
    for (std::size_t i = at + 4; i < at + length - 2; ++i) {
      if (bytes[i] != '\0') {
        value += bytes[i];
        continue;
      }
      char number[8];
      std::snprintf(number, sizeof number, "%2zu", field + 1);
      std::cout << "  " << number << " " << FieldName(type, field) << " : \"" << Utf8(text.FromAnsi(value)) << "\"\n";
      ++field;
      value.clear();
    }
    at += length;
  }
  return 0;
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  using namespace corvane;
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "tech" && argc == 2) {
    std::cout << standin::TechFileBytes(standin::TechLines(standin::LayoutOf(standin::Mode::Demo)));
  } else if (what == "patient" && argc == 2) {
    std::cout << standin::PatientFile() << standin::kDemoCivilite;
  } else if (what == "records" && argc == 3) {
    return PrintRecords(argv[2]);
  } else {
    std::cerr << "usage: demo_files tech | patient | records FILE\n";
    return 2;
  }
  return 0;
}
