#include "app/WindowControlsQt.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "app/SplitterBarQt.h"
#include "base/TextQt.h"
#include "link/Supervision.h"

namespace {

constexpr int kPanelInfoWidth = 103;
constexpr int kStartPictureHeight = 60;

}  // namespace

void WindowControls::CreateTop(QWidget* client, const std::function<void(QWidget*)>& fillStrip) {
  TabCon = new QWidget(client);
  TabCon->setObjectName("TabCon");
  fillStrip(TabCon);
  PanelInfo = new QLabel(TabCon);
  PanelInfo->setObjectName("PanelInfo");
  PanelInfo->setAlignment(Qt::AlignCenter);
  PanelInfo->setFrameShape(QFrame::Panel);
  PanelInfo->setAutoFillBackground(true);
  CGRead = new QProgressBar(PanelInfo);
  CGRead->setObjectName("CGRead");
  CGRead->setTextVisible(false);
  CGRead->setStyleSheet("QProgressBar{background:red;border:0}QProgressBar::chunk{background:lime}");
  CGRead->hide();
  Panel3 = new QWidget(client);
  Panel3->setObjectName("Panel3");
}

void WindowControls::CreateLog(QWidget* client) {
  Memo1 = new QTextEdit(client);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  // Long lines (a port's access advice, a backup's file name) wrap rather than run out of view.
  Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
  Splitter = new SplitterBar(client);
  Splitter->setObjectName("Splitter");
  PanelLog = new QWidget(client);
  PanelLog->setObjectName("PanelLog");
  PanelLog->setStyleSheet("QWidget#PanelLog{background:white}");
  Image1 = new QLabel(PanelLog);
  Image1->setObjectName("Image1");
  Image1->setText("<b style='font-size:20px;color:#1a5a9a'>MERVOLANTE</b>");
  Image1->setAlignment(Qt::AlignCenter);
  Memo2 = new QTextEdit(PanelLog);
  Memo2->setObjectName("Memo2");
  Memo2->setReadOnly(true);
}

void WindowControls::CreatePanels(QWidget* client) {
  PanelHint = new QLabel(client);
  PanelHint->setObjectName("PanelHint");
  PanelHint->setStyleSheet("background:rgb(255,255,225)");
  PanelHint->hide();
}

void WindowControls::PlaceTop(int W, int panel3Height) {
  TabCon->setGeometry(0, 0, W, kTabConHeight);
  PanelInfo->setGeometry(W - kPanelInfoWidth - 4, 5, kPanelInfoWidth, 30);
  CGRead->setGeometry(2, 2, 99, 26);
  Panel3->setGeometry(0, kTabConHeight, W, panel3Height);
  Splitter->setGeometry(0, kTabConHeight + panel3Height, W, kSplitterHeight);
}

void WindowControls::PlaceLog(const MainLayout& L) {
  for (auto [w, p] : {std::pair<QWidget*, const PlacedControl&>{Memo1, L.memo1}, {PanelLog, L.panelLog}}) {
    w->setVisible(p.visible);
    if (p.visible) w->setGeometry(p.rect.left, p.rect.top, p.rect.width, p.rect.height);
  }
  if (L.panelLog.visible) {
    Image1->setGeometry(0, 0, L.panelLog.rect.width, kStartPictureHeight);
    Memo2->setGeometry(0, kStartPictureHeight, L.panelLog.rect.width,
                       std::max(0, L.panelLog.rect.height - kStartPictureHeight));
  }
}

void WindowControls::ShowReadProgress(int maximum) {
  CGRead->setRange(0, maximum);
  CGRead->setValue(0);
  CGRead->show();
}

void WindowControls::SetReadProgress(int position) {
  CGRead->setValue(std::min(position, CGRead->maximum()));
}

void WindowControls::HideReadProgress() {
  CGRead->hide();
  CGRead->setValue(0);
}

void WindowControls::AddLogLine(const std::string& line) {
  const QString shown = QtText(DisplayText(line));
  QStringList newest;
  QTextBlock block = Memo1->document()->lastBlock();
  for (qsizetype n = shown.count('\n') + 1; n > 0 && block.isValid(); --n, block = block.previous())
    newest.prepend(block.text());
  if (newest.join('\n') == shown) return;
  Memo1->append(shown);
}

std::string WindowControls::LogText() const { return Memo1->toPlainText().toStdString(); }

void WindowControls::ShowModePanel(const ModePanelLook& look) {
  const QString background = look.buttonFace ? QApplication::palette().color(QPalette::Button).name()
                                             : QColor::fromRgb(static_cast<QRgb>(look.colour)).name();
  const QString text = QColor::fromRgb(static_cast<QRgb>(look.textColour)).name();
  PanelInfo->setStyleSheet(QString("QLabel#PanelInfo{background:%1;color:%2}").arg(background, text));
  PanelInfo->setText(QtText(look.text));
}

void WindowControls::ShowKeyLabel() {
  PanelInfo->setText("F8");
  PanelInfo->setPalette(QApplication::palette());
  PanelInfo->setStyleSheet(QString());
}
