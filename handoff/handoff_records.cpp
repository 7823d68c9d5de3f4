#include "handoff/handoff_records.h"

#include <algorithm>
#include <vector>

#include "platform/link_error.h"

namespace corvane {
namespace {

// One field of a record: its bytes and, for a field the patient's data fills, what a
// practice's support person would call it (to say which one made the record too long).
struct RecordField {
  const wchar_t* label = nullptr;  // null for the fixed fields
  std::string bytes;
};

std::wstring TrimSpaces(const std::wstring& value) {
  const std::size_t first = value.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  const std::size_t last = value.find_last_not_of(L' ');
  return value.substr(first, last - first + 1);
}

// `value` in decimal, zero-padded on the left to `width` digits.
std::wstring Padded(int value, std::size_t width) {
  const std::wstring digits = std::to_wstring(value);
  return std::wstring(width - std::min(width, digits.size()), L'0') + digits;
}

// Length byte, 0x00, letter, 0x00, each field followed by 0x00, CR LF. The length byte is
// written as its raw value: it never goes through the code page.
std::string FrameRecord(char letter, const std::vector<RecordField>& fields) {
  std::string content;
  content.push_back('\0');
  content.push_back(letter);
  content.push_back('\0');
  for (const RecordField& field : fields) {
    content += field.bytes;
    content.push_back('\0');
  }
  const std::size_t total = content.size() + 3;
  if (total > kRecordMaximumBytes) {
    const RecordField* longest = nullptr;
    for (const RecordField& field : fields) {
      if (field.label != nullptr && (longest == nullptr || field.bytes.size() > longest->bytes.size())) {
        longest = &field;
      }
    }
    throw LinkError(L"La fiche patient pour Sidexis (ligne " + std::wstring(1, static_cast<wchar_t>(letter)) +
                        L") ferait " + std::to_wstring(total) + L" octets, 255 au plus ; le champ le plus long est " +
                        longest->label + L" (" + std::to_wstring(longest->bytes.size()) + L" caractères)",
                    error_number::kRecordTooLong);
  }
  std::string record;
  record.reserve(total);
  record.push_back(static_cast<char>(static_cast<unsigned char>(total)));
  record += content;
  record += "\r\n";
  return record;
}

// The four fields both records start with, in their order.
std::vector<RecordField> PatientFields(const HandOffValues& values, const TextPlatform& text) {
  return {
      {L"le nom", text.ToAnsi(OneLine(values.nom))},
      {L"le prénom (avec le numéro de dossier)", text.ToAnsi(NameField(values.prenom, values.numDossier))},
      {L"la date de naissance", text.ToAnsi(OneLine(values.dateNaissance))},
      {L"le numéro de sécurité sociale", text.ToAnsi(OneLine(WrittenNumSS(values.numSS)))},
  };
}

}  // namespace

void CheckFileNumber(const std::wstring& numDossier) {
  if (numDossier.size() + 1 > kNameFieldLength) {
    // Quoted as far as a message box can show it; the length given is the whole value's.
    constexpr std::size_t kQuoted = 40;
    const std::wstring quoted = numDossier.size() > kQuoted ? numDossier.substr(0, kQuoted) + L"…" : numDossier;
    throw LinkError(L"Le numéro de dossier « " + quoted + L" » a " + std::to_wstring(numDossier.size()) +
                        L" caractères : Sidexis en accepte 31 au plus",
                    error_number::kFileNumberTooLong);
  }
}

std::wstring OneLine(std::wstring value) {
  for (wchar_t& c : value) {
    if (c < L' ') c = L' ';
  }
  return value;
}

bool IsBlankField(const std::wstring& value) {
  return TrimSpaces(OneLine(value)).empty();
}

std::wstring NameField(const std::wstring& prenom, const std::wstring& numDossier) {
  const std::wstring suffix = L"_" + OneLine(numDossier);
  const std::size_t room = suffix.size() < kNameFieldLength ? kNameFieldLength - suffix.size() : 0;
  // Cut first, then trim: a cut that ends in spaces gives a field shorter than 32.
  return TrimSpaces(OneLine(prenom.substr(0, room))) + suffix;
}

std::wstring WrittenNumSS(const std::wstring& numSS) {
  return numSS.size() >= kNumSSMinimumLength ? numSS : std::wstring();
}

std::wstring FormatHandOffDate(const LocalTime& when) {
  return Padded(when.day, 2) + L"." + Padded(when.month, 2) + L"." + Padded(when.year, 4);
}

std::wstring FormatHandOffTime(const LocalTime& when) {
  return Padded(when.hour, 2) + L":" + Padded(when.minute, 2) + L":" + Padded(when.second, 2);
}

std::string BuildNRecord(const HandOffValues& values, const TextPlatform& text) {
  std::vector<RecordField> fields = PatientFields(values, text);
  fields.push_back({});
  fields.push_back({nullptr, "Du Dozu"});
  fields.push_back({});
  fields.push_back({});
  return FrameRecord('N', fields);
}

std::string BuildARecord(const HandOffValues& values, const std::wstring& computerName, const LocalTime& when,
                         const TextPlatform& text) {
  std::vector<RecordField> fields = PatientFields(values, text);
  fields.push_back({L"le nom de l'ordinateur", text.ToAnsi(OneLine(computerName))});
  fields.push_back({nullptr, text.ToAnsi(FormatHandOffDate(when))});
  fields.push_back({nullptr, text.ToAnsi(FormatHandOffTime(when))});
  fields.push_back({});
  fields.push_back({});
  fields.push_back({});
  return FrameRecord('A', fields);
}

HandOffRecords BuildHandOffRecords(const HandOffValues& values, const std::wstring& computerName, const LocalTime& when,
                                   const TextPlatform& text) {
  CheckFileNumber(values.numDossier);
  HandOffRecords records;
  records.n = BuildNRecord(values, text);
  records.a = BuildARecord(values, computerName, when, text);
  return records;
}

}  // namespace corvane
