#include "firmware/FirmwareImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <utility>

#include "base/CodePages.h"
#include "base/NumberText.h"
#include "firmware/DeviceContract.h"

namespace {

// Exchanges that hide the block: pairs within the block, and the first data bytes with
// bytes of the block. The pairs are disjoint, so the same exchanges undo them.
constexpr std::pair<int, int> kBlockExchanges[] = {{0, 30}, {1, 14}};
constexpr std::pair<int, int> kDataExchanges[] = {{0, 13}, {1, 10}, {2, 15}};

constexpr int kNameCodePage = 1251;

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The 1251 byte of a character; 0 when the code page lacks it.
unsigned char CodePageByteOf(char16_t c) {
  if (c < 0x80) return static_cast<unsigned char>(c);
  for (int b = 0x80; b <= 0xFF; ++b) {
    if (DecodeCodePageByte(kNameCodePage, static_cast<unsigned char>(b)) == c && c != 0xFFFD)
      return static_cast<unsigned char>(b);
  }
  return 0;
}

void Exchange(ImageInfoBlock& block, std::uint8_t* data) {
  for (auto [a, b] : kBlockExchanges) std::swap(block[a], block[b]);
  for (auto [d, k] : kDataExchanges) std::swap(data[d], block[k]);
}

// Pairs of a target code and the type bytes it serves besides its own.
struct Compatibility {
  std::uint8_t target;
  std::uint8_t types[2];
};
constexpr Compatibility kCompatibility[] = {
    {0x96, {0x64, 0x32}}, {0x97, {0x65, 0x33}}, {0x98, {0x66, 0x34}}, {0x99, {0x67, 0x35}}};

// Reads up to `count` bytes; fewer only at the end of the file or on an error.
std::size_t ReadUpTo(int fd, std::uint8_t* buf, std::size_t count) {
  std::size_t got = 0;
  while (got < count) {
    const ssize_t n = ::read(fd, buf + got, count - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

// Opens an image for reading only. Anything but a plain file (a pipe, a device) counts as
// a file that cannot be opened, so that reading it can neither block nor run on for ever.
class ImageFile {
 public:
  explicit ImageFile(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~ImageFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  std::size_t Read(std::uint8_t* buf, std::size_t count) { return ReadUpTo(fd_, buf, count); }

 private:
  int fd_ = -1;
};

// The extension matches in any case, as the directory search of the file system the images
// come from does.
bool HasImageExtension(const std::string& name) {
  constexpr std::string_view kExtension = ".img";
  if (name.size() < kExtension.size()) return false;
  for (std::size_t i = 0; i < kExtension.size(); ++i) {
    char c = name[name.size() - kExtension.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kExtension[i]) return false;
  }
  return true;
}

}  // namespace

void UnscrambleInfoBlock(ImageInfoBlock& block, std::uint8_t* data) {
  Exchange(block, data);
  std::uint8_t v = ImageSeed;
  for (std::uint8_t& k : block) {
    k = static_cast<std::uint8_t>(k ^ v);
    v = k;
  }
}

void UnscrambleData(const ImageInfoBlock& block, std::uint8_t* data, std::size_t count) {
  std::uint8_t chain = block[image_info::kDataSeed];
  const std::uint8_t counter = block[image_info::kCounterStart];
  for (std::size_t i = 0; i < count; ++i) {
    const auto t = static_cast<std::uint8_t>(data[i] ^ chain);
    chain = t;
    data[i] = static_cast<std::uint8_t>(t ^ static_cast<std::uint8_t>(counter + i));
  }
}

void ScrambleImage(ImageInfoBlock& block, std::uint8_t* data, std::size_t count) {
  std::uint8_t chain = block[image_info::kDataSeed];
  const std::uint8_t counter = block[image_info::kCounterStart];
  for (std::size_t i = 0; i < count; ++i) {
    const auto t = static_cast<std::uint8_t>(data[i] ^ static_cast<std::uint8_t>(counter + i));
    data[i] = static_cast<std::uint8_t>(t ^ chain);
    chain = t;
  }
  std::uint8_t previous = ImageSeed;
  for (std::uint8_t& k : block) {
    const std::uint8_t plain = k;
    k = static_cast<std::uint8_t>(plain ^ previous);
    previous = plain;
  }
  Exchange(block, data);
}

ImageInfo DecodeImageInfo(const ImageInfoBlock& k) {
  using namespace image_info;
  ImageInfo info;
  info.dataSeed = k[kDataSeed];
  info.counterStart = k[kCounterStart];
  info.lengthWords = k[kLengthHigh] << 8 | k[kLengthLow];
  info.target = k[kTarget];
  info.version = k[kVersion];
  info.year = k[kYearHigh] << 8 | k[kYearLow];
  info.month = k[kMonth];
  info.day = k[kDay];
  return info;
}

ImageInfoBlock EncodeImageInfo(const ImageInfo& info) {
  using namespace image_info;
  ImageInfoBlock k{};
  k[kDataSeed] = info.dataSeed;
  k[kCounterStart] = info.counterStart;
  k[kLengthHigh] = static_cast<std::uint8_t>(info.lengthWords >> 8);
  k[kLengthLow] = static_cast<std::uint8_t>(info.lengthWords);
  k[kTarget] = info.target;
  k[kVersion] = info.version;
  k[kYearHigh] = static_cast<std::uint8_t>(info.year >> 8);
  k[kYearLow] = static_cast<std::uint8_t>(info.year);
  k[kMonth] = static_cast<std::uint8_t>(info.month);
  k[kDay] = static_cast<std::uint8_t>(info.day);
  return k;
}

std::vector<std::uint8_t> BuildImageFile(const std::vector<std::uint8_t>& plain, ImageInfo info,
                                         const std::string& name) {
  if (plain.empty() || plain.size() % 2 != 0 || plain.size() > kFirmwareImageBytes) return {};
  info.lengthWords = static_cast<int>(plain.size() / 2);
  ImageInfoBlock block = EncodeImageInfo(info);
  std::vector<std::uint8_t> data = plain;
  // The first three stored data bytes carry bytes of the block, so a file has at least three.
  if (data.size() < 3) data.resize(3, 0);
  ScrambleImage(block, data.data(), plain.size());

  std::vector<std::uint8_t> file(kImageDataOffset, 0);
  std::copy_n(name.begin(), std::min(name.size(), kImageNameBytes - 1), file.begin() + kImageNameOffset);
  std::copy(block.begin(), block.end(), file.begin() + kImageInfoOffset);
  file.resize(kImageDataOffset + data.size());
  std::copy(data.begin(), data.end(), file.begin() + kImageDataOffset);
  return file;
}

std::string ImageNameText(std::string_view stored) {
  std::string text;
  text.reserve(stored.size());
  for (char c : stored) AppendUtf8(text, DecodeCodePageByte(kNameCodePage, static_cast<unsigned char>(c)));
  return text;
}

std::string ImageNameBytes(std::string_view text) {
  const std::optional<std::u16string> wide = Utf16FromUtf8(text);
  if (!wide) return std::string(text);
  std::string bytes;
  bytes.reserve(wide->size());
  for (char16_t c : *wide) {
    const unsigned char b = CodePageByteOf(c);
    bytes += b != 0 || c == 0 ? static_cast<char>(b) : '?';
  }
  return bytes;
}

bool ImageFits(std::uint8_t target, std::uint8_t typeByte) {
  if (target == typeByte) return true;
  for (const Compatibility& c : kCompatibility) {
    if (c.target == target && (c.types[0] == typeByte || c.types[1] == typeByte)) return true;
  }
  return false;
}

std::string ImageRowText(const ImageInfo& info) {
  auto twoDigits = [](int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
  };
  return " V" + FormatFixed(info.version * 0.01, 2) + "   " + std::to_string(info.year) + "." +
         twoDigits(info.month) + "." + twoDigits(info.day);
}

ImageReadResult ReadImageHeader(const std::string& path, ImageHeader& header) {
  ImageFile file(path);
  if (!file.IsOpen()) return ImageReadResult::CannotOpen;
  std::array<std::uint8_t, kImageDataOffset + kListingDataBytes> bytes{};
  file.Read(bytes.data(), bytes.size());

  const auto* name = reinterpret_cast<const char*>(bytes.data() + kImageNameOffset);
  header.name = ImageNameText(std::string_view(name, std::find(name, name + kImageNameBytes, '\0')));
  ImageInfoBlock block;
  std::copy_n(bytes.begin() + kImageInfoOffset, kImageInfoBytes, block.begin());
  UnscrambleInfoBlock(block, bytes.data() + kImageDataOffset);
  header.info = DecodeImageInfo(block);
  return ImageReadResult::Ok;
}

ImageReadResult ReadImageForRun(const std::string& path, std::vector<std::uint8_t>& image) {
  ImageFile file(path);
  if (!file.IsOpen()) return ImageReadResult::CannotOpen;
  std::array<std::uint8_t, kImageDataOffset> head{};
  const std::size_t headBytes = file.Read(head.data(), head.size());
  std::vector<std::uint8_t> data(kFirmwareImageBytes, 0);
  const std::size_t dataBytes = headBytes == head.size() ? file.Read(data.data(), data.size()) : 0;

  ImageInfoBlock block;
  std::copy_n(head.begin() + kImageInfoOffset, kImageInfoBytes, block.begin());
  UnscrambleInfoBlock(block, data.data());
  const std::size_t length = DecodeImageInfo(block).DataBytes();
  // A truncated or oversized image would leave the controller with broken firmware.
  if (headBytes < head.size() || length == 0 || length > kFirmwareImageBytes || dataBytes < length)
    return ImageReadResult::BadData;
  UnscrambleData(block, data.data(), length);
  data.resize(length);
  image = std::move(data);
  return ImageReadResult::Ok;
}

std::vector<std::string> ImageCandidates(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> paths;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return paths;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name == "." || name == ".." || !HasImageExtension(name)) continue;
    std::error_code typeError;
    if (it->is_directory(typeError)) continue;
    paths.push_back(folder + "/" + name);
  }
  // A directory has no order of its own: by file name, ignoring case, then as spelt.
  auto lower = [](const std::string& path) {
    std::string name = FileNameOf(path);
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
  };
  std::sort(paths.begin(), paths.end(), [&](const std::string& a, const std::string& b) {
    const std::string la = lower(a), lb = lower(b);
    return la != lb ? la < lb : a < b;
  });
  return paths;
}
