#pragma once

#include <optional>
#include <string>

#include "model/PageAndMode.h"

class ControllerLink;
class LinkHost;
class UserDialogs;

// What the parameter buttons need of the main window beyond the link's host.
class ParameterTransferHost {
 public:
  virtual ~ParameterTransferHost() = default;
  virtual std::string& DirOpen() = 0;  // the remembered open and save folders
  virtual std::string& DirSave() = 0;
  virtual std::string FileNameBase() const = 0;                 // EDFile: the proposed file name
  virtual void SetOpenedFileName(const std::string& name) = 0;  // for the caption of mode 1
  virtual ::ConnectionMode ConnectionMode() const = 0;
  virtual int ListOrder() const { return 0; }  // the parameter view's list order
  virtual void DependentDefaultsForSelectedRow() = 0;
  virtual void MakeAutomaticBackup() = 0;  // only in ConnectionMode 2
};

// The buttons that move a whole set of parameters: save to a file, load from a file, and
// the factory reset.
class ParameterTransfer {
 public:
  ParameterTransfer(ControllerLink& link, LinkHost& linkHost, ParameterTransferHost& host,
                    UserDialogs& dialogs);

  void BtnSaveParClick();
  // named: the file to open without the dialog.
  void BtnOpenParClick(const std::optional<std::string>& named = std::nullopt);
  void BtnWriteParClick();

 private:
  ControllerLink& link_;
  LinkHost& linkHost_;
  ParameterTransferHost& host_;
  UserDialogs& dialogs_;
};
