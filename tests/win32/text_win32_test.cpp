// The native tests convert and upper-case with the portable tables; these must give what
// Windows gives, or a test could pass natively while a practice's patient is written wrong.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "platform/win32/win32_platform.h"

namespace corvane {
namespace {

TEST(TextWin32Test, PortableTablesAgreeWithTheSystemOnEveryByteAndLatin1Letter) {
  const PortableText portable;
  const Win32Text system;
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::wstring decoded = system.FromAnsi(byte);
    EXPECT_EQ(portable.FromAnsi(byte), decoded) << "byte " << b;
    EXPECT_EQ(portable.ToAnsi(decoded), system.ToAnsi(decoded)) << "byte " << b;
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(static_cast<int>(portable.ToUpper(decoded[0])), static_cast<int>(system.ToUpper(decoded[0])))
        << "character of byte " << b;
  }
  // Outside the code page: a '?' on both sides, never a look-alike letter.
  const std::wstring foreign = L"\u0141\u0119\u4E2D";
  EXPECT_EQ(system.ToAnsi(foreign), "???");
  EXPECT_EQ(portable.ToAnsi(foreign), "???");
}

}  // namespace
}  // namespace corvane
