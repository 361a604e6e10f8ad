#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Numbers as the user sees and types them: printf conventions, but always with a point as the
// decimal separator, whatever locale the process runs in.

// v with a fixed number of decimals, rounded exactly as printf "%.Nf" rounds ("%.2f" of 0.125
// is "0.12"). decimals is limited to 0..100.
std::string FormatFixed(double v, int decimals);

// v as printf "%+.0f": the sign is always shown ("+85", "-5", "+0").
std::string FormatSigned(double v);

// The longest leading decimal number of text: optional leading white space, an optional sign,
// digits with an optional point and fraction digits (at least one digit in all), and an
// optional exponent (e or E, optional sign, at least one digit). Returns the number of
// characters taken, white space included, and stores the value in out; returns 0 and stores
// 0 when the text does not start with a number. A value too large for a double gives
// infinity of its sign; one too small gives zero of its sign.
std::size_t ParseLeadingNumber(std::string_view text, double& out);
