#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A controller reply of `length` bytes that starts with `head` and is zero after it.
inline Bytes Reply(std::initializer_list<int> head, int length) {
  Bytes r(static_cast<std::size_t>(length), 0);
  std::size_t i = 0;
  for (int b : head) r[i++] = static_cast<std::uint8_t>(b);
  return r;
}
