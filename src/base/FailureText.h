#pragma once

#include <string>

// Why a file or device operation failed, in the program's language: the reason for an errno
// value ("нет места на диске", "нет доступа", ...), never the system's English text.
std::string FailureReason(int error);
