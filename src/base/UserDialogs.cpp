#include "base/UserDialogs.h"

#include "base/UiText.h"

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

namespace {
// The filters of the window design, in the table's language.
constexpr int kOpenFilter = 1250;
constexpr int kSaveFilter = 1251;
}  // namespace

FileDialogSetup FileDialogFor(FileDialogUse use) {
  switch (use) {
    case FileDialogUse::OpenRecording: return {false, 104, UiText(kOpenFilter), 1, ""};
    case FileDialogUse::SaveRecording: return {true, 105, UiText(kSaveFilter), 1, "orvv"};
    case FileDialogUse::OpenParameters: return {false, 106, UiText(kOpenFilter), 2, ""};
    case FileDialogUse::SaveParameters: return {true, 107, UiText(kSaveFilter), 2, "orvp"};
    case FileDialogUse::SaveCsv: return {true, 0, "CSV (*.csv)|*.csv|(*.*)|*.*", 1, "csv"};
    case FileDialogUse::SaveReport: return {true, 1412, "PDF (*.pdf)|*.pdf|(*.*)|*.*", 1, "pdf"};
  }
  return {};
}
