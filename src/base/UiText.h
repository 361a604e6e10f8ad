#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The program's one text table. Texts are UTF-8; a line break stored in a text is the two
// characters LF, CR in that order. UiText returns a copy of at most 255 characters
// (characters, not bytes) and an empty string for an id the table does not hold. It reads
// the table of the chosen language: the program's own (Russian) unless another is selected.
std::string UiText(int id);

// Another language's texts for the ids of the program's table, in any order. While it is
// selected UiText reads it, and the program's own text for an id it lacks.
using UiTextTranslation = std::vector<std::pair<std::uint16_t, std::string>>;
void SelectUiTextTable(UiTextTranslation texts);
// Back to the program's own table.
void SelectProgramUiTextTable();

// A message followed by a name (of a file, a folder): one blank between them, so that the
// name never runs into the text.
std::string UiTextAndName(int id, const std::string& name);

// True when the program's own table holds a text for id.
bool HasUiText(int id);

// Longest text UiText hands out, in characters (Unicode code points).
inline constexpr std::size_t kUiTextMaxChars = 255;

// One entry of the table. The table is sorted by id, each id once.
struct UiTextEntry {
  std::uint16_t id;
  const char* text;
};

// The whole table, for checks and tools; callers that show text use UiText.
std::span<const UiTextEntry> UiTextTable();

// The first maxChars characters of a UTF-8 text. A multi-byte sequence is kept whole or not at
// all; stray continuation bytes stay with the character before them, so malformed input is
// cut without reading past its end.
std::string CutToCharacters(std::string_view utf8, std::size_t maxChars);
