#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/PageAndMode.h"
#include "model/ParameterBlock.h"
#include "model/ReadingHistory.h"
#include "monitor/PerformanceGraph.h"

// What a row of the readings grid shows (ReadingRowKind).
namespace row_kind {
inline constexpr int kNone = 0;
inline constexpr int kStatus = 2;
inline constexpr int kRpm = 3;
inline constexpr int kLambda = 4;
inline constexpr int kVacuum = 5;
inline constexpr int kSimulation = 6;
inline constexpr int kTps = 8;
inline constexpr int kMotor = 10;
inline constexpr int kInjection = 12;
inline constexpr int kGasLevel = 13;
inline constexpr int kTemperature = 14;
inline constexpr int kRam = 20;
inline constexpr int kIgnition = 23;
inline constexpr int kBattery = 24;
}  // namespace row_kind

inline constexpr int kReadingKindRows = 15;
using ReadingRowKinds = std::array<int, kReadingKindRows>;

// Oscilloscope channels, in the order of the window's check boxes and swatches.
enum Channel { kChRpm, kChLam, kChSim, kChTps, kChMot, kChDef, kChPsi, kChRam, kChannelCount };
// Gauges, in the order of the window's gauge array.
enum Gauge { kGaugeRpm, kGaugeLam, kGaugeTps, kGaugeMot, kGaugeDef, kGaugePsi, kGaugeCount };

inline constexpr std::int32_t kColourBlack = 0x000000;
inline constexpr std::int32_t kColourWhite = 0xFFFFFF;
inline constexpr int kTraceOffset = 22;
inline constexpr int kScaleMarkValue = 300;
// Column 2 is widened by the room of the vertical scroll bar when every row fits.
inline constexpr int kReadingsScrollBarRoom = 17;

// The channel colours at first start and after Ctrl+W: red, lime, green, yellow, aqua,
// fuchsia, blue, maroon.
inline constexpr std::array<std::int32_t, kChannelCount> kInitialColours{
    0x0000FF, 0x00FF00, 0x008000, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0xFF0000, 0x000080};

// What decides the rows: the page, the service mode and the configuration bytes of the
// ParameterBlock.
struct ReadingsConfig {
  Page page = Page::Parameters;
  bool service = false;
  std::uint8_t options = 0;     // byte 2
  std::uint8_t tpsType = 0;     // byte 33 (4 = absent, bit 0 falling)
  std::uint8_t lambdaType = 0;  // byte 34 (4 = absent, 2 falling)
  std::uint8_t vacuumType = 0;  // byte 81 (0 = absent)

  static ReadingsConfig From(const ParameterBlock& block, Page page, bool service);
  bool operator==(const ReadingsConfig&) const = default;
};

// Rows needed, the header row included.
int ReadingRowsNeeded(const ReadingsConfig& c);
// The kind of rows 0..14; row 0 is the status row, unused rows are kNone.
ReadingRowKinds BuildReadingRowKinds(const ReadingsConfig& c);

int ChannelOfKind(int kind);  // -1: the row has no trace
int GaugeOfKind(int kind);    // -1: no gauge (the RAM row has CBReg instead)
int LabelIdOfKind(int kind);  // UiText id of column 0; 0 for none
// The unit behind a value, as the grid writes it (" [V]", text 150, ...); empty for none.
std::string UnitOfKind(int kind);

// Lambda gauge range by probe type; nothing for a type that leaves the range as it is.
std::optional<std::pair<int, int>> LambdaGaugeRange(std::uint8_t lambdaType);

// The status row's texts for a record: columns 1, 2, 3 and PanelErr (empty: hidden).
struct StatusTexts {
  std::string regulation, mixture, fuel, probeError;
};
StatusTexts StatusRowTexts(const LiveReadings& r);

// "1010:0101  165".
std::string RamText(std::uint8_t value);
// The value cell of a row kind for a record (kStatus and the others without a value: empty).
std::string ReadingCellText(int kind, const LiveReadings& r);
// The value without its unit, as a spreadsheet takes it; empty where the grid shows no number.
std::string ReadingNumberText(int kind, const LiveReadings& r);
// The gauge position of a row kind, or nothing when the kind has no gauge.
std::optional<int> ReadingGaugeValue(int kind, const LiveReadings& r, const ReadingsConfig& c);

// CGLam's bar colour: new red = old green, new green = old blue, new blue = old red.
std::int32_t RotatedColour(std::int32_t colour);
// The TPS gauge while the controller reports bit 5 of its status: each component halved.
std::int32_t DimmedColour(std::int32_t colour);

// A colour no other channel uses: two passes over black, white and the eight channel colours;
// on each match the red component moves by one (down when its top bit is set, else up).
std::int32_t MakeDistinctColour(std::int32_t colour, const std::array<std::int32_t, kChannelCount>& colours);

// Which channels are ticked, with their colours.
struct TraceSettings {
  std::array<bool, kChannelCount> ticked{};
  std::array<std::int32_t, kChannelCount> colours = kInitialColours;
};

// The oscilloscope points of a record on page 1, in the order they go into the graph.
std::vector<GraphPoint> RecordTracePoints(const LiveReadings& r, const ReadingRowKinds& kinds,
                                          const ReadingsConfig& c, const TraceSettings& t);

// Grid geometry for placing the overlays.
struct ReadingsGeometry {
  int rowHeight = 20;   // H
  int rowsVisible = 0;  // ReadingRowsVisible
  int topRow = 1;       // T, the first scrolled row in view
  int gridTop = 0;
  int gridLeft = 0;
  std::array<int, 3> columnWidths{};  // W0..W2
};

struct OverlayRect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct RowOverlays {
  bool visible = false;
  OverlayRect gauge;  // gauge panel or CBReg
  int checkLeft = 0, checkTop = 0;
  int swatchLeft = 0, swatchTop = 0;
};

// Room column 3 needs for a channel's check box and swatch, placed as PlaceRowOverlays does.
inline constexpr int kCheckColumnRoom = 53;
// The narrowest bar column 2 keeps when the texts beside it need its room.
inline constexpr int kNarrowestGaugeColumn = 40;

// The widest value cell a row kind shows, for sizing its column before the values arrive:
// the longest text over the kind's byte (the speed up to the gauge's full 9900 rpm).
std::string WidestReadingText(int kind);

// Column widths of the readings grid when the fonts need more than the laid-out widths:
// columns 0, 1 and 3 grow to their need, and what they take comes first from column 3's
// width beyond its need, then from column 2's beyond its need; `room` (the grid's inner
// width) is used when it is wider than the columns. Widths that hold every need stay. When
// the room cannot hold the needs, columns 0 and 1 give up the rest in proportion.
std::array<int, 4> FitReadingColumns(const std::array<int, 4>& widths, const std::array<int, 4>& need,
                                     int room);

bool ReadingRowVisible(int row, const ReadingsGeometry& g);
RowOverlays PlaceRowOverlays(int row, const ReadingsGeometry& g);
OverlayRect PanelErrRect(const ReadingsGeometry& g);
OverlayRect PanelAutoRect(const ReadingsGeometry& g);

// Oscilloscope scrolling: for a scroll position p, a graph width and a time base, how many
// empty steps come first and from which record the tracing starts (records first..p-1 are
// traced, then p is shown in full).
struct ScrollPlan {
  int emptySteps = 0;
  int firstRecord = 0;
};
ScrollPlan PlanHistoryScroll(int position, int graphWidth, int timeBase);
