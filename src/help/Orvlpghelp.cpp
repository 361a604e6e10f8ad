#include "help/Orvlpghelp.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPalette>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
constexpr int kDesignWidth = 551;
constexpr int kDesignHeight = 312;
constexpr int kRadioGroupHeight = 33;
}  // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Form4");
  resize(kDesignWidth, kDesignHeight);
  QFont windowFont("Times New Roman");
  windowFont.setPixelSize(13);
  setFont(windowFont);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(0);

  RadioGroup1 = new QGroupBox(this);
  RadioGroup1->setObjectName("RadioGroup1");
  RadioGroup1->setFixedHeight(kRadioGroupHeight);
  QFont radioFont("MS Sans Serif");
  radioFont.setPixelSize(11);
  RadioGroup1->setFont(radioFont);
  auto* radioLayout = new QHBoxLayout(RadioGroup1);
  radioLayout->setContentsMargins(8, 2, 8, 2);
  radioButtons = new QButtonGroup(this);
  int id = 0;
  for (const char* item : {"Top", "Hide", "Close"}) {
    auto* b = new QRadioButton(item, RadioGroup1);
    b->setObjectName(QString("RadioGroup1_") + item);
    radioButtons->addButton(b, id++);
    radioLayout->addWidget(b, 1);
  }
  connect(radioButtons, &QButtonGroup::idClicked, this, [this](int index) { RadioGroup1Click(index); });
  layout->addWidget(RadioGroup1);

  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName("RichEdit1");
  RichEdit1->setReadOnly(true);
  RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The found passage stays marked while the focus is in the main window.
  QPalette p = RichEdit1->palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  RichEdit1->setPalette(p);
  layout->addWidget(RichEdit1, 1);

  // The window sees every key before its controls.
  installEventFilter(this);
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

int TForm4::RadioIndex() const { return radioButtons->checkedId(); }

void TForm4::SetRadioIndex(int index) {
  if (QAbstractButton* b = radioButtons->button(index)) b->setChecked(true);
}

void TForm4::SetStayOnTop(bool onTop) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
  const bool wasVisible = isVisible();
  restyling_ = true;
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (wasVisible) {
    show();
    activateWindow();
  }
  restyling_ = false;
}

void TForm4::FormShow() {
  if (events.shown) events.shown();
}

void TForm4::FormClose() {
  if (events.closed) events.closed();
}

void TForm4::FormDeactivate() {
  if (restyling_ || !isVisible()) return;
  if (RadioIndex() == 2) close();
}

bool TForm4::FormKeyDown(int qtKey) {
  if (qtKey == Qt::Key_Escape) {
    close();
    return true;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F9) {
    if (events.functionKey) events.functionKey();
    return true;
  }
  return false;
}

void TForm4::RadioGroup1Click(int index) {
  if (events.modePicked) events.modePicked(index);
  SetStayOnTop(index == 0);
}

bool TForm4::event(QEvent* e) {
  if (e->type() == QEvent::WindowDeactivate) FormDeactivate();
  return QWidget::event(e);
}

bool TForm4::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent*>(e)->key())) return true;
  return QWidget::eventFilter(watched, e);
}

void TForm4::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  FormShow();
}

void TForm4::closeEvent(QCloseEvent* e) {
  QWidget::closeEvent(e);
  FormClose();
}
