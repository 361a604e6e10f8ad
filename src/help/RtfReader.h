#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/CodePages.h"

// A rich-text document as read from an RTF file: its characters and the formatting of
// each stretch of them. Positions count UTF-16 code units; a paragraph ends in '\n', a line
// break inside a paragraph is U+2028 and a tab '\t', so a position in `text` is the same
// position in a text document built from it.
struct RtfCharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = 0;                // font size in half points; 0: the viewer's own size
  std::optional<std::uint32_t> rgb;  // 0xRRGGBB; none: the viewer's own colour
  bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
  std::size_t start = 0;
  std::size_t length = 0;
  RtfCharFormat format;
};

enum class RtfAlignment { Left, Centre, Right, Justify };

struct RtfParagraph {
  std::size_t start = 0;  // position of its first character
  RtfAlignment alignment = RtfAlignment::Left;
  int leftIndentTwips = 0;
  int firstLineIndentTwips = 0;  // relative to the left indent
  int spaceBeforeTwips = 0;
  int spaceAfterTwips = 0;
};

struct RtfDocument {
  std::u16string text;
  std::vector<RtfRun> runs;              // consecutive, covering the whole text
  std::vector<RtfParagraph> paragraphs;  // at least one
  int codePage = 1252;
};

// Groups deeper than this are read as if their braces were not there.
inline constexpr int kRtfMaxGroupDepth = 200;

// Reads a document. The bytes are untrusted: deep nesting, unterminated groups, unknown
// control words, binary data and truncation give a document with whatever text could be
// read, never a failure. Bytes that do not start with "{\rtf" are read as plain text
// (UTF-8 when they are valid UTF-8, else code page 1251).
RtfDocument ReadRtf(std::string_view bytes);

// Files larger than this are not taken as a help document.
inline constexpr std::size_t kRtfMaxFileBytes = 16u * 1024u * 1024u;

// Reads a file and its document; nothing when the file cannot be opened or read, or is
// larger than kRtfMaxFileBytes.
std::optional<RtfDocument> LoadRtfFile(const std::string& path);
