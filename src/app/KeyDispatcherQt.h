#pragma once

#include <functional>

#include "app/KeyTable.h"

class ConnectionSupervisor;
class ControllerLink;
class HelpDesk;
class LiveMonitor;
class MainWindowLayOut;
class PageGrid;
class PageTabs;
class ParametersPageQt;
class QEvent;
class QObject;
class QWidget;
class SetupPageQt;
class WindowControls;

// Who carries out what the keys ask for: the controls and components themselves, and the
// window for what is its own.
struct KeyTargets {
  QWidget& window;
  PageTabs& tabs;
  WindowControls& controls;
  ConnectionSupervisor& supervisor;
  ControllerLink& link;
  HelpDesk& help;
  PageGrid& grid;
  SetupPageQt& setup;
  ParametersPageQt& parameters;
  LiveMonitor& live;
  MainWindowLayOut& layOut;
  std::function<ConnectionMode()> connectionMode;
  std::function<void(Page)> changePage;  // as the page's button does
  std::function<void()> btn1Click;       // Btn1, which starts programming on the firmware page
  std::function<void()> serviceReport;   // BtnReport
  std::function<void()> toggleServiceMode;
};

// The main window's keyboard: every key of the window goes through the key table first, and
// what it decides is carried out here; a key it leaves goes on to the focused control.
class KeyDispatcher {
 public:
  explicit KeyDispatcher(KeyTargets targets) : t_(std::move(targets)) {}

  // Returns true when the key was handled.
  bool KeyDown(int virtualKey);
  // The application's event filter for keys: true when the key is taken (handled, or passed
  // on to the control already).
  bool Filter(QObject* watched, QEvent* event);

 private:
  KeyContext Context() const;
  void Carry(KeyAction action);

  KeyTargets t_;
  KeyHistory history_;
  QEvent* passedOn_ = nullptr;  // a key the key table left, on its way to the focused control
};
