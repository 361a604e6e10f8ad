#include "monitor/ReadingRows.h"

#include <algorithm>

#include "base/UiText.h"

using namespace row_kind;

namespace {
constexpr int kOptionSimulation = 0x01;
constexpr int kOptionGasLevel = 0x04;
constexpr int kOptionTemperature = 0x08;
constexpr int kOptionVacuum = 0x20;
constexpr int kOptionInjection = 0x40;
constexpr int kAbsentType = 4;

bool Bit(std::uint8_t b, int n) { return (b >> n) & 1; }

int ClampColourComponent(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

std::size_t CodePoints(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}
}  // namespace

ReadingsConfig ReadingsConfig::From(const ParameterBlock& block, Page page, bool service) {
  ReadingsConfig c;
  c.page = page;
  c.service = service;
  c.options = block[kOptionByte];
  c.tpsType = block[33];
  c.lambdaType = block[34];
  c.vacuumType = block[81];
  return c;
}

int ReadingRowsNeeded(const ReadingsConfig& c) {
  if (c.page == Page::Port) return 9;
  if (c.page == Page::Configuration) return 5;
  const bool s = c.service;
  int rows = (c.lambdaType == kAbsentType && !s) ? 3 : 4;
  rows += (c.options & kOptionSimulation) || s;
  rows += c.tpsType != kAbsentType || s;
  rows += ((c.options & kOptionVacuum) && c.vacuumType != 0) || s;
  rows += (c.options & kOptionInjection) || s;
  rows += (c.options & kOptionGasLevel) || s;
  rows += (c.options & kOptionTemperature) || s;
  rows += s;
  return rows;
}

ReadingRowKinds BuildReadingRowKinds(const ReadingsConfig& c) {
  ReadingRowKinds kinds{};
  int row = 0;
  kinds[static_cast<std::size_t>(row++)] = kStatus;
  auto add = [&](bool condition, int kind) {
    if (condition && row < kReadingKindRows) kinds[static_cast<std::size_t>(row++)] = kind;
  };
  const Page p = c.page;
  const bool s = c.service;
  add(p == Page::Configuration, kRpm);
  add(c.lambdaType != kAbsentType || p == Page::Configuration || p == Page::Port || s, kLambda);
  add((p == Page::Parameters && ((c.options & kOptionSimulation) || s)) || p == Page::Port, kSimulation);
  add(p == Page::Parameters, kRpm);
  add(c.tpsType != kAbsentType || p == Page::Configuration || p == Page::Port || s, kTps);
  add(p == Page::Parameters && (((c.options & kOptionVacuum) && c.vacuumType != 0) || s), kVacuum);
  add(p == Page::Parameters && ((c.options & kOptionInjection) || s), kInjection);
  add(p != Page::Port, kMotor);
  if (p != Page::Configuration) {
    add((c.options & kOptionGasLevel) || p == Page::Port || s, kGasLevel);
    add((c.options & kOptionTemperature) || p == Page::Port || s, kTemperature);
    add(p == Page::Port, kVacuum);
    add(p == Page::Port, kIgnition);
    add(p == Page::Port, kBattery);
    add(s && p != Page::Port, kRam);
  }
  return kinds;
}

int ChannelOfKind(int kind) {
  switch (kind) {
    case kRpm: return kChRpm;
    case kLambda: return kChLam;
    case kVacuum: return kChPsi;
    case kSimulation: return kChSim;
    case kTps: return kChTps;
    case kMotor: return kChMot;
    case kInjection: return kChDef;
    case kRam: return kChRam;
    default: return -1;
  }
}

int GaugeOfKind(int kind) {
  switch (kind) {
    case kRpm: return kGaugeRpm;
    case kLambda: return kGaugeLam;
    case kVacuum: return kGaugePsi;
    case kTps: return kGaugeTps;
    case kMotor: return kGaugeMot;
    case kInjection: return kGaugeDef;
    default: return -1;
  }
}

int LabelIdOfKind(int kind) {
  switch (kind) {
    case kRpm: return 210;
    case kLambda: return 211;
    case kVacuum: return 225;
    case kSimulation: return 212;
    case kTps: return 216;
    case kMotor: return 219;
    case kInjection: return 229;
    case kGasLevel: return 223;
    case kTemperature: return 224;
    case kRam: return 228;
    case kIgnition: return 226;
    case kBattery: return 227;
    default: return 0;
  }
}

std::string UnitOfKind(int kind) {
  switch (kind) {
    case kRpm: return UiText(150);
    case kMotor: return UiText(151);
    case kLambda:
    case kVacuum:
    case kSimulation:
    case kTps:
    case kGasLevel: return " [V]";
    case kInjection: return " [ms]";
    case kTemperature: return " ['C]";
    default: return {};
  }
}

std::optional<std::pair<int, int>> LambdaGaugeRange(std::uint8_t lambdaType) {
  switch (lambdaType) {
    case 0: return std::pair{0, 50};
    case 1:
    case 2: return std::pair{0, 255};
    case 3: return std::pair{0, 120};
    default: return std::nullopt;
  }
}

StatusTexts StatusRowTexts(const LiveReadings& r) {
  StatusTexts t;
  const std::uint8_t flags = r[2];
  if (Bit(flags, 5)) t.regulation = UiText(160);
  if (Bit(flags, 4)) t.regulation = UiText(161);
  if (Bit(flags, 3)) t.regulation = UiText(162);
  if (Bit(flags, 2)) t.regulation = UiText(Bit(r[7], 2) ? 164 : 163);
  if (Bit(flags, 7)) t.mixture = UiText(170);
  if (Bit(flags, 6)) t.mixture = UiText(171);
  if (Bit(flags, 1)) t.probeError = UiText(172);
  if (Bit(flags, 0)) t.probeError = UiText(173);
  if (Bit(r[1], 4)) t.fuel = UiText(142);
  if (Bit(r[1], 3)) t.fuel = UiText(143);
  if (Bit(r[1], 2)) t.fuel = UiText(144);
  return t;
}

std::string RamText(std::uint8_t value) {
  std::string bits = "0000:0000";
  for (int bit = 7; bit >= 0; --bit) {
    const int pos = bit >= 4 ? 7 - bit : 8 - bit;
    if (Bit(value, bit)) bits[static_cast<std::size_t>(pos)] = '1';
  }
  std::string number = std::to_string(value);
  if (number.size() < 2) number.insert(0, 2 - number.size(), ' ');
  return bits + "  " + number;
}

std::string ReadingNumberText(int kind, const LiveReadings& r) {
  switch (kind) {
    case kRpm: return FormatParameterValue(r[3], kFormatSpeed, 100);
    case kLambda: return FormatParameterValue(r[4], kFormatVolts, 0.02);
    case kVacuum: return FormatParameterValue(r[5], kFormatVolts, 0.02);
    case kSimulation: return FormatParameterValue(r[6], kFormatVolts, 0.02);
    case kTps: return FormatParameterValue(r[8], kFormatVolts, 0.02);
    case kMotor: return FormatParameterValue(r[10], kFormatWhole, 1);
    case kInjection: return FormatParameterValue(r[11], kFormatVolts, 0.1);
    case kGasLevel: return FormatParameterValue(r[13], kFormatVolts, 0.02);
    case kTemperature:
      return r[14] >= 254 ? std::string() : FormatParameterValue(r[14], kFormatTemperature, 1);
    case kRam: return std::to_string(r[15]);
    default: return {};
  }
}

std::string ReadingCellText(int kind, const LiveReadings& r) {
  if (kind == kRam) return RamText(r[15]);
  if (kind == kTemperature && r[14] >= 254) return UiText(410);
  const std::string number = ReadingNumberText(kind, r);
  return number.empty() ? number : number + UnitOfKind(kind);
}

std::string WidestReadingText(int kind) {
  constexpr int kFullGaugeSpeedByte = 99;  // 9900 rpm
  const std::size_t byteOfKind = kind == kRam ? 15 : static_cast<std::size_t>(kind == kInjection ? 11 : kind);
  if (kind == kNone || kind == kStatus || byteOfKind >= LiveReadings{}.size()) return {};
  std::string widest;
  const int last = kind == kRpm ? kFullGaugeSpeedByte : 255;
  for (int value = last; value >= 0; --value) {  // of equal lengths the largest value
    LiveReadings r{};
    r[byteOfKind] = static_cast<std::uint8_t>(value);
    std::string text = ReadingCellText(kind, r);
    if (CodePoints(text) > CodePoints(widest)) widest = std::move(text);
  }
  return widest;
}

std::array<int, 4> FitReadingColumns(const std::array<int, 4>& widths, const std::array<int, 4>& need,
                                     int room) {
  bool fits = true;
  for (std::size_t c = 0; c < 4; ++c) fits = fits && widths[c] >= need[c];
  if (fits) return widths;
  std::array<int, 4> w = widths;
  const int total = std::max(w[0] + w[1] + w[2] + w[3], room);
  for (std::size_t c : {0u, 1u, 3u}) w[c] = std::max(w[c], need[c]);
  int excess = w[0] + w[1] + w[3] + std::max(w[2], need[2]) - total;
  w[2] = std::max(w[2], need[2]);
  for (std::size_t c : {3u, 2u}) {
    const int take = std::clamp(excess, 0, w[c] - need[c]);
    w[c] -= take;
    excess -= take;
  }
  if (excess < 0) w[2] -= excess;  // what is left over widens the bars
  if (excess > 0) {
    // Still too narrow: the label and value columns give in proportion, so that the bars and
    // check boxes stay in view and the cells' hints show the cut texts.
    const int take0 = excess * w[0] / std::max(1, w[0] + w[1]);
    w[0] -= take0;
    w[1] -= excess - take0;
  }
  return w;
}

std::optional<int> ReadingGaugeValue(int kind, const LiveReadings& r, const ReadingsConfig& c) {
  switch (kind) {
    case kRpm: return r[3];
    case kLambda: return c.lambdaType == 2 ? 255 - r[4] : r[4];
    case kVacuum: return r[5];
    case kTps: return (c.tpsType & 1) ? (r[8] ^ 0xFF) : r[8];
    case kMotor: return r[10];
    case kInjection: return r[11];
    default: return std::nullopt;
  }
}

std::int32_t RotatedColour(std::int32_t colour) {
  const std::int32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  return (colour & static_cast<std::int32_t>(0xFF000000u)) | green | (blue << 8) | (red << 16);
}

std::int32_t DimmedColour(std::int32_t colour) {
  return (colour & static_cast<std::int32_t>(0xFF000000u)) | ((colour >> 1) & 0x7F7F7F);
}

std::int32_t MakeDistinctColour(std::int32_t colour, const std::array<std::int32_t, kChannelCount>& colours) {
  for (int pass = 0; pass < 2; ++pass) {
    auto check = [&colour](std::int32_t other) {
      if (colour != other) return;
      const int red = colour & 0xFF;
      const int moved = ClampColourComponent((red & 0x80) ? red - 1 : red + 1);
      colour = (colour & ~0xFF) | moved;
    };
    check(kColourBlack);
    check(kColourWhite);
    for (std::int32_t other : colours) check(other);
  }
  return colour;
}

std::vector<GraphPoint> RecordTracePoints(const LiveReadings& r, const ReadingRowKinds& kinds,
                                          const ReadingsConfig& c, const TraceSettings& t) {
  std::vector<GraphPoint> points;
  points.push_back({kColourBlack, kScaleMarkValue});
  for (int kind : kinds) {
    const int channel = ChannelOfKind(kind);
    if (channel < 0 || !t.ticked[static_cast<std::size_t>(channel)]) continue;
    const std::int32_t colour = t.colours[static_cast<std::size_t>(channel)];
    switch (kind) {
      case kRpm: points.push_back({colour, r[3] * 4 + kTraceOffset}); break;
      case kLambda:
        if (c.lambdaType != kAbsentType) points.push_back({colour, r[4] + kTraceOffset});
        break;
      case kVacuum: points.push_back({colour, r[5] + kTraceOffset}); break;
      case kSimulation: points.push_back({colour, r[6] + kTraceOffset}); break;
      case kTps:
        if (c.tpsType != kAbsentType)
          points.push_back({colour, ((c.tpsType & 1) ? 255 - r[8] : r[8]) + kTraceOffset});
        break;
      case kInjection: points.push_back({colour, r[11] + kTraceOffset}); break;
      case kRam:
        if (c.service) points.push_back({colour, r[15] + kTraceOffset});
        break;
      case kMotor: {
        const int value = r[10] + kTraceOffset;
        const bool regulating = (r[2] & 0x3C) != 0;
        points.push_back({regulating ? colour : kColourWhite, value});
        points.push_back({regulating ? kColourWhite : colour, value});
        break;
      }
      default: break;
    }
  }
  return points;
}

bool ReadingRowVisible(int row, const ReadingsGeometry& g) {
  return row >= g.topRow && row - g.topRow + 1 < g.rowsVisible;
}

RowOverlays PlaceRowOverlays(int row, const ReadingsGeometry& g) {
  RowOverlays o;
  o.visible = ReadingRowVisible(row, g);
  const int y = (row - g.topRow + 1) * (g.rowHeight + 1) + g.gridTop;
  const int w0 = g.columnWidths[0], w1 = g.columnWidths[1], w2 = g.columnWidths[2];
  o.gauge = {g.gridLeft + w0 + w1 + 4, y + 2, w2, g.rowHeight};
  o.checkLeft = g.gridLeft + w0 + w1 + w2 + 15;
  o.checkTop = y + 3;
  o.swatchLeft = o.checkLeft + 20;
  o.swatchTop = y + 5;
  return o;
}

OverlayRect PanelErrRect(const ReadingsGeometry& g) {
  return {g.gridLeft + g.columnWidths[0] + g.columnWidths[1] + 5, g.gridTop + 3, g.columnWidths[2] - 3,
          g.rowHeight - 2};
}

OverlayRect PanelAutoRect(const ReadingsGeometry& g) {
  return {g.gridLeft + g.columnWidths[0] + 4, g.gridTop + 3, g.columnWidths[1] - 3, g.rowHeight - 2};
}

ScrollPlan PlanHistoryScroll(int position, int graphWidth, int timeBase) {
  const int a = graphWidth / std::max(1, timeBase);
  int i = position - a;
  ScrollPlan plan;
  if (i < 1) {
    plan.emptySteps = 1 - i;
    i = 1;
  }
  plan.firstRecord = i;
  return plan;
}
