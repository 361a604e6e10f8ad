// An image file with any content: the listing reads its header and row text, a run reads it
// only when its length field fits the buffer and the file, and an image the producer's side
// builds from any data reads back as that data.

#include <cstdint>
#include <string>
#include <vector>

#include "firmware/FirmwareImage.h"
#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const std::uint8_t typeByte = in.Byte();
  const std::string_view bytes = in.Rest();
  const std::string path = WriteFuzzFile("image.img", bytes);

  int unreadable = 0;
  const std::vector<ListedImage> listed =
      ListImagesIn(FuzzScratchFolder(), typeByte, [&](const std::string&) { ++unreadable; });
  FUZZ_CHECK(unreadable == 0 && listed.size() <= 1);
  ImageHeader header;
  FUZZ_CHECK(ReadImageHeader(path, header) == ImageReadResult::Ok);
  // The description is 1251 text shown as UTF-8: at most 3 bytes for each stored byte, and
  // back to 1251 it takes no more room than it had.
  FUZZ_CHECK(header.name.size() <= 3 * kImageNameBytes);
  const std::string storedName = ImageNameBytes(header.name);
  FUZZ_CHECK(storedName.size() <= kImageNameBytes);
  FUZZ_CHECK(listed.size() == (ImageFits(header.info.target, typeByte) ? 1u : 0u));
  if (!listed.empty()) {
    FUZZ_CHECK(listed[0].name == header.name);
    FUZZ_CHECK(listed[0].rowText == ImageRowText(header.info));
  }

  std::vector<std::uint8_t> image;
  const ImageReadResult run = ReadImageForRun(path, image);
  FUZZ_CHECK(run == ImageReadResult::Ok || run == ImageReadResult::BadData);
  if (run == ImageReadResult::Ok) {
    FUZZ_CHECK(image.size() == header.info.DataBytes());
    FUZZ_CHECK(!image.empty() && image.size() <= kFirmwareImageBytes);
    FUZZ_CHECK(bytes.size() >= kImageDataOffset + image.size());
  } else {
    FUZZ_CHECK(header.info.DataBytes() == 0 || header.info.DataBytes() > kFirmwareImageBytes ||
               bytes.size() < kImageDataOffset + header.info.DataBytes());
  }

  // The producer's side and back.
  std::vector<std::uint8_t> plain(
      bytes.begin(),
      bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), kFirmwareImageBytes) / 2 * 2));
  ImageInfo info = header.info;
  const std::vector<std::uint8_t> built = BuildImageFile(plain, info, storedName);
  if (plain.empty()) {
    FUZZ_CHECK(built.empty());
    return 0;
  }
  const std::string again =
      WriteFuzzFile("built.bin", std::string_view(reinterpret_cast<const char*>(built.data()), built.size()));
  std::vector<std::uint8_t> back;
  FUZZ_CHECK(ReadImageForRun(again, back) == ImageReadResult::Ok);
  FUZZ_CHECK(back == plain);
  ImageHeader builtHeader;
  FUZZ_CHECK(ReadImageHeader(again, builtHeader) == ImageReadResult::Ok);
  FUZZ_CHECK(builtHeader.info.version == info.version && builtHeader.info.target == info.target);
  FUZZ_CHECK(builtHeader.name == ImageNameText(storedName.substr(0, kImageNameBytes - 1)));
  return 0;
}
