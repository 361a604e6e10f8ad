#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/FilePaths.h"

// Firmware image files (".img"): 128 bytes not used, 128 bytes of description text, the
// 32-byte information block and up to 16384 bytes of image data, the last two scrambled.

inline constexpr std::size_t kImageNameOffset = 128;
inline constexpr std::size_t kImageNameBytes = 128;
inline constexpr std::size_t kImageInfoOffset = 256;
inline constexpr std::size_t kImageInfoBytes = 32;
inline constexpr std::size_t kImageDataOffset = kImageInfoOffset + kImageInfoBytes;
// The buffer that holds a run's image, and the most data an image may carry (1024 blocks).
inline constexpr std::size_t kFirmwareImageBytes = 16384;
// Data bytes the listing reads with the header.
inline constexpr std::size_t kListingDataBytes = 128;

using ImageInfoBlock = std::array<std::uint8_t, kImageInfoBytes>;

// Offsets within the unscrambled information block.
namespace image_info {
inline constexpr int kDataSeed = 0;
inline constexpr int kCounterStart = 1;
inline constexpr int kLengthHigh = 2;  // data length in 16-bit words, high byte first
inline constexpr int kLengthLow = 3;
inline constexpr int kTarget = 16;
inline constexpr int kVersion = 17;
inline constexpr int kYearHigh = 21;
inline constexpr int kYearLow = 22;
inline constexpr int kMonth = 23;
inline constexpr int kDay = 24;
}  // namespace image_info

// Unscrambles the information block in place. The first three stored data bytes take part
// (they are exchanged with bytes of the block), so they change too; `data` holds at least 3.
void UnscrambleInfoBlock(ImageInfoBlock& block, std::uint8_t* data);
// Unscrambles `count` data bytes in place with the chain seed and counter of an unscrambled
// information block.
void UnscrambleData(const ImageInfoBlock& block, std::uint8_t* data, std::size_t count);

// The producer's side: scrambles a plain information block and the plain data, so that the
// two functions above give them back. `data` holds at least 3 bytes.
void ScrambleImage(ImageInfoBlock& block, std::uint8_t* data, std::size_t count);

struct ImageInfo {
  std::uint8_t dataSeed = 0;
  std::uint8_t counterStart = 0;
  int lengthWords = 0;
  std::uint8_t target = 0;
  std::uint8_t version = 0;
  int year = 0;
  int month = 0;
  int day = 0;

  std::size_t DataBytes() const { return 2 * static_cast<std::size_t>(lengthWords); }
};

ImageInfo DecodeImageInfo(const ImageInfoBlock& block);
ImageInfoBlock EncodeImageInfo(const ImageInfo& info);

// Image descriptions are 8-bit text in code page 1251, like all of the program's texts.
// The description shown for the stored bytes (UTF-8).
std::string ImageNameText(std::string_view stored);
// The producer's side: UTF-8 text as code page 1251 bytes, a character 1251 lacks as '?'.
// Text that is not valid UTF-8 is taken to be 8-bit text already and kept as it is.
std::string ImageNameBytes(std::string_view text);

// A complete image file for `plain` data (an even number of bytes, 2 to 16384): the
// description bytes `name` (code page 1251, at most 127 bytes kept), the information block
// of `info` with the data's length, both scrambled. Empty when the data cannot make an image.
std::vector<std::uint8_t> BuildImageFile(const std::vector<std::uint8_t>& plain, ImageInfo info,
                                         const std::string& name);

// Whether an image made for `target` fits a device whose Controller type byte is `typeByte`.
bool ImageFits(std::uint8_t target, std::uint8_t typeByte);

// The grid's text for an image: " V1.61   2024.03.07".
std::string ImageRowText(const ImageInfo& info);

// What the listing reads of one image.
struct ImageHeader {
  std::string name;  // up to the first zero byte, decoded from code page 1251
  ImageInfo info;
};

enum class ImageReadResult { Ok, CannotOpen, BadData };

// Reads the header of an image file for the listing (416 bytes at most; a short file is
// read as far as it goes, the rest counts as zeros).
ImageReadResult ReadImageHeader(const std::string& path, ImageHeader& header);

// Reads and unscrambles an image for a run. On success `image` holds the image data (its
// size is the image's byte count, at most kFirmwareImageBytes). BadData: the length field
// asks for more than the buffer holds, for nothing, or for more bytes than the file has.
ImageReadResult ReadImageForRun(const std::string& path, std::vector<std::uint8_t>& image);

// One image listed on the firmware page.
struct ListedImage {
  std::string path;
  std::string rowText;  // column 0
  std::string name;     // column 1
};

// The images in `folder` that fit the device, in file name order ignoring case. Directories are skipped; a
// file that cannot be opened is passed to `cannotOpen` (its name without folder) and skipped.
template <typename CannotOpen>
std::vector<ListedImage> ListImagesIn(const std::string& folder, std::uint8_t typeByte,
                                      CannotOpen&& cannotOpen);

// The candidate files of a folder: entries ending in ".img" that are not directories, in
// file name order ignoring case ("a.img" before "B.img"); empty when the folder does not
// exist.
std::vector<std::string> ImageCandidates(const std::string& folder);

template <typename CannotOpen>
std::vector<ListedImage> ListImagesIn(const std::string& folder, std::uint8_t typeByte,
                                      CannotOpen&& cannotOpen) {
  std::vector<ListedImage> images;
  for (const std::string& path : ImageCandidates(folder)) {
    ImageHeader header;
    if (ReadImageHeader(path, header) != ImageReadResult::Ok) {
      cannotOpen(FileNameOf(path));
      continue;
    }
    if (!ImageFits(header.info.target, typeByte)) continue;
    images.push_back({path, ImageRowText(header.info), header.name});
  }
  return images;
}
