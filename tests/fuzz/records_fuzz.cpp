// The hand-off records: refused only for a file number over 31 characters or a record over 255
// bytes; otherwise each record is one line whose length byte is right.
#include <algorithm>

#include "handoff/handoff_records.h"
#include "platform/link_error.h"
#include "tests/fuzz/fuzz_input.h"

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const PortableText text;
  std::vector<std::wstring> v;
  for (const std::string& part : fuzz::Parts(data, size, 6)) v.push_back(text.FromAnsi(part));
  const HandOffValues values{v[0], v[1], v[2], v[3], v[4]};
  const LocalTime when{2027, 1, 15, 9, 30, 15};
  const std::size_t common = v[0].size() +
                             std::min<std::size_t>(v[1].size(), 31 - std::min<std::size_t>(v[3].size(), 31)) + 1 +
                             v[3].size() + v[2].size() + (v[4].size() >= 15 ? v[4].size() : 0);
  try {
    const HandOffRecords records = BuildHandOffRecords(values, v[5], when, text);
    const std::string both = records.n + records.a;
    FUZZ_CHECK(v[3].size() <= 31 && records.n.size() <= 255 && records.a.size() <= 255);
    FUZZ_CHECK(static_cast<unsigned char>(records.n[0]) == records.n.size() && records.n.ends_with("\r\n"));
    FUZZ_CHECK(static_cast<unsigned char>(records.a[0]) == records.a.size() && records.a.ends_with("\r\n"));
    FUZZ_CHECK(std::count(both.begin(), both.end(), '\r') == 2 && std::count(both.begin(), both.end(), '\n') == 2);
    FUZZ_CHECK(records.n.size() <= 21 + common && records.a.size() == records.n.size() + 13 + v[5].size());
  } catch (const LinkError& error) {
    if (error.Number() == error_number::kFileNumberTooLong) {
      FUZZ_CHECK(v[3].size() > 31);
    } else {
      FUZZ_CHECK(error.Number() == error_number::kRecordTooLong && v[3].size() <= 31);
      FUZZ_CHECK(21 + common > 255 || 34 + common + v[5].size() > 255);
    }
  }
  return 0;
}
