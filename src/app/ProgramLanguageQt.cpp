#include "app/ProgramLanguageQt.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "base/UiLanguages.h"

namespace {

QString Code(int language) { return QString::fromLatin1(kLanguageCodes[static_cast<std::size_t>(language)]); }

// The toolkit's catalogue of the language in use. It belongs to the text table as the table
// does to UiText: one for the program, changed only with the language.
std::unique_ptr<QTranslator>& ToolkitCatalogue() {
  static std::unique_ptr<QTranslator> catalogue;
  return catalogue;
}

void InstallToolkitCatalogue(int language) {
  if (!QCoreApplication::instance()) return;
  std::unique_ptr<QTranslator>& installed = ToolkitCatalogue();
  if (installed) QCoreApplication::removeTranslator(installed.get());
  installed.reset();
  auto catalogue = std::make_unique<QTranslator>();
  if (!catalogue->load("qtbase_" + Code(language), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return;
  QCoreApplication::installTranslator(catalogue.get());
  installed = std::move(catalogue);
}

}  // namespace

QString LanguageTablePath(int language) {
  return QStringLiteral(":/translations/mervolante_") + Code(LanguageOfSetting(language)) +
         QStringLiteral(".qm");
}

std::vector<int> AvailableLanguages() {
  std::vector<int> languages;
  for (int language = 0; language < static_cast<int>(kLanguageNames.size()); ++language)
    if (language == kProgramLanguage || QFile::exists(LanguageTablePath(language)))
      languages.push_back(language);
  return languages;
}

UiTextTranslation LoadUiTextTranslation(const QString& qmPath) {
  UiTextTranslation texts;
  QTranslator table;
  if (!table.load(qmPath)) return texts;
  // The tables are keyed by text id: the toolkit finds an id's text as it finds the source
  // text of a message without a context.
  for (const UiTextEntry& entry : UiTextTable()) {
    const QByteArray id = QByteArray::number(entry.id);
    const QString text = table.translate(nullptr, id.constData());
    if (!text.isNull() && !text.isEmpty()) texts.emplace_back(entry.id, text.toStdString());
  }
  return texts;
}

int SelectLanguage(int language) {
  language = LanguageOfSetting(language);
  UiTextTranslation texts;
  if (language != kProgramLanguage) texts = LoadUiTextTranslation(LanguageTablePath(language));
  if (texts.empty()) language = kProgramLanguage;
  if (language == kProgramLanguage)
    SelectProgramUiTextTable();
  else
    SelectUiTextTable(std::move(texts));
  InstallToolkitCatalogue(language);
  return language;
}
