#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Finding the passage of the help document about a row of the parameter grid. The
// document's headings carry the parameter names in upper case; the search is case
// significant.

// Upper case of Latin (with the central European letters) and Cyrillic text.
std::u16string UpperCaseText(std::u16string_view text);

// The heading keywords of the parameter names, expanded. The heading step of the search
// expands only a leading "REG." and "OPC."; the name itself goes through the whole table.
enum class AbbreviationSet { HeadingKeywords, All };
std::u16string ExpandAbbreviations(std::u16string name, AbbreviationSet set);

struct PassageSelection {
  std::size_t start = 0;
  std::size_t length = 0;
};

struct PassageFind {
  // The passage of the row under which an indented row stands, when that was searched and
  // found; it is selected first.
  std::optional<PassageSelection> heading;
  // The selected row's own passage; when absent the selection stays as it was.
  std::optional<PassageSelection> passage;
};

// labels: the column-0 texts of the grid, row 0 being the heading row. An indented row
// (a name beginning with a blank) is searched after the passage of the row it belongs to:
// of the rows above that it hangs under (each indented less than the one below it), the
// nearest that is not indented or is a regulation or option row.
PassageFind FindPassage(const std::vector<std::u16string>& labels, int selectedRow,
                        std::u16string_view helpText);
