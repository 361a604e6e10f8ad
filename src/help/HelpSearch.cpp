#include "help/HelpSearch.h"

#include <array>

namespace {

char16_t UpperCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c < 0x00E0) return c;
  if (c <= 0x00FE) return c == 0x00F7 ? c : static_cast<char16_t>(c - 0x20);
  if (c == 0x00FF) return 0x0178;
  if (c == 0x0131) return u'I';
  if (c == 0x017F) return u'S';
  if ((c >= 0x0100 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177))
    return c & 1 ? static_cast<char16_t>(c - 1) : c;
  if ((c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E))
    return c & 1 ? c : static_cast<char16_t>(c - 1);
  if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 0x50);
  if ((c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x04FF))
    return c & 1 ? static_cast<char16_t>(c - 1) : c;
  if (c >= 0x04C1 && c <= 0x04CE) return c & 1 ? c : static_cast<char16_t>(c - 1);
  if (c == 0x04CF) return 0x04C0;
  return c;
}

struct Abbreviation {
  std::u16string_view abbreviation;
  std::size_t position;  // where it must stand, counted from 1
  std::u16string_view replacement;
  bool headingKeyword;
};

// These keywords are Polish and never translated.
constexpr std::array<Abbreviation, 8> kAbbreviations{{
    {u"REG.", 1, u"REGULACJA", true},
    {u"OPC.", 1, u"OPCJA", true},
    {u"POZ.", 1, u"POZIOM", false},
    {u"WSK.", 1, u"WSKAŹNIK", false},
    {u"POZ.", 10, u"YCJĘ", false},  // "... NA POZ." becomes "... NA POZYCJĘ"
    {u"PRĘD.", 1, u"PRĘDKOŚĆ", false},
    {u"TEMP.", 1, u"TEMPERATURA", false},
    {u"MAX", 1, u"MAKSYMALNE", false},
}};

// The Russian names of the regulation and option rows, which in the order by type stand
// indented under their sensor's row with their own indented rows below them. The Polish
// ones hold the heading keywords; the English ones end in these words.
constexpr std::array<std::u16string_view, 3> kSubHeadingStarts{u"РЕГ. ", u"РЕГ ", u"ОПЦИОН "};
constexpr std::array<std::u16string_view, 2> kSubHeadingEnds{u" REGULATION", u" OPTION"};

std::u16string WithoutLeadingBlanks(std::u16string_view s) {
  const std::size_t first = s.find_first_not_of(u' ');
  return first == std::u16string_view::npos ? std::u16string() : std::u16string(s.substr(first));
}

bool IsSubHeading(const std::u16string& name) {
  if (name.find(u"REG.") != std::u16string::npos || name.find(u"OPC.") != std::u16string::npos) return true;
  for (std::u16string_view start : kSubHeadingStarts)
    if (name.starts_with(start)) return true;
  for (std::u16string_view end : kSubHeadingEnds)
    if (name.ends_with(end)) return true;
  return false;
}

std::u16string Label(const std::vector<std::u16string>& labels, int row) {
  return UpperCaseText(labels[static_cast<std::size_t>(row)]);
}

}  // namespace

std::u16string UpperCaseText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = UpperCase(c);
  return out;
}

std::u16string ExpandAbbreviations(std::u16string name, AbbreviationSet set) {
  for (const Abbreviation& a : kAbbreviations) {
    if (set == AbbreviationSet::HeadingKeywords && !a.headingKeyword) continue;
    const std::size_t at = a.position - 1;
    if (name.size() < at + a.abbreviation.size() ||
        name.compare(at, a.abbreviation.size(), a.abbreviation) != 0)
      continue;
    if (at == 0) {
      name = std::u16string(a.replacement) + name.substr(a.abbreviation.size());
    } else {
      name.erase(at + a.abbreviation.size() - 1, 1);  // the full stop
      name += a.replacement;
    }
  }
  return name;
}

PassageFind FindPassage(const std::vector<std::u16string>& labels, int selectedRow,
                        std::u16string_view helpText) {
  PassageFind result;
  if (selectedRow < 1 || selectedRow >= static_cast<int>(labels.size())) return result;
  const std::u16string name = Label(labels, selectedRow);
  std::size_t from = 0;

  if (name.starts_with(u' ')) {
    // Up the rows the selected one hangs under, each indented less than the one below it,
    // to the first that is not indented or is a regulation or option row.
    std::size_t level = name.find_first_not_of(u' ');
    std::u16string heading;
    for (int row = selectedRow - 1; row >= 1; --row) {
      const std::u16string text = Label(labels, row);
      if (!text.starts_with(u' ')) {
        heading = text;
        break;
      }
      const std::size_t indent = text.find_first_not_of(u' ');
      if (indent >= level) continue;
      level = indent;
      heading = WithoutLeadingBlanks(text);
      if (IsSubHeading(heading)) break;
    }
    if (!heading.empty()) {
      heading = ExpandAbbreviations(heading, AbbreviationSet::HeadingKeywords);
      const std::size_t found = helpText.find(heading);
      if (found != std::u16string_view::npos) {
        result.heading = PassageSelection{found, heading.size()};
        // The row's own name is looked for behind the heading, not inside it.
        from = found + heading.size();
      }
    }
  }

  const std::u16string own = ExpandAbbreviations(WithoutLeadingBlanks(name), AbbreviationSet::All);
  if (own.empty()) return result;
  const std::size_t found = helpText.find(own, from);
  if (found != std::u16string_view::npos) result.passage = PassageSelection{found, own.size()};
  return result;
}
