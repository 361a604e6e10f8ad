#pragma once

#include <string>

// The folder of a path, without trailing separator ("" for a bare name, "/" for the root).
std::string FolderOf(const std::string& path);
// The file name without its folder.
std::string FileNameOf(const std::string& path);
