// orv-imgmake: makes a firmware image file (.img) from a plain binary, scrambled so that the
// program lists it for the given target and programs exactly the binary's bytes.

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/AtomicFile.h"
#include "firmware/FirmwareImage.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: orv-imgmake --input BIN --output IMG --target HEX --version N --date YYYY-MM-DD\n"
    "                   [--name TEXT] [--data-seed N] [--counter N]\n"
    "Makes a firmware image file from a plain binary (an even number of bytes, at most 16384).\n"
    "\n"
    "  --input BIN      the plain image data\n"
    "  --output IMG     the image file to write\n"
    "  --target HEX     target device code (for example 96, or 64 for one type byte only)\n"
    "  --version N      image version in hundredths (161 is version 1.61)\n"
    "  --date Y-M-D     the image's date\n"
    "  --name TEXT      description shown on the firmware page, written in code page 1251\n"
    "                   (at most 127 characters)\n"
    "  --data-seed N    first chain value of the data scrambling, 0..255 (default 90)\n"
    "  --counter N      data counter start, 0..255 (default 33)\n";

void Say(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && !text.empty();
}

bool ParseByte(std::string_view text, std::uint8_t& value, int base = 10) {
  if (base == 16 && (text.starts_with("0x") || text.starts_with("0X"))) text.remove_prefix(2);
  unsigned v = 0;
  if (!ParseNumber(text, v, base) || v > 255) return false;
  value = static_cast<std::uint8_t>(v);
  return true;
}

bool ParseDate(std::string_view text, ImageInfo& info) {
  const std::size_t first = text.find('-');
  const std::size_t second = text.find('-', first == std::string_view::npos ? 0 : first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) return false;
  return ParseNumber(text.substr(0, first), info.year) &&
         ParseNumber(text.substr(first + 1, second - first - 1), info.month) &&
         ParseNumber(text.substr(second + 1), info.day) && info.year >= 0 && info.year <= 65535 &&
         info.month >= 1 && info.month <= 12 && info.day >= 1 && info.day <= 31;
}

}  // namespace

int main(int argc, char** argv) {
  std::string input, output, name;
  ImageInfo info;
  info.dataSeed = 90;
  info.counterStart = 33;
  bool haveTarget = false, haveVersion = false, haveDate = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      Say(kUsage);
      return 0;
    }
    if (i + 1 >= argc) {
      Say("orv-imgmake: " + std::string(arg) + " needs a value (see --help)\n");
      return 2;
    }
    const std::string_view value = argv[++i];
    bool ok = true;
    if (arg == "--input") {
      input = value;
    } else if (arg == "--output") {
      output = value;
    } else if (arg == "--name") {
      name = value;
    } else if (arg == "--target") {
      ok = haveTarget = ParseByte(value, info.target, 16);
    } else if (arg == "--version") {
      ok = haveVersion = ParseByte(value, info.version);
    } else if (arg == "--date") {
      ok = haveDate = ParseDate(value, info);
    } else if (arg == "--data-seed") {
      ok = ParseByte(value, info.dataSeed);
    } else if (arg == "--counter") {
      ok = ParseByte(value, info.counterStart);
    } else {
      Say("orv-imgmake: unknown option " + std::string(arg) + " (see --help)\n");
      return 2;
    }
    if (!ok) {
      Say("orv-imgmake: bad value for " + std::string(arg) + ": " + std::string(value) + "\n");
      return 2;
    }
  }
  if (input.empty() || output.empty() || !haveTarget || !haveVersion || !haveDate) {
    Say("orv-imgmake: --input, --output, --target, --version and --date are needed\n\n");
    Say(kUsage);
    return 2;
  }

  std::string bytes, error;
  if (!ReadWholeFile(input, bytes, kFirmwareImageBytes, &error)) {
    Say("orv-imgmake: " + error + "\n");
    return 1;
  }
  const std::vector<std::uint8_t> plain(bytes.begin(), bytes.end());
  // The program shows descriptions as code page 1251 text; the command line gives UTF-8.
  const std::vector<std::uint8_t> file = BuildImageFile(plain, info, ImageNameBytes(name));
  if (file.empty()) {
    Say("orv-imgmake: the data must be an even number of bytes, 2 to 16384; " + input + " has " +
        std::to_string(plain.size()) + "\n");
    return 1;
  }
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  if (!WriteFileAtomically(output, text, &error)) {
    Say("orv-imgmake: " + error + "\n");
    return 1;
  }
  return 0;
}
