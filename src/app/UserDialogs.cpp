#include "app/UserDialogs.h"

std::string DisplayText(const std::string& stored) {
  std::string shown;
  shown.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const char c = stored[i];
    if (c == '\r') {
      if (i == 0 || stored[i - 1] != '\n') shown += '\n';
      continue;
    }
    shown += c;
  }
  return shown;
}
