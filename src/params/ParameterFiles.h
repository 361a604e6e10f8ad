#pragma once

#include <string>

#include "base/FilePaths.h"
#include "model/ParameterBlock.h"

// Parameter files (.orvp): the raw 256 bytes of the ParameterBlock, without header.

inline constexpr std::size_t kParameterFileBytes = 256;

// True when the name's extension is ".orvp", compared without regard to case.
bool HasParameterExtension(const std::string& path);

// Writes the block through a temporary file renamed into place, so that a failure leaves an
// existing file as it was. False (with *error) when it could not be written.
bool SaveParameterFile(const std::string& path, const ParameterBlock& block, std::string* error = nullptr);

enum class ParameterFileStatus { Loaded, CannotOpen, WrongSize };

struct LoadedParameterFile {
  ParameterFileStatus status = ParameterFileStatus::CannotOpen;
  ParameterBlock bytes{};  // the file's 256 bytes when loaded
};

// Reads a parameter file, opened for reading only. A file that is missing, unreadable or not
// a regular file cannot be opened; one of any size but 256 bytes is not a parameter file and
// is refused.
LoadedParameterFile LoadParameterFile(const std::string& path);

// Loading into a connected controller keeps its type, version and PresenceMask: file bytes
// 16 to 104. Showing a file takes its bytes 0 to 104.
void CopyFileToController(const ParameterBlock& file, ParameterBlock& block);
void CopyFileForViewing(const ParameterBlock& file, ParameterBlock& block);
