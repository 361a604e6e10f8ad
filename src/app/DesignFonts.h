#pragma once

#include <map>
#include <string>
#include <vector>

// The window design is laid out in pixels for the fonts it names: "Times New Roman" on the
// page buttons, the magnifier, the programming and help windows, "MS Sans Serif" for the
// rest. On Linux these are usually missing and the fallback fonts are wider, which clips
// captions. The metric-compatible Liberation fonts (Liberation Serif has the widths of
// Times New Roman, Liberation Sans those of Arial, close to MS Sans Serif) take their
// place when installed, else the nearest common families.
inline constexpr const char* kDesignSerif = "Times New Roman";
inline constexpr const char* kDesignSans = "MS Sans Serif";

// For each design family missing from `installed`, the installed families to use instead,
// best first; a design family that is installed needs no substitute.
std::map<std::string, std::vector<std::string>> DesignFontSubstitutes(
    const std::vector<std::string>& installed);
