#include <windows.h>

#include <gtest/gtest.h>

TEST(WineSmoke, AnsiCodePageIsWestern) { EXPECT_EQ(GetACP(), 1252u); }
