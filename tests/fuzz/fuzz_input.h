#pragma once
// The fuzzers' input: the bytes cut into parts at each 0x1E, decoded as Windows-1252.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace corvane::fuzz {

inline std::vector<std::string> Parts(const std::uint8_t* data, std::size_t size, std::size_t wanted) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < size; ++i)
    data[i] == 0x1E && parts.size() < wanted ? void(parts.emplace_back())
                                             : parts.back().push_back(static_cast<char>(data[i]));
  parts.resize(wanted);
  return parts;
}

// Stops the run: libFuzzer saves the input that broke the rule.
#define FUZZ_CHECK(condition) \
  if (!(condition)) __builtin_trap()

}  // namespace corvane::fuzz
