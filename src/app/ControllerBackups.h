#pragma once

#include <string>

#include "model/ParameterBlock.h"
#include "params/ServiceReport.h"

// The controller's parameters kept in the backup folder: the automatic backup before a
// write or a firmware run, and the first complete read after a factory reset, for the report.
class ControllerBackups {
 public:
  explicit ControllerBackups(std::string folder) : folder_(std::move(folder)) {}

  // The folder given at start, else the current user's backup folder.
  std::string Folder() const;
  // Saves the block now; returns the log line that names the file or says why it failed.
  std::string Automatic(const ParameterBlock& block) const;
  void ResetAsked() { factory_.ResetAsked(); }
  // Returns the log line of the parameters kept, empty when nothing was to be kept.
  std::string ReadCompleted(const ParameterBlock& block, const ParameterBlock& sent) {
    return factory_.ReadCompleted(block, sent, Folder());
  }

 private:
  std::string folder_;
  FactoryParametersKeeper factory_;
};
