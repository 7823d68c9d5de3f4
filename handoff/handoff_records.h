#pragma once
// The two hand-off records (N and A) as bytes, built without touching any file, so that
// every check is made before the hand-off files are opened.
#include <string>

#include "platform/clock.h"
#include "platform/text.h"
#include "handoff/handoff_values.h"

namespace corvane {

// The name field holds at most this many characters: first name, "_", file number.
inline constexpr std::size_t kNameFieldLength = 32;
// A social-security number shorter than this is handed off as an empty field.
inline constexpr std::size_t kNumSSMinimumLength = 15;
// The length byte counts the whole line, itself and CR LF included.
inline constexpr std::size_t kRecordMaximumBytes = 255;

struct HandOffRecords {
  std::string n;  // the N record, length byte to CR LF
  std::string a;  // the A record, length byte to CR LF
};

// Throws LinkError (kFileNumberTooLong) when the file number leaves no room in the name field,
// that is when it has more than 31 characters.
void CheckFileNumber(const std::wstring& numDossier);

// The value with every control character (below U+0020) made a space: a record is one line
// and the X-ray program reads one record a line, so a line break or a NUL read from a
// multi-line control must not reach the file.
std::wstring OneLine(std::wstring value);

// True when the value is empty once made one line and U+0020 spaces are taken off both ends.
bool IsBlankField(const std::wstring& value);

// Both values made one line, then the first name cut to the room the suffix "_" + file number
// leaves, then trimmed of U+0020 at both ends, then the suffix. Expects a file number that
// passed CheckFileNumber.
std::wstring NameField(const std::wstring& prenom, const std::wstring& numDossier);

// The number itself when it has at least 15 characters, otherwise empty. Never trimmed.
std::wstring WrittenNumSS(const std::wstring& numSS);

std::wstring FormatHandOffDate(const LocalTime& when);  // "DD.MM.YYYY"
std::wstring FormatHandOffTime(const LocalTime& when);  // "HH:MM:SS"

// The N record. Throws LinkError (kRecordTooLong) when it would exceed 255 bytes.
std::string BuildNRecord(const HandOffValues& values, const TextPlatform& text);

// The A record for that computer name and moment. Throws LinkError (kRecordTooLong) when it
// would exceed 255 bytes.
std::string BuildARecord(const HandOffValues& values, const std::wstring& computerName, const LocalTime& when,
                         const TextPlatform& text);

// Both records, checks included (file number, then each record's length); the caller has
// already checked the first name.
HandOffRecords BuildHandOffRecords(const HandOffValues& values, const std::wstring& computerName, const LocalTime& when,
                                   const TextPlatform& text);

}  // namespace corvane
