#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/ControllerLink.h"
#include "link/ReplyDecoding.h"
#include "model/PageAndMode.h"

// The service pages that look inside the controller's microcontroller: the pins of its
// ports B, C and D (PORT), its data memory (SRAM) and its EEPROM, plus the names of its first
// 256 data addresses. Plain tables and texts; the page grid GridEx1 only shows them.

// ---------------------------------------------------------------------------------------
// Register names

inline constexpr int kRegisterCount = 256;

// The name of data address `address` (0x00..0xFF) as the register list CBReg offers it
// (UTF-8; never translated). Empty outside 0..255.
std::string RegisterName(int address);

// A register's value as the RAM row shows it is RamText (monitor/ReadingRows.h); the
// reset cause is ResetCauseText (params/ParameterTable.h), which the parameter editor's
// hint shows too.

// ---------------------------------------------------------------------------------------
// Pages and their requests

bool IsInspectorPage(Page page);
// The view a ButtonAction chooses: 1 PORT, 2 SRAM, 3 EEPROM; anything else counts as PORT.
Page InspectorPageFor(int buttonAction);
// The LinkState that polls a view: 6 PORT, 62 SRAM, 63 EEPROM.
LinkState InspectorLinkState(Page page);

// ---------------------------------------------------------------------------------------
// PORT view: GridEx1 row 1..24 is port B bit 0..7, port C bit 0..7, port D bit 0..7.

inline constexpr int kPortPinRows = 24;

// The label of pin row `row` (1..24) for a controller type byte: the texts 362..385 for
// 0x64 and 0x32, fixed Latin labels for 0x65 and 0x33, none (empty) for any other type.
std::string PortPinLabel(std::uint8_t typeByte, int row);

// ---------------------------------------------------------------------------------------
// Memory views: column k (1..) is page k-1 of 16 bytes, row r (1..16) its byte r-1.

struct MemoryViewShape {
  int pages = 0;    // SRAM 38 (0..37), EEPROM 32 (0..31)
  int columns = 0;  // pages + the label column
  int rows = 17;    // the header row + 16 bytes
};
// The shape of page 5 (SRAM) or 6 (EEPROM); all zero for any other page.
MemoryViewShape MemoryViewShapeOf(Page page);

// Column header: the page number printed "%02X_" ("00_" .. "25_"); column 0 is blank.
std::string MemoryColumnHeader(int column);
// Row label: the byte within the page printed "%X" ("0" .. "F"); row 0 is blank.
std::string MemoryRowLabel(int row);

// ---------------------------------------------------------------------------------------
// The page grid

struct GridCell {
  int column = 0;
  int row = 0;
  std::string text;

  bool operator==(const GridCell&) const = default;
};

// What a view's grid is when it is built: its size and the label and header cells; every
// other cell is blank until the replies fill it.
struct InspectorGrid {
  int columns = 0;
  int rows = 0;
  std::vector<GridCell> cells;
};
// Page 4 (with the pin labels of the type byte), 5 or 6; empty for any other page.
InspectorGrid BuildInspectorGrid(Page page, std::uint8_t typeByte);

// The cells a memory page reply fills while `currentPage` is shown: the reply's column with
// the sixteen bytes in decimal, when the page is a memory view and the reply's page exists
// there; nothing otherwise.
std::vector<GridCell> MemoryBlockCells(const MemoryBlockView& view, Page currentPage);

// The pin cells of a PORT reply (column 1, rows 1..24, "1" or "0"), only on the PORT view.
std::vector<GridCell> PortPinCells(const PortView& view, Page currentPage);
