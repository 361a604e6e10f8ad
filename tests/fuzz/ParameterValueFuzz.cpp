// ParseParameterValue with any typed text and any scale; also the formatting of every byte
// with the same scale, and reading the formatted text back where the scale is a sound one.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzInput.h"
#include "model/ParameterBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  static constexpr double kFactors[] = {1.0, 0.02, 0.1, 0.01, 10.0, 25.0, 0.0, -1.0, 1e-300, 1e300};
  double factor = in.Pick(kFactors);
  if (in.Byte() & 1) {  // any double at all, NaN and the infinities included
    const std::string_view raw = in.Bytes(sizeof(double));
    if (raw.size() == sizeof(double)) std::memcpy(&factor, raw.data(), sizeof factor);
  }
  const int format = in.Byte() % 13;
  const std::uint8_t b = in.Byte();
  const std::string_view text = in.Rest();

  (void)ParseParameterValue(text, factor);
  const std::string shown = FormatParameterValue(b, format, factor);
  FUZZ_CHECK(shown.size() < 400);
  (void)ParseParameterValue(shown, factor);
  // A whole-number scale shows exact values, which read back as the byte itself.
  if ((format == kFormatWhole || format == kFormatSpeed || format == kFormatSeconds) && factor == 1.0)
    FUZZ_CHECK(ParseParameterValue(shown, factor) == b);
  return 0;
}
