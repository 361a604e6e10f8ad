#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "help/RtfReader.h"
#include "support/TempFolder.h"

namespace {

std::u16string U(const std::string& utf8) { return Utf16FromUtf8(utf8).value(); }

const RtfRun& RunAt(const RtfDocument& doc, std::size_t position) {
  for (const RtfRun& r : doc.runs)
    if (position >= r.start && position < r.start + r.length) return r;
  throw std::out_of_range("no run covers the position");
}

struct TextCase {
  const char* name;
  std::string rtf;
  std::string text;  // UTF-8 of the expected text
};

TEST(RtfReaderTest, readsTheTextOfEscapesCodePagesUnicodeAndSkippedDestinations) {
  const TextCase cases[] = {
      {"1251 escapes", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}", "Привет"},
      {"1250 escapes", "{\\rtf1\\ansi\\ansicpg1250 \\'a3\\'f3d\\'9f}", "Łódź"},
      {"1252 by default", "{\\rtf1\\ansi \\'e9t\\'e9}", "été"},
      {"unknown code page reads as 1252", "{\\rtf1\\ansi\\ansicpg932 \\'e9}", "é"},
      {"raw 8-bit bytes", "{\\rtf1\\ansicpg1251 \xd9\xf3\xef}", "Щуп"},
      {"\\u with one fallback character", "{\\rtf1 \\u1046?\\u1078?}", "Жж"},
      {"\\uc2 skips an escape pair", "{\\rtf1\\uc2 \\u1046\\'3f\\'3fa}", "Жa"},
      {"\\uc0 skips nothing", "{\\rtf1\\uc0 \\u1046 x}", "Жx"},
      {"negative \\u", "{\\rtf1 \\u-3913?}", "\xef\x82\xb7"},
      {"\\uc is local to its group", "{\\rtf1 {\\uc2 \\u1046??}\\u1078?x}", "Жжx"},
      {"breaks and tabs", "{\\rtf1 a\\par b\\line c\\tab d}",
       "a\nb\xe2\x80\xa8"
       "c\td"},
      {"escaped braces and backslash", "{\\rtf1 \\{x\\}\\\\}", "{x}\\"},
      {"symbols", "{\\rtf1 a\\~b\\-c\\_d\\emdash}",
       "a\xc2\xa0"
       "bc\xe2\x80\x91"
       "d\xe2\x80\x94"},
      {"nested groups", "{\\rtf1 a{\\b b{\\i c}}d}", "abcd"},
      {"skipped destinations",
       "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
       "{\\info{\\title T}}{\\*\\generator W;}{\\pict\\pngblip 89504e47}{\\*\\unknown z}text}",
       "text"},
      {"binary data is skipped", "{\\rtf1 \\bin3 {}}x}", "x"},
      {"line ends in the source are not text", "{\\rtf1 a\r\nb}", "ab"},
      {"a backslash before a line end is a paragraph", "{\\rtf1 a\\\nb}", "a\nb"},
      {"truncated inside the document", "{\\rtf1 abc", "abc"},
      {"truncated escape", "{\\rtf1 a\\'c", "a"},
      {"trailing backslash", "{\\rtf1 a\\", "a"},
      {"bin longer than the file", "{\\rtf1 a\\bin999999 xyz", "a"},
      {"text after the document is not read", "{\\rtf1 a}b", "a"},
      {"control words without a delimiter", "{\\rtf1\\b\\i x\\b0\\i0 y}", "xy"},
      {"plain text", "plain\r\ntext\rnext", "plain\ntext\nnext"},
      {"plain text in code page 1251", "\xcf\xf0\xe8", "При"},
      {"plain UTF-8 text", "Щуп", "Щуп"},
      // A word processor on a western or Polish system keeps its own code page in the header
      // and names the Cyrillic font's character set.
      {"1252 header, Cyrillic font",
       "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
       "{\\f1\\fswiss\\fcharset204{\\*\\panose 020b0604020202020204}Arial CYR;}}"
       "\\f1 \\'d9\\'f3\\'ef {\\f0 \\'e9}\\'e0\\plain \\'e9}",
       "Щуп éаé"},
      {"1250 header, Cyrillic default font",
       "{\\rtf1\\ansi\\ansicpg1250\\deff1{\\fonttbl{\\f0\\fcharset238 Arial CE;}{\\f1\\fcharset204 Arial;}}"
       "\\'d9 \\f0\\'a3}",
       "Щ Ł"},
      {"a font without a known character set keeps the header's",
       "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset2 Symbol;}{\\f3\\fnil Courier;}}\\f3 "
       "\\'d9\\f0\\'d9\\f9\\'d9}",
       "ЩЩЩ"},
  };
  for (const TextCase& c : cases) {
    const RtfDocument doc = ReadRtf(c.rtf);
    EXPECT_EQ(doc.text, U(c.text)) << c.name;
    std::size_t covered = 0;
    for (const RtfRun& r : doc.runs) {
      EXPECT_EQ(r.start, covered) << c.name;
      covered += r.length;
    }
    EXPECT_EQ(covered, doc.text.size()) << c.name;
  }
}

TEST(RtfReaderTest, keepsCharacterAndParagraphFormattingWithColoursFromTheTable) {
  const RtfDocument doc = ReadRtf(
      "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
      "\\qc n{\\b b\\b0 n}{\\i i}{\\ul u\\ulnone n}{\\fs40 F}{\\cf2 C}\\cf1 R\\cf0 A\\cf9 X\\plain p\\par"
      "\\pard\\sb120\\sa60 L\\par\\li720\\fi-240 I}");
  ASSERT_EQ(doc.text, U("nbniunFCRAXp\nL\nI"));
  auto at = [&](char16_t c) { return RunAt(doc, doc.text.find(c)).format; };
  EXPECT_EQ(at(u'n'), RtfCharFormat{});
  EXPECT_TRUE(at(u'b').bold);
  EXPECT_FALSE(RunAt(doc, 2).format.bold);
  EXPECT_TRUE(at(u'i').italic);
  EXPECT_TRUE(at(u'u').underline);
  EXPECT_FALSE(RunAt(doc, 5).format.underline);
  EXPECT_EQ(at(u'F').halfPoints, 40);
  EXPECT_EQ(at(u'C').rgb, 0x0000FFu);
  EXPECT_EQ(at(u'R').rgb, 0xFF0000u);
  EXPECT_EQ(at(u'A').rgb, std::nullopt);  // \cf0: the viewer's own colour
  EXPECT_EQ(at(u'X').rgb, std::nullopt);  // beyond the table
  EXPECT_EQ(at(u'p'), RtfCharFormat{});
  ASSERT_EQ(doc.paragraphs.size(), 3u);
  EXPECT_EQ(doc.paragraphs[0].alignment, RtfAlignment::Centre);
  EXPECT_EQ(doc.paragraphs[1].alignment, RtfAlignment::Left);
  EXPECT_EQ(doc.paragraphs[1].start, doc.text.find(u'L'));
  EXPECT_EQ(doc.paragraphs[1].spaceBeforeTwips, 120);
  EXPECT_EQ(doc.paragraphs[1].spaceAfterTwips, 60);
  EXPECT_EQ(doc.paragraphs[2].leftIndentTwips, 720);
  EXPECT_EQ(doc.paragraphs[2].firstLineIndentTwips, -240);
  EXPECT_EQ(doc.paragraphs[2].spaceBeforeTwips, 120);  // until the next \pard
}

TEST(RtfReaderTest, survivesDeepNestingAndTruncationAndRestoresTheFormatOutsideTheDeepGroups) {
  const std::string open(10000, '{'), close(10000, '}');
  const RtfDocument deep = ReadRtf("{\\rtf1 {\\b " + open + "x" + close + "}y}");
  EXPECT_EQ(deep.text, u"xy");
  EXPECT_TRUE(RunAt(deep, 0).format.bold);
  EXPECT_FALSE(RunAt(deep, 1).format.bold);

  EXPECT_EQ(ReadRtf("{\\rtf1 " + open + "x").text, u"x");
  EXPECT_EQ(ReadRtf("{\\rtf1 a" + close + close + "b").text, u"a");
}

TEST(RtfReaderTest, readsRandomBytesWithoutFailing) {
  std::mt19937 random(12345);
  std::string bytes = "{\\rtf1 ";
  bytes.resize(2'000'000);
  for (std::size_t i = 7; i < bytes.size(); ++i) bytes[i] = static_cast<char>(random() & 0xFF);
  const RtfDocument doc = ReadRtf(bytes);
  EXPECT_LE(doc.text.size(), bytes.size());
  EXPECT_FALSE(doc.paragraphs.empty());
  const RtfDocument plain = ReadRtf(bytes.substr(7));
  EXPECT_LE(plain.text.size(), bytes.size());
}

TEST(RtfReaderTest, loadsAFileAndRefusesMissingAndOversizedOnes) {
  TempFolder folder;
  EXPECT_FALSE(LoadRtfFile(folder / "missing.rtf").has_value());
  { std::ofstream(folder / "small.rtf", std::ios::binary) << "{\\rtf1\\ansicpg1251 \\'d9\\'d3\\'cf}"; }
  const auto small = LoadRtfFile(folder / "small.rtf");
  ASSERT_TRUE(small.has_value());
  EXPECT_EQ(small->text, U("ЩУП"));
  { std::ofstream(folder / "huge.rtf", std::ios::binary) << "{\\rtf1 x}"; }
  std::filesystem::resize_file(folder / "huge.rtf", kRtfMaxFileBytes + 1);
  EXPECT_FALSE(LoadRtfFile(folder / "huge.rtf").has_value());
}

}  // namespace
