#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SettingsStore;

// Channel colours in the platform's encoding: red in the low byte, then green, then blue.
inline constexpr std::int32_t kColorRed = 255;
inline constexpr std::int32_t kColorLime = 65280;
inline constexpr std::int32_t kColorGreen = 32768;  // dark green
inline constexpr std::int32_t kColorYellow = 65535;
inline constexpr std::int32_t kColorAqua = 16776960;
inline constexpr std::int32_t kColorFuchsia = 16711935;
inline constexpr std::int32_t kColorBlue = 16711680;
inline constexpr std::int32_t kColorMaroon = 128;

// The main window's design placement, in outer (frame) pixels: a 624 x 445 client area with
// its borders and caption, which is also above the smallest window the program allows.
inline constexpr int kDesignWindowLeft = 100;
inline constexpr int kDesignWindowTop = 100;
inline constexpr int kDesignWindowWidth = 640;
inline constexpr int kDesignWindowHeight = 480;
inline constexpr int kMinWindowWidth = 640;
inline constexpr int kMinWindowHeight = 458;
// Stored bounds beyond these are damage, not a screen.
inline constexpr int kMaxWindowExtent = 20000;
inline constexpr int kMaxWindowPosition = 20000;

inline constexpr int kMinUpperPanelHeight = 160;  // WSize
// What the upper panel always leaves below it in the client area, so that the splitter and
// the editor rows stay in reach.
inline constexpr int kMinLowerPanelHeight = 120;
inline constexpr int kLanguageAtStart = 5;  // "russian", when no language is stored

// The user's choices and the main window's placement, kept between runs. Field names are the
// names of the stored values. The initialisers are the start-up defaults, except the two
// folders, which are the program's own folder (see DefaultAppSettings).
struct AppSettings {
  std::string DirOpen;   // open dialog's folder
  std::string DirSave;   // save dialog's folder
  std::string FileName;  // EDFile: name prefix for proposed recording names
  int RamIndex = -1;     // CBReg selection, -1 = no selection
  int Help = 0;          // help window mode: 0 Top, 1 Hide, 2 Close
  int TrackX = 1;        // UpDownX position, 1..10
  int COMM = 1;          // serial port number, 1..4

  // Which oscilloscope channels are drawn.
  bool LineRPM = false;
  bool LineLAM = false;
  bool LineSIM = false;
  bool LineTPS = false;
  bool LineMOT = false;
  bool LinePSI = false;
  bool LineDEF = false;
  bool LineRAM = false;

  std::int32_t ColorRPM = kColorRed;
  std::int32_t ColorLAM1 = kColorLime;
  std::int32_t ColorSIM = kColorGreen;
  std::int32_t ColorTPS = kColorYellow;
  std::int32_t ColorMOT1 = kColorAqua;
  std::int32_t ColorDEF = kColorFuchsia;
  std::int32_t ColorPSI = kColorBlue;
  std::int32_t ColorRAM = kColorMaroon;

  bool List = true;                  // CBList index (0 or 1)
  int Font = 0;                      // CBFont index: 0 "10", 1 "12", 2 "14"
  int Lang = kLanguageAtStart;       // an index of the language list (CBLang's item's)
  bool AutoSave = false;             // CBFAut index
  bool AutoComm = false;             // CBCAut index
  bool VisuWin = true;               // BtnWindow's tag after start-up
  int WSize = kMinUpperPanelHeight;  // height of the upper panel

  // Main window bounds (outer frame) and state: 0 normal, 1 minimised, 2 maximised.
  int WLeft = kDesignWindowLeft;
  int WTop = kDesignWindowTop;
  int WWidth = kDesignWindowWidth;
  int WHeight = kDesignWindowHeight;
  int WState = 0;

  // Set by LoadSettings when all four bounds were read (and are usable): the window applies
  // WLeft, WTop, WWidth, WHeight together, then WState.
  bool boundsRead = false;

  bool operator==(const AppSettings&) const = default;
};

// The start-up defaults, with both dialog folders set to the program's own folder.
AppSettings DefaultAppSettings(const std::string& programDir);

// One correction LoadSettings makes to a stored value that would break a control.
struct SettingsSanitisingRule {
  std::string_view value;  // the stored value's name
  std::string_view rule;   // what is corrected, and to what
};

// Every correction, for the documentation and for tests. Values not named here are applied
// as stored.
extern const std::vector<SettingsSanitisingRule> kSettingsSanitisingRules;

// Applies kSettingsSanitisingRules to settings and returns the names of the values it
// changed (empty when everything was usable). WWidth/WHeight/WLeft/WTop out of range clear
// boundsRead and put the four design bounds back.
std::vector<std::string> SanitiseSettings(AppSettings& settings);

// Reads the stored settings over the start-up defaults already in settings. A missing key
// reads nothing. Values are read in the store's read order and applied at once; the first
// missing or wrong-typed integer or boolean ends reading silently, so it and every later
// value keep their defaults (a missing text value reads as empty text). DirOpen/DirSave
// are read, Dir and AutoScan never; Lang is read where it stands without ending the reading,
// Russian when missing or not of the language list. Afterwards SanitiseSettings runs; the names it
// corrected go to *corrected when given.
void LoadSettings(const SettingsStore& store, AppSettings& settings,
                  std::vector<std::string>* corrected = nullptr);

// Writes every value in the exit order: Dir (programDir), DirOpen, DirSave, FileName, TrackX,
// RamIndex, Help, LineRPM..LineRAM, ColorRPM..ColorRAM, List, Font, Lang, AutoSave, AutoComm,
// AutoScan (0, only when controllerSeen is false), VisuWin, COMM, WSize, WState, then WTop,
// WLeft, WWidth, WHeight only when not maximised. Values not written keep what the store
// holds. Only the store in memory changes; call store.Save() to write the file.
void SaveSettings(SettingsStore& store, const AppSettings& settings, const std::string& programDir,
                  bool controllerSeen, bool maximised);

// A screen's available area (without task bars), in the desktop's pixels.
struct ScreenArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The tallest WSize a client area of this height shows with the splitter and the editor rows
// still in reach; never below kMinUpperPanelHeight.
int UpperPanelLimit(int clientHeight);

// Fits the settings to the screens there are now. Stored bounds (when boundsRead) are moved
// to the screen they overlap most (the first screen when they overlap none), shrunk to that
// screen (never below the smallest window) and moved fully onto it when they fit; WSize is
// limited by UpperPanelLimit for the window's client height (the screen's when maximised).
// frameExtraHeight is what the outer bounds hold beyond the client area. With no screens
// only WSize is limited. Returns the names of the values it changed.
std::vector<std::string> FitSettingsToScreens(AppSettings& settings, const std::vector<ScreenArea>& screens,
                                              int frameExtraHeight);
