#pragma once

#include <string>
#include <vector>

#include "base/UserDialogs.h"
#include "firmware/FirmwareImage.h"
#include "firmware/ProgrammingDialogue.h"
#include "link/ControllerLink.h"

// What the firmware page asks of the main window beyond its views.
class FirmwareHost {
 public:
  virtual ~FirmwareHost() = default;
  // The automatic parameter backup, made before a run while the program holds a complete
  // read of the controller: new firmware may bring the controller back with its factory
  // parameters.
  virtual void MakeAutomaticBackup() = 0;
  // The transmit timer runs the time limits of a run; a link stopped by the user is not
  // ticking.
  virtual void RunTransmitTimer() = 0;
};

// The page's grid, its copy of the list, and the programming window.
class FirmwarePageView : public ProgrammingWindow {
 public:
  // Row 0 the headers, rows 1.. the images, `rows` rows in all; row 1 selected first, then
  // the last listed row when there is one.
  virtual void ShowImageList(const std::vector<ListedImage>& images, int rows) = 0;
  virtual void OpenProgrammingWindow() = 0;
  virtual void SetFileText(const std::string& text) = 0;  // the first label
};

// Rows of the page's grid for n images when `rowsVisible` rows fit.
int FirmwareGridRows(int images, int rowsVisible);

// The firmware page: lists the images in the program's folder that fit the connected
// device and starts a run with the selected one.
class FirmwarePage {
 public:
  FirmwarePage(ControllerLink& link, FirmwarePageView& view, FirmwareHost& host, UserDialogs& dialogs,
               std::string programDir);

  // Rebuilds the list and the grid; returns the number of images listed.
  int ListFirmwareImages(int rowsVisible);
  // Programs the image of grid row `selectedRow` (1 is the first image). Only from a link at
  // rest: no run under way, no restart pending, the polling stopped for this page.
  void StartProgramming(int selectedRow, ConnectionMode connectionMode);

  // The full paths of the listed images; grid row n shows entry n - 1.
  const std::vector<ListedImage>& FirmwareList() const { return list_; }
  ProgrammingDialogue& Dialogue() { return dialogue_; }

 private:
  bool LinkAtRest() const;
  bool ReadForRun(const std::string& path, std::vector<std::uint8_t>& image);

  ControllerLink& link_;
  FirmwarePageView& view_;
  FirmwareHost& host_;
  UserDialogs& dialogs_;
  std::string programDir_;
  ProgrammingDialogue dialogue_;
  std::vector<ListedImage> list_;
  bool listing_ = false;
};
