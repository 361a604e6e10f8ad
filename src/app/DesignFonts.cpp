#include "app/DesignFonts.h"

#include <algorithm>

namespace {

struct Candidates {
  const char* family;
  std::vector<const char*> substitutes;
};

const Candidates kCandidates[] = {
    {kDesignSerif, {"Liberation Serif", "Tinos", "DejaVu Serif"}},
    {kDesignSans, {"Liberation Sans", "Arimo", "Arial", "DejaVu Sans"}},
    {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
};

}  // namespace

std::map<std::string, std::vector<std::string>> DesignFontSubstitutes(
    const std::vector<std::string>& installed) {
  auto has = [&](const std::string& family) {
    return std::find(installed.begin(), installed.end(), family) != installed.end();
  };
  std::map<std::string, std::vector<std::string>> result;
  for (const Candidates& c : kCandidates) {
    if (has(c.family)) continue;
    std::vector<std::string> chosen;
    for (const char* s : c.substitutes)
      if (has(s)) chosen.emplace_back(s);
    if (!chosen.empty()) result[c.family] = std::move(chosen);
  }
  return result;
}
