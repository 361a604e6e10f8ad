#include "app/DesignFontsQt.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "app/DesignFonts.h"

void ApplyDesignFonts() {
  std::vector<std::string> installed;
  for (const QString& family : QFontDatabase::families()) installed.push_back(family.toStdString());
  for (const auto& [family, substitutes] : DesignFontSubstitutes(installed)) {
    QStringList list;
    for (const std::string& s : substitutes) list << QString::fromStdString(s);
    QFont::insertSubstitutions(QString::fromStdString(family), list);
  }
  QFont font(QString::fromLatin1(kDesignSans));
  font.setPixelSize(13);
  QApplication::setFont(font);
}
