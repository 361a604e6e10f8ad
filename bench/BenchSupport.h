#pragma once

// What every benchmark prints and parses the same way.

#include <charconv>
#include <cstdio>
#include <string_view>
#include <system_error>

// One line of the report, written at once so that a bench cut short still leaves its lines.
inline void Line(std::string_view text = {}) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// A whole option value as a number, independent of the locale; false for anything else.
template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && !text.empty();
}
