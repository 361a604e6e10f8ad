#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Bytes as the controller sends them: the last byte becomes the checksum of those before it.
inline Bytes Summed(Bytes r) {
  unsigned sum = 0;
  for (std::size_t k = 0; k + 1 < r.size(); ++k) sum += r[k];
  if (!r.empty()) r.back() = static_cast<std::uint8_t>(sum);
  return r;
}

// A controller reply of `length` bytes that starts with `head`, is zero after it and ends in
// its checksum.
inline Bytes Reply(std::initializer_list<int> head, int length) {
  Bytes r(static_cast<std::size_t>(length), 0);
  std::size_t i = 0;
  for (int b : head) r[i++] = static_cast<std::uint8_t>(b);
  return head.size() < r.size() ? Summed(r) : r;
}
