#pragma once

#include <QString>
#include <string>

#include "base/UiText.h"
#include "base/UserDialogs.h"

// A UTF-8 string as Qt holds it, taken as it is: file names, numbers, what the user typed.
inline QString QtText(const std::string& utf8) { return QString::fromStdString(utf8); }

// One of the program's texts as shown: its stored LF CR pairs become line breaks.
inline QString QtShownText(const std::string& stored) { return QString::fromStdString(DisplayText(stored)); }

// The program's text `id` as shown.
inline QString QtUiText(int id) { return QtShownText(UiText(id)); }
