#pragma once

#include <functional>
#include <string>

// Where the program looks for its own files and puts the user's, without ever changing its
// working folder: a path the fitter typed is taken from where he typed it.
struct FolderFacts {
  std::string workingDir;  // the process's working folder
  std::string homeDir;     // the user's home folder
  std::string dataHome;    // $XDG_DATA_HOME, else the home folder's .local/share
  std::function<bool(const std::string& folder)> isWritableFolder;
  std::function<bool(const std::string& path)> exists;
};

// The facts of this process and user.
FolderFacts CurrentFolderFacts();

// The folder a file dialog opens in: the remembered folder, else (none remembered yet) the
// working folder when the user may write there, else the home folder.
std::string DialogStartFolder(const std::string& remembered, const FolderFacts& facts);

// Where automatic recordings go: the working folder when the user may write there, else
// dataHome/ORV/recordings (made when missing).
std::string AutoRecordingFolder(const FolderFacts& facts);

// The help document: the working folder's copy when there is one, else the one beside the
// program.
std::string HelpDocumentPath(const std::string& name, const std::string& programDir,
                             const FolderFacts& facts);

// Makes every missing folder of path with the given mode (like mkdir -p). False, with the
// errno value in *error, when one cannot be made.
bool MakeFolders(const std::string& path, int* error = nullptr, unsigned mode = 0700);
