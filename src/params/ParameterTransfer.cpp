#include "params/ParameterTransfer.h"

#include "base/FileFlow.h"
#include "base/UiText.h"
#include "base/UserDialogs.h"
#include "link/ControllerLink.h"
#include "params/ParameterCompare.h"
#include "params/ParameterFiles.h"

ParameterTransfer::ParameterTransfer(ControllerLink& link, LinkHost& linkHost, ParameterTransferHost& host,
                                     UserDialogs& dialogs)
    : link_(link), linkHost_(linkHost), host_(host), dialogs_(dialogs) {}

void ParameterTransfer::BtnSaveParClick() {
  SaveThroughDialog(dialogs_,
                    {FileDialogUse::SaveParameters, host_.DirSave(), host_.FileNameBase() + ".orvp",
                     [this](const std::string& folder) { host_.DirSave() = folder; }, HasParameterExtension},
                    [this](const std::string& path, std::string* why) {
                      return SaveParameterFile(path, link_.Block(), why);
                    });
}

void ParameterTransfer::BtnOpenParClick(const std::optional<std::string>& named) {
  std::string path;
  LoadedParameterFile file;
  const bool read = OpenThroughDialog(
      dialogs_,
      {FileDialogUse::OpenParameters, host_.DirOpen(), "",
       [this](const std::string& folder) { host_.DirOpen() = folder; }, HasParameterExtension},
      [&](const std::string& chosen) {
        path = chosen;
        file = LoadParameterFile(chosen);
        if (file.status == ParameterFileStatus::WrongSize) return FileRead{false, 703};
        return FileRead{file.status == ParameterFileStatus::Loaded, 0};
      },
      named);
  if (!read) return;

  // With the controller's block at hand the question shows what a Yes would change.
  const bool controllerRead = host_.ConnectionMode() == ConnectionMode::Controller;
  ParameterBlock loaded = link_.Block();
  CopyFileToController(file.bytes, loaded);
  dialogs_.Beep();
  const MessageAnswer answer =
      controllerRead ? dialogs_.ShowMessageWithDetails(
                           UiText(704), MessageButtons::YesNoCancel,
                           LoadDifferencesText(link_.Block(), loaded, host_.ListOrder(), &file.bytes))
                     : dialogs_.ShowMessage(UiText(704), MessageButtons::YesNoCancel);
  switch (answer) {
    case MessageAnswer::Yes: {
      host_.MakeAutomaticBackup();
      // Onto the block as it stands now: replies may have come in while the question was open.
      ParameterBlock block = link_.Block();
      CopyFileToController(file.bytes, block);
      link_.LoadBlock(block);
      // Counted against what the controller was last sent; only while it is still connected.
      if (host_.ConnectionMode() == ConnectionMode::Controller)
        linkHost_.AddLogLine(UiText(1232) +
                             std::to_string(DifferingParameterBytes(link_.Block(), link_.SentBlock())));
      linkHost_.ParametersRead();
      break;
    }
    case MessageAnswer::No: {
      link_.StopTransmitClock();
      ParameterBlock block = link_.Block();
      CopyFileForViewing(file.bytes, block);
      link_.LoadBlock(block);
      link_.ForgetChanges();  // the file is only shown: none of it is for the controller
      host_.SetOpenedFileName(FileNameOf(path));
      linkHost_.ApplyConnectionMode(ConnectionMode::File);
      linkHost_.ParametersRead();
      break;
    }
    default: break;
  }
}

void ParameterTransfer::BtnWriteParClick() {
  dialogs_.Beep();
  if (dialogs_.ShowMessage(UiText(705), MessageButtons::YesNo) != MessageAnswer::Yes) return;
  host_.MakeAutomaticBackup();
  host_.DependentDefaultsForSelectedRow();
  link_.ForceWrite(0, 0);  // a write of 0 to byte 0 makes the controller restore its factory parameters
  link_.RequestFullRead();
}
