#include "app/WindowSettingsQt.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <tuple>
#include <vector>

#include "app/MainWindowLayOutQt.h"
#include "app/ProgramLanguageQt.h"
#include "app/SettingsStore.h"
#include "base/UiText.h"
#include "base/UserDialogs.h"
#include "help/HelpDeskQt.h"
#include "link/SerialPort.h"
#include "monitor/LiveMonitorQt.h"
#include "setup/SetupPageQt.h"

namespace {
constexpr int kSettingsUnreadable = 1320;
constexpr int kSettingsNotWritten = 1321;
}  // namespace

std::string WindowSettings::Restore(AppSettings& settings) const {
  // No folder is remembered until the user picks one: the dialogs then open in the working
  // folder or the home folder (DialogStartFolder), never in the program's own.
  settings = DefaultAppSettings("");

  SettingsStore store(path_);
  std::string unreadable;
  if (!store.Load(&unreadable) && !store.Unreadable()) unreadable.clear();
  LoadSettings(store, settings);
  settings.Lang = SelectLanguage(settings.Lang);
  Apply(settings);
  return unreadable.empty() ? std::string() : UiText(kSettingsUnreadable) + unreadable;
}

void WindowSettings::Apply(AppSettings& s) const {
  p_.setup.Apply({s.FileName, s.AutoComm, s.AutoSave, s.List, s.Font, s.Lang});
  p_.help.SetHelpWindowMode(s.Help);
  p_.live.ApplySettings(
      {s.RamIndex,
       s.TrackX,
       {s.LineRPM, s.LineLAM, s.LineSIM, s.LineTPS, s.LineMOT, s.LineDEF, s.LinePSI, s.LineRAM}});
  try {
    p_.port.SetPortNum(s.COMM);
  } catch (const std::exception&) {
  }
  p_.colours = {s.ColorRPM,  s.ColorLAM1, s.ColorSIM, s.ColorTPS,
                s.ColorMOT1, s.ColorDEF,  s.ColorPSI, s.ColorRAM};
  p_.live.ApplyColours();
  p_.layOut.SetArrangement(s.VisuWin ? 0 : 1);  // BtnWindowClick at start inverts it
  std::vector<ScreenArea> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    screens.push_back({area.left(), area.top(), area.width(), area.height()});
  }
  FitSettingsToScreens(s, screens, kFrameExtraHeight);
  if (s.boundsRead) {
    p_.window.move(s.WLeft, s.WTop);
    p_.window.resize(s.WWidth - kFrameExtraWidth, s.WHeight - kFrameExtraHeight);
  }
}

AppSettings WindowSettings::Collect(const AppSettings& stored) const {
  AppSettings s = stored;
  const SetupValues setup = p_.setup.Values();
  std::tie(s.FileName, s.AutoComm, s.AutoSave, s.List, s.Font, s.Lang) =
      std::tuple{setup.fileName, setup.autoComm, setup.autoSave, setup.list, setup.font, setup.language};
  s.Help = p_.help.HelpWindowMode();
  const LiveSettings live = p_.live.Settings();
  s.RamIndex = live.ramIndex;
  s.TrackX = live.trackX;
  s.COMM = p_.port.PortNum();
  std::tie(s.LineRPM, s.LineLAM, s.LineSIM, s.LineTPS, s.LineMOT, s.LineDEF, s.LinePSI, s.LineRAM) =
      std::tuple{live.lines[0], live.lines[1], live.lines[2], live.lines[3],
                 live.lines[4], live.lines[5], live.lines[6], live.lines[7]};
  std::int32_t* colours[8] = {&s.ColorRPM,  &s.ColorLAM1, &s.ColorSIM, &s.ColorTPS,
                              &s.ColorMOT1, &s.ColorDEF,  &s.ColorPSI, &s.ColorRAM};
  for (int i = 0; i < 8; ++i) *colours[i] = p_.colours[i];
  s.VisuWin = p_.layOut.Arrangement() != 0;
  const QMainWindow& w = p_.window;
  s.WState = w.isMaximized() ? 2 : w.isMinimized() ? 1 : 0;
  s.WLeft = w.pos().x();
  s.WTop = w.pos().y();
  s.WWidth = w.width() + kFrameExtraWidth;
  s.WHeight = w.height() + kFrameExtraHeight;
  s.WSize = std::min(s.WSize, UpperPanelLimit(w.centralWidget()->height()));
  return s;
}

void WindowSettings::Store(const AppSettings& stored, const std::string& programDir,
                           bool controllerSeen) const {
  SettingsStore store = SettingsStore::Open(path_);
  if (store.Unreadable()) return;  // the user's file stays; the start said why
  SaveSettings(store, Collect(stored), programDir, controllerSeen, p_.window.isMaximized());
  std::string why;
  if (!store.Save(&why)) p_.dialogs.ShowMessage(UiText(kSettingsNotWritten) + why, MessageButtons::Ok);
}
