#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TempFolder.h"

// A made-up program of `bytes` bytes, the same for the same seed.
inline std::vector<std::uint8_t> PlainImage(std::size_t bytes, std::uint32_t seed) {
  std::vector<std::uint8_t> plain(bytes);
  for (auto& b : plain) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(seed >> 16);
  }
  return plain;
}

// Writes `plain` to `plainPath` and has the image producer program make `imagePath` of it.
inline void MakeImageFile(const std::vector<std::uint8_t>& plain, const std::string& plainPath,
                          const std::string& imagePath, const std::string& date) {
  Put(plainPath, std::string(plain.begin(), plain.end()));
  std::string command = ORV_IMGMAKE_PATH " --input ";
  command += plainPath;
  command += " --output ";
  command += imagePath;
  command += " --target 96 --version 161 --date ";
  command += date;
  ASSERT_EQ(std::system(command.c_str()), 0);
}

// The image a loader put together equals the plain image, then zeros to the last block's end.
inline bool ReceivedImageMatches(const std::string& path, const std::vector<std::uint8_t>& plain,
                                 std::size_t blocks) {
  const std::string got = Slurp(path);
  if (got.size() != blocks * 16) return false;
  if (!std::equal(plain.begin(), plain.end(), reinterpret_cast<const std::uint8_t*>(got.data())))
    return false;
  return std::all_of(got.begin() + static_cast<std::ptrdiff_t>(plain.size()), got.end(),
                     [](char c) { return c == 0; });
}
