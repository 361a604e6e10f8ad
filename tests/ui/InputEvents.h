#pragma once

// Keys and clicks as the toolkit hands them to the windows.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <vector>

// One key pressed and released on `target`, typing `text` if any.
inline void PressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &release);
}

// A key as the window system hands it over: to the window, not to one of its controls.
inline void PressKeyAtWindow(QWidget& window, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(window.windowHandle(), &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(window.windowHandle(), &release);
}

// Each key pressed and released in turn: to the control with the focus, else to `window`.
inline void PressKeys(QWidget& window, const std::vector<int>& qtKeys) {
  for (int key : qtKeys) PressKey(QApplication::focusWidget() ? QApplication::focusWidget() : &window, key);
}

// A left click in the middle of the widget.
inline void ClickWidget(QWidget* widget) {
  const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
  const QPointF global = widget->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}
