#pragma once

#include <QWidget>
#include <functional>

class QButtonGroup;
class QGroupBox;
class QTextEdit;

// The help window: the mode selector above the help document. It reports its events to
// its owner, which keeps the help state.
class TForm4 : public QWidget {
 public:
  explicit TForm4(QWidget* parent = nullptr);

  int RadioIndex() const;
  void SetRadioIndex(int index);
  // Stays on top for mode 0 (Top), a normal window otherwise.
  void SetStayOnTop(bool onTop);

  // Window events, named as the window design names them.
  void FormShow();
  void FormClose();
  void FormDeactivate();
  // Returns true when the key was handled.
  bool FormKeyDown(int qtKey);
  void RadioGroup1Click(int index);

  struct Events {
    std::function<void()> shown;
    std::function<void()> closed;
    std::function<void()> functionKey;  // F1 to F9: the main window's keys do not work here
    std::function<void(int)> modePicked;
  };
  Events events;

  QGroupBox* RadioGroup1 = nullptr;
  QButtonGroup* radioButtons = nullptr;
  QTextEdit* RichEdit1 = nullptr;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  bool restyling_ = false;  // a change of window style hides and shows the window
};
