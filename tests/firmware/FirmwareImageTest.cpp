#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "firmware/DeviceContract.h"
#include "firmware/FirmwareImage.h"
#include "support/TempFolder.h"

namespace {

std::vector<std::uint8_t> ImagePattern(std::size_t n, unsigned step = 7) {
  std::vector<std::uint8_t> data(n);
  for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<std::uint8_t>(i * step + (i >> 8));
  return data;
}

ImageInfo Info(std::uint8_t target, std::uint8_t version = 161) {
  ImageInfo info;
  info.target = target;
  info.version = version;
  info.year = 2024;
  info.month = 3;
  info.day = 7;
  info.dataSeed = 0x5A;
  info.counterStart = 0x21;
  return info;
}

void PutBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  Put(path, std::string(bytes.begin(), bytes.end()));
}

// An image whose information block says what `info` says, whatever the data holds.
std::vector<std::uint8_t> RawImage(const ImageInfo& info, std::vector<std::uint8_t> data) {
  ImageInfoBlock block = EncodeImageInfo(info);
  if (data.size() < 3) data.resize(3, 0);
  ScrambleImage(block, data.data(), std::min(data.size(), info.DataBytes()));
  std::vector<std::uint8_t> file(kImageDataOffset, 0);
  std::copy(block.begin(), block.end(), file.begin() + kImageInfoOffset);
  file.resize(kImageDataOffset + data.size());
  std::copy(data.begin(), data.end(), file.begin() + kImageDataOffset);
  return file;
}

TEST(ImageUnscrambling, KnownBlockGivesTheHandComputedValues) {
  ImageInfoBlock k;
  for (int i = 0; i < 32; ++i) k[i] = static_cast<std::uint8_t>(i);
  std::uint8_t d[3] = {0xA0, 0xA1, 0xA2};
  UnscrambleInfoBlock(k, d);
  // Exchanges: K0<->K30, K1<->K14, D0<->K13, D1<->K10, D2<->K15; then the chain from 0x46.
  EXPECT_EQ(k[0], 30 ^ ImageSeed);
  EXPECT_EQ(k[1], 14 ^ k[0]);
  EXPECT_EQ(k[2], 2 ^ k[1]);
  EXPECT_EQ(k[10], 0xA1 ^ k[9]);
  EXPECT_EQ(k[13], 0xA0 ^ k[12]);
  EXPECT_EQ(k[14], 1 ^ k[13]);
  EXPECT_EQ(k[30], 0 ^ k[29]);
  EXPECT_EQ(d[0], 13);
  EXPECT_EQ(d[1], 10);
  EXPECT_EQ(d[2], 15);

  // The data chain starts at K0 = 0x58 with the counter K1 = 0x56.
  ASSERT_EQ(k[0], 0x58);
  ASSERT_EQ(k[1], 0x56);
  UnscrambleData(k, d, 2);
  EXPECT_EQ(d[0], 0x03);  // t = 0x0D ^ 0x58 = 0x55; 0x55 ^ 0x56
  EXPECT_EQ(d[1], 0x08);  // t = 0x0A ^ 0x55 = 0x5F; 0x5F ^ 0x57
  EXPECT_EQ(d[2], 15);    // beyond the count: untouched
}

TEST(ImageUnscrambling, ProducerImagesComeBackByteForByte) {
  TempFolder folder;
  const struct {
    std::size_t bytes;
    std::uint8_t seed, counter;
  } cases[] = {{2, 0, 0}, {16, 0x5A, 0x21}, {100, 0xFF, 0xFF}, {4096, 0x01, 0xFE}, {16384, 0x80, 0x7F}};
  for (const auto& c : cases) {
    ImageInfo info = Info(0x96);
    info.dataSeed = c.seed;
    info.counterStart = c.counter;
    const auto plain = ImagePattern(c.bytes);
    const auto file = BuildImageFile(plain, info, "Firmware " + std::to_string(c.bytes));
    ASSERT_FALSE(file.empty()) << c.bytes;
    const std::string path = folder / "image.img";
    PutBytes(path, file);

    std::vector<std::uint8_t> image;
    ASSERT_EQ(ReadImageForRun(path, image), ImageReadResult::Ok) << c.bytes;
    EXPECT_EQ(image, plain) << c.bytes;
    ImageHeader header;
    ASSERT_EQ(ReadImageHeader(path, header), ImageReadResult::Ok);
    EXPECT_EQ(header.name, "Firmware " + std::to_string(c.bytes));
    EXPECT_EQ(header.info.lengthWords, static_cast<int>(c.bytes / 2));
    EXPECT_EQ(header.info.target, 0x96);
    EXPECT_EQ(header.info.dataSeed, c.seed);
    EXPECT_EQ(header.info.counterStart, c.counter);
  }
  // Only data the buffer can hold, in whole words, makes an image.
  EXPECT_TRUE(BuildImageFile(ImagePattern(16386), Info(0x96), "").empty());
  EXPECT_TRUE(BuildImageFile(ImagePattern(15), Info(0x96), "").empty());
  EXPECT_TRUE(BuildImageFile({}, Info(0x96), "").empty());
}

TEST(ImageUnscrambling, StoredBytesDifferFromThePlainOnes) {
  const auto plain = ImagePattern(64);
  const auto file = BuildImageFile(plain, Info(0x96), "x");
  ASSERT_EQ(file.size(), kImageDataOffset + 64);
  int same = 0;
  for (std::size_t i = 0; i < 64; ++i) same += file[kImageDataOffset + i] == plain[i];
  EXPECT_LT(same, 8);
}

TEST(ImageCompatibility, TargetsFitTheirOwnTypeAndTheirFamily) {
  const struct {
    std::uint8_t target;
    std::vector<std::uint8_t> fits, refuses;
  } table[] = {
      {0x96, {0x96, 0x64, 0x32}, {0x65, 0x33, 0x97, 0xFF}},
      {0x97, {0x97, 0x65, 0x33}, {0x64, 0x32, 0x96}},
      {0x98, {0x98, 0x66, 0x34}, {0x67, 0x35}},
      {0x99, {0x99, 0x67, 0x35}, {0x66, 0x34}},
      {0x64, {0x64}, {0x32, 0x96, 0x65}},
      {0xCB, {0xCB}, {0x64}},
  };
  for (const auto& row : table) {
    for (std::uint8_t type : row.fits)
      EXPECT_TRUE(ImageFits(row.target, type)) << int(row.target) << " " << int(type);
    for (std::uint8_t type : row.refuses)
      EXPECT_FALSE(ImageFits(row.target, type)) << int(row.target) << " " << int(type);
  }
}

TEST(ImageRows, VersionAndDateAsTheGridShowsThem) {
  EXPECT_EQ(ImageRowText(Info(0x96, 161)), " V1.61   2024.03.07");
  ImageInfo info = Info(0x96, 5);
  info.year = 2023;
  info.month = 12;
  info.day = 31;
  EXPECT_EQ(ImageRowText(info), " V0.05   2023.12.31");
}

class ImageFolderTest : public ::testing::Test {
 protected:
  void Image(const std::string& name, std::uint8_t target, std::uint8_t version = 161) {
    PutBytes(folder / name, BuildImageFile(ImagePattern(64), Info(target, version), "Image " + name));
  }
  std::vector<ListedImage> List(std::uint8_t type) {
    unopened.clear();
    return ListImagesIn(folder.Path(), type, [this](const std::string& name) { unopened.push_back(name); });
  }
  TempFolder folder;
  std::vector<std::string> unopened;
};

TEST_F(ImageFolderTest, ListsFittingImagesInNameOrderAndSkipsTheRest) {
  Image("b.img", 0x96, 150);
  Image("a.img", 0x96, 161);
  Image("c.img", 0x64);
  Image("d.IMG", 0x96);
  Image("B2.img", 0x96);  // case is ignored: after "b.img", before "c.img"
  Image("A.img", 0x96);   // the same name but for case: as spelt, capitals first
  Image("e.bin", 0x96);
  std::filesystem::create_directory(folder / "dir.img");
  Put(folder / "short.img", "only a few bytes");  // read as far as it goes: target 0 fits no device

  for (std::uint8_t type : {0x96, 0x64, 0x32}) {
    const auto list = List(type);
    std::vector<std::string> names;
    for (const auto& image : list) names.push_back(FileNameOf(image.path));
    std::vector<std::string> want = {"A.img", "a.img", "b.img", "B2.img"};
    if (type == 0x64) want.push_back("c.img");
    want.push_back("d.IMG");
    EXPECT_EQ(names, want) << int(type);
  }
  const auto list = List(0x32);
  EXPECT_EQ(list[1].path, folder / "a.img");
  EXPECT_EQ(list[1].rowText, " V1.61   2024.03.07");
  EXPECT_EQ(list[1].name, "Image a.img");
  EXPECT_EQ(list[2].rowText, " V1.50   2024.03.07");
  EXPECT_TRUE(unopened.empty());
  EXPECT_TRUE(List(0x65).empty());
}

TEST_F(ImageFolderTest, UnopenableFilesAreReportedByNameAndSkipped) {
  Image("a.img", 0x96);
  std::filesystem::create_symlink(folder / "gone", folder / "b.img");
  ASSERT_EQ(::mkfifo((folder / "c.img").c_str(), 0644), 0);  // would block a reader
  const auto list = List(0x64);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(unopened, (std::vector<std::string>{"b.img", "c.img"}));
  EXPECT_TRUE(ImageCandidates(folder / "missing").empty());
}

TEST_F(ImageFolderTest, ReadOnlyImagesAreListedAndRead) {
  Image("a.img", 0x96);
  ASSERT_EQ(::chmod((folder / "a.img").c_str(), 0444), 0);
  EXPECT_EQ(List(0x64).size(), 1u);
  std::vector<std::uint8_t> image;
  EXPECT_EQ(ReadImageForRun(folder / "a.img", image), ImageReadResult::Ok);
  EXPECT_EQ(image, ImagePattern(64));
}

TEST_F(ImageFolderTest, WrongLengthsAreRefusedBeforeAnythingIsUsed) {
  ImageInfo info = Info(0x96);
  const std::string path = folder / "x.img";
  std::vector<std::uint8_t> image = {1, 2, 3};
  const auto refused = [&] { return ReadImageForRun(path, image); };

  info.lengthWords = 8193;  // 16386 bytes: more than the buffer
  PutBytes(path, RawImage(info, ImagePattern(16386)));
  EXPECT_EQ(refused(), ImageReadResult::BadData);
  info.lengthWords = 0xFFFF;
  PutBytes(path, RawImage(info, ImagePattern(16384)));
  EXPECT_EQ(refused(), ImageReadResult::BadData);
  info.lengthWords = 0;
  PutBytes(path, RawImage(info, ImagePattern(16)));
  EXPECT_EQ(refused(), ImageReadResult::BadData);

  auto file = BuildImageFile(ImagePattern(1024), Info(0x96), "x");
  file.pop_back();  // one data byte short of the length field
  PutBytes(path, file);
  EXPECT_EQ(refused(), ImageReadResult::BadData);
  file.resize(200);  // not even the whole header
  PutBytes(path, file);
  EXPECT_EQ(refused(), ImageReadResult::BadData);
  EXPECT_EQ(image, (std::vector<std::uint8_t>{1, 2, 3}));

  file = BuildImageFile(ImagePattern(1024), Info(0x96), "x");
  file.insert(file.end(), 100, 0xEE);  // bytes beyond the length field are not image data
  PutBytes(path, file);
  EXPECT_EQ(refused(), ImageReadResult::Ok);
  EXPECT_EQ(image, ImagePattern(1024));

  EXPECT_EQ(ReadImageForRun(folder / "missing.img", image), ImageReadResult::CannotOpen);
}

TEST(ImageProducerTool, WritesAnImageTheProgramReadsBack) {
  TempFolder folder;
  const auto plain = ImagePattern(16384, 13);
  PutBytes(folder / "plain.bin", plain);
  const std::string command =
      std::string(ORV_IMGMAKE_PATH) + " --input " + (folder / "plain.bin") + " --output " +
      (folder / "out.img") + " --target 97 --version 162 --date 2025-11-02 --name 'New firmware' 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::vector<std::uint8_t> image;
  ASSERT_EQ(ReadImageForRun(folder / "out.img", image), ImageReadResult::Ok);
  EXPECT_EQ(image, plain);
  ImageHeader header;
  ASSERT_EQ(ReadImageHeader(folder / "out.img", header), ImageReadResult::Ok);
  EXPECT_EQ(header.name, "New firmware");
  EXPECT_EQ(ImageRowText(header.info), " V1.62   2025.11.02");
  EXPECT_TRUE(ImageFits(header.info.target, 0x65));

  // The description is written in code page 1251 and shown as the text it was given.
  const std::string cyrillic = "Прошивка TELK100 №7 «ГАЗ» ёЁ";
  const std::string named = std::string(ORV_IMGMAKE_PATH) + " --input " + (folder / "plain.bin") +
                            " --output " + (folder / "ru.img") +
                            " --target 96 --version 161 --date 2026-12-09 --name '" + cyrillic + "'";
  ASSERT_EQ(std::system(named.c_str()), 0);
  ASSERT_EQ(ReadImageHeader(folder / "ru.img", header), ImageReadResult::Ok);
  EXPECT_EQ(header.name, cyrillic);
  const std::string stored = Slurp(folder / "ru.img").substr(kImageNameOffset, 5);
  EXPECT_EQ(stored, "\xCF\xF0\xEE\xF8\xE8");          // "Проши" in 1251, one byte a letter
  EXPECT_EQ(ImageNameBytes("Ω x"), "? x");            // a character 1251 lacks
  EXPECT_EQ(ImageNameBytes("\xCF\xF0"), "\xCF\xF0");  // already 8-bit text: kept
  EXPECT_EQ(ImageNameText("\x98"), "\xEF\xBF\xBD");   // a byte 1251 leaves empty

  Put(folder / "odd.bin", "abc");
  const std::string odd = std::string(ORV_IMGMAKE_PATH) + " --input " + (folder / "odd.bin") + " --output " +
                          (folder / "odd.img") + " --target 96 --version 1 --date 2025-1-1 2>/dev/null";
  EXPECT_NE(std::system(odd.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(folder / "odd.img"));
}

}  // namespace
