// The toolkit's message box behind the dialogs interface: a question with details keeps its
// caption, text and buttons and offers the details behind its "Show Details..." button.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>

#include "app/UserDialogsQt.h"
#include "base/UiText.h"
#include "ui/UiTestSupport.h"

namespace {

struct SeenBox {
  QString title, text, details;
  QMessageBox::StandardButtons buttons;
  bool detailsButton = false;
};

// Shows the box, reads it as the user sees it and presses the given button.
MessageAnswer AnswerBox(QtUserDialogs& dialogs, const std::string& details, QMessageBox::StandardButton press,
                        SeenBox& seen) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = {box->windowTitle(), box->text(), box->detailedText(), box->standardButtons(), false};
    for (QAbstractButton* b : box->buttons())
      if (box->buttonRole(b) == QMessageBox::ActionRole) seen.detailsButton = true;
    box->button(press)->click();
  });
  return dialogs.ShowMessageWithDetails(UiText(704), MessageButtons::YesNoCancel, details);
}

TEST(LoadQuestionBox, CarriesTheDifferencesAsDetailsAndAnswersAsBefore) {
  TestApplication();
  QWidget parent;
  parent.show();
  QtUserDialogs dialogs(&parent);
  const std::string details = "Обороты переключения: 1500 [обор/мин] → 2000 [обор/мин]\n";
  const QMessageBox::StandardButtons yesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  const struct {
    std::string details;
    QMessageBox::StandardButton press;
    MessageAnswer answer;
    bool detailsButton;
  } cases[] = {
      {details, QMessageBox::Yes, MessageAnswer::Yes, true},
      {details, QMessageBox::Cancel, MessageAnswer::Cancel, true},
      {"", QMessageBox::No, MessageAnswer::No, false},
  };
  for (const auto& c : cases) {
    SeenBox seen;
    EXPECT_EQ(AnswerBox(dialogs, c.details, c.press, seen), c.answer);
    EXPECT_EQ(seen.title.toStdString(), UiText(700));
    EXPECT_EQ(seen.text.toStdString(), DisplayText(UiText(704)));
    EXPECT_EQ(seen.buttons, yesNoCancel);
    // A word joiner after the unit's slash keeps the unit whole where the details wrap.
    EXPECT_EQ(seen.details.count(QChar(0x2060)), c.details.empty() ? 0 : 2);
    EXPECT_EQ(QString(seen.details).remove(QChar(0x2060)).toStdString(), c.details);
    EXPECT_EQ(seen.detailsButton, c.detailsButton);
  }
}

}  // namespace
