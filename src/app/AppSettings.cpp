#include "app/AppSettings.h"

#include <algorithm>

#include "app/SettingsStore.h"
#include "base/UiLanguages.h"

namespace {

constexpr int kMaxRamIndex = 255;  // CBReg lists 256 registers
constexpr int kMinTrackX = 1;
constexpr int kMaxTrackX = 10;
constexpr int kMinPort = 1;
constexpr int kMaxPort = 4;
constexpr int kMaxHelpMode = 2;   // Top, Hide, Close
constexpr int kMaxFontIndex = 2;  // "10", "12", "14"
constexpr int kMaxWindowState = 2;

bool InRange(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

// A platform colour is an RGB value (top byte 0) or a system colour (top byte 0x80).
bool IsPlatformColour(std::int32_t c) {
  const auto top = static_cast<std::uint32_t>(c) >> 24;
  return top == 0x00 || top == 0x80;
}

}  // namespace

const std::vector<SettingsSanitisingRule> kSettingsSanitisingRules = {
    {"RamIndex", "outside -1..255 (the 256 registers of CBReg) becomes -1, no selection"},
    {"Help", "outside 0..2 (Top, Hide, Close) becomes 0, Top"},
    {"TrackX", "outside 1..10 (the time-scale positions) becomes 1"},
    {"COMM", "outside 1..4 (COM1 to COM4; 0 included) becomes 1"},
    {"ColorRPM, ColorLAM1, ColorSIM, ColorTPS, ColorMOT1, ColorDEF, ColorPSI, ColorRAM",
     "a value whose top byte is neither 0x00 (RGB) nor 0x80 (system colour) becomes the "
     "channel's design colour"},
    {"Font", "outside 0..2 (font sizes 10, 12, 14) becomes 0, size 10"},
    {"WSize", "below 160 or above 20000 becomes 160"},
    {"WTop, WLeft, WWidth, WHeight",
     "WWidth outside 640..20000, WHeight outside 458..20000, or WLeft or WTop outside "
     "-20000..20000: the four stored bounds are ignored and the design bounds stay"},
    {"WState", "outside 0..2 (normal, minimised, maximised) becomes 0, normal"},
};

AppSettings DefaultAppSettings(const std::string& programDir) {
  AppSettings s;
  s.DirOpen = programDir;
  s.DirSave = programDir;
  return s;
}

std::vector<std::string> SanitiseSettings(AppSettings& s) {
  std::vector<std::string> changed;
  auto fixInt = [&](const char* name, int& value, int lo, int hi, int replacement) {
    if (!InRange(value, lo, hi)) {
      value = replacement;
      changed.emplace_back(name);
    }
  };
  fixInt("RamIndex", s.RamIndex, -1, kMaxRamIndex, -1);
  fixInt("Help", s.Help, 0, kMaxHelpMode, 0);
  fixInt("TrackX", s.TrackX, kMinTrackX, kMaxTrackX, kMinTrackX);
  fixInt("COMM", s.COMM, kMinPort, kMaxPort, kMinPort);

  const AppSettings design;
  auto fixColour = [&](const char* name, std::int32_t& value, std::int32_t designColour) {
    if (!IsPlatformColour(value)) {
      value = designColour;
      changed.emplace_back(name);
    }
  };
  fixColour("ColorRPM", s.ColorRPM, design.ColorRPM);
  fixColour("ColorLAM1", s.ColorLAM1, design.ColorLAM1);
  fixColour("ColorSIM", s.ColorSIM, design.ColorSIM);
  fixColour("ColorTPS", s.ColorTPS, design.ColorTPS);
  fixColour("ColorMOT1", s.ColorMOT1, design.ColorMOT1);
  fixColour("ColorDEF", s.ColorDEF, design.ColorDEF);
  fixColour("ColorPSI", s.ColorPSI, design.ColorPSI);
  fixColour("ColorRAM", s.ColorRAM, design.ColorRAM);

  fixInt("Font", s.Font, 0, kMaxFontIndex, 0);
  fixInt("WSize", s.WSize, kMinUpperPanelHeight, kMaxWindowExtent, kMinUpperPanelHeight);

  if (s.boundsRead) {
    const bool usable = InRange(s.WWidth, kMinWindowWidth, kMaxWindowExtent) &&
                        InRange(s.WHeight, kMinWindowHeight, kMaxWindowExtent) &&
                        InRange(s.WLeft, -kMaxWindowPosition, kMaxWindowPosition) &&
                        InRange(s.WTop, -kMaxWindowPosition, kMaxWindowPosition);
    if (!usable) {
      s.boundsRead = false;
      s.WLeft = design.WLeft;
      s.WTop = design.WTop;
      s.WWidth = design.WWidth;
      s.WHeight = design.WHeight;
      changed.emplace_back("WTop");
      changed.emplace_back("WLeft");
      changed.emplace_back("WWidth");
      changed.emplace_back("WHeight");
    }
  }
  fixInt("WState", s.WState, 0, kMaxWindowState, 0);
  return changed;
}

void LoadSettings(const SettingsStore& store, AppSettings& s, std::vector<std::string>* corrected) {
  if (store.KeyExists()) {
    try {
      s.DirOpen = store.ReadString("DirOpen");
      s.DirSave = store.ReadString("DirSave");
      s.FileName = store.ReadString("FileName");
      s.RamIndex = store.ReadInteger("RamIndex");
      s.Help = store.ReadInteger("Help");
      s.TrackX = store.ReadInteger("TrackX");
      s.COMM = store.ReadInteger("COMM");
      s.LineRPM = store.ReadBool("LineRPM");
      s.LineLAM = store.ReadBool("LineLAM");
      s.LineSIM = store.ReadBool("LineSIM");
      s.LineTPS = store.ReadBool("LineTPS");
      s.LineMOT = store.ReadBool("LineMOT");
      s.LinePSI = store.ReadBool("LinePSI");
      s.LineDEF = store.ReadBool("LineDEF");
      s.LineRAM = store.ReadBool("LineRAM");
      s.ColorRPM = store.ReadInteger("ColorRPM");
      s.ColorLAM1 = store.ReadInteger("ColorLAM1");
      s.ColorSIM = store.ReadInteger("ColorSIM");
      s.ColorTPS = store.ReadInteger("ColorTPS");
      s.ColorMOT1 = store.ReadInteger("ColorMOT1");
      s.ColorDEF = store.ReadInteger("ColorDEF");
      s.ColorPSI = store.ReadInteger("ColorPSI");
      s.ColorRAM = store.ReadInteger("ColorRAM");
      s.List = store.ReadBool("List");
      s.Font = store.ReadInteger("Font");
      // A language that is missing or not of the list reads as Russian, and never ends the
      // reading: files of the versions that did not read it back hold any value here.
      s.Lang = store.TypeOf("Lang") == SettingsStore::ValueType::Integer
                   ? LanguageOfSetting(store.ReadInteger("Lang"))
                   : kLanguageAtStart;
      s.AutoSave = store.ReadBool("AutoSave");
      s.AutoComm = store.ReadBool("AutoComm");
      s.VisuWin = store.ReadBool("VisuWin");
      s.WSize = store.ReadInteger("WSize");
      // The bounds are applied together, only once all four have been read.
      const int top = store.ReadInteger("WTop");
      const int left = store.ReadInteger("WLeft");
      const int width = store.ReadInteger("WWidth");
      const int height = store.ReadInteger("WHeight");
      s.WTop = top;
      s.WLeft = left;
      s.WWidth = width;
      s.WHeight = height;
      s.boundsRead = true;
      s.WState = store.ReadInteger("WState");
    } catch (const SettingsError&) {
      // A missing or wrong-typed value ends reading: it and all later values keep their
      // defaults, the values before it stay applied.
    }
  }
  std::vector<std::string> changed = SanitiseSettings(s);
  if (corrected != nullptr) *corrected = std::move(changed);
}

void SaveSettings(SettingsStore& store, const AppSettings& s, const std::string& programDir,
                  bool controllerSeen, bool maximised) {
  store.WriteString("Dir", programDir);
  store.WriteString("DirOpen", s.DirOpen);
  store.WriteString("DirSave", s.DirSave);
  store.WriteString("FileName", s.FileName);
  store.WriteInteger("TrackX", s.TrackX);
  store.WriteInteger("RamIndex", s.RamIndex);
  store.WriteInteger("Help", s.Help);
  store.WriteBool("LineRPM", s.LineRPM);
  store.WriteBool("LineLAM", s.LineLAM);
  store.WriteBool("LineSIM", s.LineSIM);
  store.WriteBool("LineTPS", s.LineTPS);
  store.WriteBool("LineMOT", s.LineMOT);
  store.WriteBool("LinePSI", s.LinePSI);
  store.WriteBool("LineDEF", s.LineDEF);
  store.WriteBool("LineRAM", s.LineRAM);
  store.WriteInteger("ColorRPM", s.ColorRPM);
  store.WriteInteger("ColorLAM1", s.ColorLAM1);
  store.WriteInteger("ColorSIM", s.ColorSIM);
  store.WriteInteger("ColorTPS", s.ColorTPS);
  store.WriteInteger("ColorMOT1", s.ColorMOT1);
  store.WriteInteger("ColorDEF", s.ColorDEF);
  store.WriteInteger("ColorPSI", s.ColorPSI);
  store.WriteInteger("ColorRAM", s.ColorRAM);
  store.WriteBool("List", s.List);
  store.WriteInteger("Font", s.Font);
  store.WriteInteger("Lang", s.Lang);
  store.WriteBool("AutoSave", s.AutoSave);
  store.WriteBool("AutoComm", s.AutoComm);
  // Only a run in which no controller answered marks the automatic scan as off; after a run
  // with a controller an AutoScan stored earlier stays as it is.
  if (!controllerSeen) store.WriteBool("AutoScan", false);
  store.WriteBool("VisuWin", s.VisuWin);
  store.WriteInteger("COMM", s.COMM);
  store.WriteInteger("WSize", s.WSize);
  store.WriteInteger("WState", s.WState);
  // A maximised window keeps the bounds of an earlier run, so that restoring it returns to
  // them at the next start.
  if (!maximised) {
    store.WriteInteger("WTop", s.WTop);
    store.WriteInteger("WLeft", s.WLeft);
    store.WriteInteger("WWidth", s.WWidth);
    store.WriteInteger("WHeight", s.WHeight);
  }
}

int UpperPanelLimit(int clientHeight) {
  return std::max(kMinUpperPanelHeight, clientHeight - kMinLowerPanelHeight);
}

namespace {

long long Overlap(int aStart, int aLength, int bStart, int bLength) {
  const long long start = std::max<long long>(aStart, bStart);
  const long long end =
      std::min<long long>(static_cast<long long>(aStart) + aLength, static_cast<long long>(bStart) + bLength);
  return std::max<long long>(0, end - start);
}

// Start of a span of `length` moved into [areaStart, areaStart + areaLength); a span longer
// than the area starts with it.
int FitSpan(int start, int length, int areaStart, int areaLength) {
  if (length >= areaLength) return areaStart;
  return std::clamp(start, areaStart, areaStart + areaLength - length);
}

}  // namespace

std::vector<std::string> FitSettingsToScreens(AppSettings& s, const std::vector<ScreenArea>& screens,
                                              int frameExtraHeight) {
  std::vector<std::string> changed;
  auto set = [&](const char* name, int& value, int fitted) {
    if (value != fitted) {
      value = fitted;
      changed.emplace_back(name);
    }
  };

  // The screen the window overlaps most; with no overlap at all the first, the primary one.
  const ScreenArea* home = nullptr;
  long long bestOverlap = -1;
  for (const ScreenArea& screen : screens) {
    if (screen.width <= 0 || screen.height <= 0) continue;
    const long long overlap = Overlap(s.WLeft, s.WWidth, screen.left, screen.width) *
                              Overlap(s.WTop, s.WHeight, screen.top, screen.height);
    if (overlap > bestOverlap) {
      bestOverlap = overlap;
      home = &screen;
    }
  }

  if (home != nullptr && s.boundsRead) {
    set("WWidth", s.WWidth, std::max(kMinWindowWidth, std::min(s.WWidth, home->width)));
    set("WHeight", s.WHeight, std::max(kMinWindowHeight, std::min(s.WHeight, home->height)));
    set("WLeft", s.WLeft, FitSpan(s.WLeft, s.WWidth, home->left, home->width));
    set("WTop", s.WTop, FitSpan(s.WTop, s.WHeight, home->top, home->height));
  }

  int windowHeight = s.WHeight;
  if (s.WState == 2 && home != nullptr) windowHeight = std::max(windowHeight, home->height);
  set("WSize", s.WSize, std::min(s.WSize, UpperPanelLimit(windowHeight - frameExtraHeight)));
  return changed;
}
