#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/AppSettings.h"
#include "model/WindowLayout.h"

class HelpDesk;
class LiveMonitor;
class MainWindowLayOut;
class QMainWindow;
class SerialPort;
class SetupPageQt;
class UserDialogs;

inline constexpr int kDesignClientHeight = 445;
// Stored window bounds are outer bounds, as the settings have always held them: the client
// area plus a fixed frame allowance, so that a bound read back gives the same client size on
// any window manager.
inline constexpr int kFrameExtraWidth = kDesignWindowWidth - kDesignClientWidth;
inline constexpr int kFrameExtraHeight = kDesignWindowHeight - kDesignClientHeight;

// Where the settings of the window go and come from.
struct WindowSettingsParts {
  QMainWindow& window;  // its bounds and state
  SetupPageQt& setup;
  HelpDesk& help;
  LiveMonitor& live;
  SerialPort& port;                      // COMM
  std::array<std::int32_t, 8>& colours;  // the channels' colours
  MainWindowLayOut& layOut;              // the arrangement (VisuWin)
  UserDialogs& dialogs;                  // a file that could not be written says why
};

// The settings file's values given to the window and its pages at start, and the window's
// values collected into the file at the end.
class WindowSettings {
 public:
  WindowSettings(WindowSettingsParts parts, std::string path) : p_(parts), path_(std::move(path)) {}

  // The defaults, then what the file holds, shown by the window; returns why the file could
  // not be read (empty when it could, or when there is none).
  std::string Restore(AppSettings& settings) const;
  // The values shown by the window and its pages, over `stored` for what they do not show.
  AppSettings Collect(const AppSettings& stored) const;
  // A file that could not be read at start stays as it is; one that cannot be written says why.
  void Store(const AppSettings& stored, const std::string& programDir, bool controllerSeen) const;

 private:
  void Apply(AppSettings& settings) const;

  WindowSettingsParts p_;
  std::string path_;
};
