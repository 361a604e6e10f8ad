#pragma once

#include <QString>
#include <vector>

#include "base/UiText.h"

// The languages of the list whose tables the program holds, as indexes of the language list
// in list order. The program's own language is always among them; another is there when its
// compiled table (mervolante_<code>.qm, built from translations/) is in the program.
std::vector<int> AvailableLanguages();

// Where the program holds the compiled table of a language of the list.
QString LanguageTablePath(int language);

// The texts a compiled table gives for the ids of the program's table; empty when the file
// cannot be read as a table.
UiTextTranslation LoadUiTextTranslation(const QString& qmPath);

// Makes UiText read the table of the language and gives the toolkit its own texts in that
// language (the buttons of message boxes, the file dialogs), from its catalogue
// qtbase_<code>.qm where the system has one. A language whose table the program does not
// hold, or whose table cannot be read, selects the program's own. Returns the language
// selected. The toolkit's catalogue is installed only once the application exists.
int SelectLanguage(int language);
