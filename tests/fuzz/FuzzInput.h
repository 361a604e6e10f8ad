#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Takes a fuzz input apart: fixed choices from its front, the rest as data.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return size_ == 0; }
  std::size_t Size() const { return size_; }

  // The next byte, 0 once the input is used up.
  std::uint8_t Byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }

  // One of the count entries of a table.
  template <typename T, std::size_t N>
  T Pick(const T (&table)[N]) {
    return table[Byte() % N];
  }

  // Up to count bytes (fewer at the end of the input).
  std::string_view Bytes(std::size_t count) {
    if (count > size_) count = size_;
    std::string_view taken(reinterpret_cast<const char*>(data_), count);
    data_ += count;
    size_ -= count;
    return taken;
  }

  std::string_view Rest() { return Bytes(size_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

#include <cstdio>
#include <cstdlib>

// A property every input must keep; a broken one stops the run like a crash.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)
