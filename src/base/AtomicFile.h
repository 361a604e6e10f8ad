#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole-file reading and writing for the program's own files (settings, parameter files,
// recordings). A file is never written in place: the bytes go to a temporary file in the
// target's folder, are flushed to the disk, and the temporary file is renamed over the
// target. A reader therefore sees either the old file or the complete new one.

// Writes bytes to path atomically. The temporary file is named "<name>.XXXXXX" (a hidden
// name, with a leading dot) next to the target. A file that already exists keeps its
// permission bits, and its owner may always read and write it again; a new file gets 0644.
// On any failure the temporary file is removed, an existing target is left untouched, false
// is returned and *error (when given) says "path: reason", the reason in the program's
// language (FailureReason). The target's folder must exist.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// True when path names an existing file that may not be written: one the user made read-only
// to protect it (no write permission bit set, or no write access for this process). The
// atomic rename would replace such a file, so the saves the user asks for refuse it first.
bool IsReadOnlyFile(const std::string& path);

// Reads the whole regular file at path into out. Refuses (returns false) a file that is
// missing, unreadable, not a regular file (so a FIFO or device cannot block the caller), or
// larger than maxBytes, also when it grows past maxBytes while being read. On failure out is
// left unchanged and *error (when given) says "path: reason" as above.
bool ReadWholeFile(const std::string& path, std::string& out, std::size_t maxBytes,
                   std::string* error = nullptr);
