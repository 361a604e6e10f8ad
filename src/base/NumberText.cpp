#include "base/NumberText.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

// Where the first non-zero digit of an unsigned decimal number stands relative to the units
// place (1 for "5", 3 for "123", -1 for "0.05"), exponent included. Only its sign is used, to
// tell an overflow from an underflow; the exponent saturates so that huge exponents are safe.
long long DecimalOrder(std::string_view number) {
  std::size_t pos = 0;
  while (pos < number.size() && number[pos] == '0') ++pos;
  const std::size_t integerEnd = SkipDigits(number, pos);
  long long order = static_cast<long long>(integerEnd - pos);
  pos = integerEnd;
  if (order == 0 && pos < number.size() && number[pos] == '.') {
    ++pos;
    while (pos < number.size() && number[pos] == '0') {
      --order;
      ++pos;
    }
  }
  const std::size_t e = number.find_first_of("eE");
  if (e != std::string_view::npos) {
    pos = e + 1;
    const bool negative = pos < number.size() && number[pos] == '-';
    if (pos < number.size() && (number[pos] == '+' || number[pos] == '-')) ++pos;
    long long exponent = 0;
    for (; pos < number.size() && IsDigit(number[pos]); ++pos) {
      exponent = std::min(exponent * 10 + (number[pos] - '0'), 1'000'000'000LL);
    }
    order += negative ? -exponent : exponent;
  }
  return order;
}

}  // namespace

std::string FormatFixed(double v, int decimals) {
  decimals = std::clamp(decimals, 0, 100);
  // The largest double has 309 integer digits; with sign, point and 100 decimals this fits.
  char buffer[512];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return {};
  return std::string(buffer, result.ptr);
}

std::string FormatSigned(double v) {
  std::string text = FormatFixed(v, 0);
  if (text.empty() || text.front() != '-') text.insert(text.begin(), '+');
  return text;
}

std::size_t ParseLeadingNumber(std::string_view text, double& out) {
  out = 0.0;
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;

  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t start = pos;  // from_chars takes no '+', so the sign is applied here
  std::size_t end = SkipDigits(text, pos);
  std::size_t digits = end - start;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = SkipDigits(text, end + 1);
    digits += fractionEnd - (end + 1);
    end = fractionEnd;
  }
  if (digits == 0) return 0;

  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t exponentEnd = SkipDigits(text, exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }

  double magnitude = 0.0;
  const char* first = text.data() + start;
  const char* last = text.data() + end;
  const auto result = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    magnitude = DecimalOrder(std::string_view(first, static_cast<std::size_t>(last - first))) > 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
  } else if (result.ec != std::errc() || result.ptr != last) {
    return 0;
  }
  out = negative ? -magnitude : magnitude;
  return end;
}
