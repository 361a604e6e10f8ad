#pragma once

#include "model/ParameterBlock.h"

// A TELK100 V1.45 that offers every parameter, with every option off and both sensors
// present: the configuration the row and check tests start from.
inline ParameterBlock TypicalBlock() {
  ParameterBlock b{};
  b[0] = 0x64;
  b[1] = 145;
  for (int i = 3; i <= 15; ++i) b[i] = 0xFF;
  b[3] = 0xF3;  // bits 2 and 3 of byte 3 are view switches, not parameters 2 and 3
  b[41] = 200;
  b[42] = 10;
  b[58] = 25;
  b[62] = 15;
  b[63] = 60;
  b[64] = 50;
  b[65] = 120;
  b[56] = 128;
  b[57] = 40;
  return b;
}

inline void HideParameter(ParameterBlock& b, int n) {
  b[3 + n / 8] = static_cast<std::uint8_t>(b[3 + n / 8] & ~(1 << (n % 8)));
}
