#pragma once

#include <array>
#include <string_view>

// The language list: fixed items in their own names, never taken from a table. The setting
// "Lang" keeps an index of this list.
inline constexpr std::array<std::string_view, 6> kLanguageNames{"polski",   "deutsch",     "english",
                                                                "italiano", "lietuviskas", "russian"};
// The code that names a language's files: its table mervolante_<code>.qm and the toolkit's
// catalogue qtbase_<code>.qm.
inline constexpr std::array<std::string_view, 6> kLanguageCodes{"pl", "de", "en", "it", "lt", "ru"};
// Russian: the language of the program's own table.
inline constexpr int kProgramLanguage = 5;

// A stored index of the list, or the program's language for a value that names none.
constexpr int LanguageOfSetting(int stored) {
  return stored >= 0 && stored < static_cast<int>(kLanguageNames.size()) ? stored : kProgramLanguage;
}
