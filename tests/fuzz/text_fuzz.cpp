// The text rules and the code page: every byte comes back through the code page, each field's
// rule keeps to what it may change, a record field is one line.
#include <string>

#include "handoff/handoff_records.h"
#include "reader/normalise.h"
#include "reader/patient_record.h"
#include "tests/fuzz/fuzz_input.h"

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const PortableText text;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::wstring decoded = text.FromAnsi(bytes);
  FUZZ_CHECK(decoded.size() == bytes.size() && text.ToAnsi(decoded) == bytes);
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    const Field field = FieldOfEntry(entry);
    const std::wstring stored = NormaliseField(field, decoded, text);
    FUZZ_CHECK(text.ToAnsi(stored).size() == stored.size());
    if (field == Field::Civilite) FUZZ_CHECK(decoded.starts_with(stored) && stored.find(L'\t') == std::wstring::npos);
    if (field == Field::NumSS) FUZZ_CHECK(stored.find(L' ') == std::wstring::npos && stored.size() <= decoded.size());
    if (field == Field::Nom || field == Field::Prenom) FUZZ_CHECK(stored.size() == decoded.size());
  }
  const std::wstring line = OneLine(decoded);
  FUZZ_CHECK(line.size() == decoded.size() && line.find(L'\r') == std::wstring::npos &&
             line.find(L'\n') == std::wstring::npos && line.find(L'\0') == std::wstring::npos);
  return 0;
}
