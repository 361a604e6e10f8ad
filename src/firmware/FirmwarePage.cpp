#include "firmware/FirmwarePage.h"

#include <utility>

#include "base/UiText.h"
#include "model/ParameterBlock.h"

namespace {
constexpr int kTextCannotOpen = 702;
constexpr int kTextBadData = 703;
constexpr int kTextConfirm = 901;
constexpr int kTextReadingFile = 902;
}  // namespace

int FirmwareGridRows(int images, int rowsVisible) {
  return images + 1 > rowsVisible ? images + 2 : rowsVisible;
}

FirmwarePage::FirmwarePage(ControllerLink& link, FirmwarePageView& view, FirmwareHost& host,
                           UserDialogs& dialogs, std::string programDir)
    : link_(link),
      view_(view),
      host_(host),
      dialogs_(dialogs),
      programDir_(std::move(programDir)),
      dialogue_(link, view, dialogs) {}

int FirmwarePage::ListFirmwareImages(int rowsVisible) {
  // The message about a file that cannot be opened runs an event loop, in which the window
  // may be laid out again; that layout keeps the list being made.
  if (listing_) return static_cast<int>(list_.size());
  listing_ = true;
  link_.ForgetControllerStatus();
  list_.clear();
  list_ = ListImagesIn(programDir_, link_.Block()[kTypeByte], [this](const std::string& name) {
    dialogs_.ShowMessage(UiTextAndName(kTextCannotOpen, name), MessageButtons::Ok);
  });
  const int count = static_cast<int>(list_.size());
  view_.ShowImageList(list_, FirmwareGridRows(count, rowsVisible));
  listing_ = false;
  return count;
}

bool FirmwarePage::ReadForRun(const std::string& path, std::vector<std::uint8_t>& image) {
  switch (ReadImageForRun(path, image)) {
    case ImageReadResult::Ok: return true;
    case ImageReadResult::CannotOpen:
      dialogs_.ShowMessage(UiTextAndName(kTextCannotOpen, path), MessageButtons::Ok);
      break;
    case ImageReadResult::BadData:
      dialogs_.ShowMessage(UiTextAndName(kTextBadData, FileNameOf(path)), MessageButtons::Ok);
      break;
  }
  view_.CloseProgrammingWindow();
  view_.SetMainWindowEnabled(true);
  return false;
}

bool FirmwarePage::LinkAtRest() const {
  return dialogue_.CurrentPhase() == ProgrammingDialogue::Phase::Idle && !link_.Vars().reconnectPending &&
         link_.Vars().linkState == link_state::kStopped;
}

void FirmwarePage::StartProgramming(int selectedRow, ConnectionMode connectionMode) {
  // After a run the page stays in view until the link restarts and reads the device afresh; a
  // run started meanwhile would be cut off by that restart with the controller in its loader.
  link_.ForgetControllerStatus();
  if (!LinkAtRest()) return;
  const int entry = selectedRow - 1;
  if (entry < 0 || entry >= static_cast<int>(list_.size())) return;
  const std::string path = list_[static_cast<std::size_t>(entry)].path;

  view_.OpenProgrammingWindow();
  dialogs_.Beep();
  if (dialogs_.ShowMessage(UiText(kTextConfirm), MessageButtons::OkCancel) == MessageAnswer::Cancel) {
    view_.CloseProgrammingWindow();
    return;
  }
  view_.SetMainWindowEnabled(false);
  view_.SetFileText(UiText(kTextReadingFile) + FileNameOf(path));
  std::vector<std::uint8_t> image;
  if (!ReadForRun(path, image)) return;
  // Only a run that starts is worth a backup: the backups kept are counted.
  if (connectionMode == ConnectionMode::Controller) host_.MakeAutomaticBackup();
  host_.RunTransmitTimer();
  dialogue_.Start(std::move(image));
}
