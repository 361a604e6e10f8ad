#include "inspector/ProcessorInspector.h"

#include <array>
#include <string_view>

#include "base/UiText.h"
#include "link/ControllerLink.h"

namespace {

// Data addresses 0x00..0x9A by name: working registers, I/O registers (with a leading '*'),
// then the controller program's variables. Texts of the maker's code page 1250, in UTF-8.
constexpr std::array<std::string_view, 0x9B> kNamedRegisters{
    "Rejestr R0",                  // 00
    "Rejestr R1",                  // 01
    "Licz okres RPM",              // 02
    "Kontrola @ Liczn czest RPM",  // 03
    "Okras RPM",                   // 04
    "Obr RPM FAST",                // 05
    "Obr RPM SLOW",                // 06
    "Obr RPM OLD",                 // 07
    "LAM uniw",                    // 08
    "PSI  uniw @ LAM@ uniw",       // 09
    "TPS uniw",                    // 0A
    "Informacje",                  // 0B
    "PozMotror",                   // 0C
    "LicznikTX",                   // 0D
    "DefaultMotor",                // 0E
    "StaryOkres @ Licznik",        // 0F
    "Rejestr AA",                  // 10
    "Rejestr BB",                  // 11
    "Rejestr CC",                  // 12
    "Rejestr A",                   // 13
    "Rejestr B",                   // 14
    "Status",                      // 15
    "Flagi",                       // 16
    "OpcjeGaz",                    // 17
    "LicznikMotor",                // 18
    "ZadPozMotor",                 // 19
    "Rejestr XL",                  // 1A
    "Rejestr XH",                  // 1B
    "Rejestr YL",                  // 1C
    "Rejestr YH",                  // 1D
    "Rejestr ZL",                  // 1E
    "Rejestr ZH",                  // 1F
    "*$20",                        // 20
    "*$21",                        // 21
    "*$22",                        // 22
    "*$23",                        // 23
    "*ADCL",                       // 24
    "*ADCH",                       // 25
    "*ADCSR",                      // 26
    "*ADMUX",                      // 27
    "*ACSR",                       // 28
    "*UBRR",                       // 29
    "*UCR",                        // 2A
    "*USR",                        // 2B
    "*UDR",                        // 2C
    "*SPCR",                       // 2D
    "*SPSR",                       // 2E
    "*SPDR",                       // 2F
    "*PIND",                       // 30
    "*DDRD",                       // 31
    "*PORTD",                      // 32
    "*PINC",                       // 33
    "*DDRC",                       // 34
    "*PORTC",                      // 35
    "*PINB",                       // 36
    "*DDRB",                       // 37
    "*PORTB",                      // 38
    "*PINA",                       // 39
    "*DDRA",                       // 3A
    "*PORTA",                      // 3B
    "*EECR",                       // 3C
    "*EEDR",                       // 3D
    "*EEARL",                      // 3E
    "*EEARH",                      // 3F
    "*$40",                        // 40
    "*WDTCR",                      // 41
    "*ASSR",                       // 42
    "*OCRA",                       // 43
    "*TCNT2",                      // 44
    "*TCCR2",                      // 45
    "*ICR1L",                      // 46
    "*ICRIH",                      // 47
    "*OCR1BL",                     // 48
    "*OCR1BH",                     // 49
    "*OCR1AL",                     // 4A
    "*OCR1AH",                     // 4B
    "*TCNT1L",                     // 4C
    "*TCNT1H",                     // 4D
    "*TCCR1B",                     // 4E
    "*TCCR1A",                     // 4F
    "*$50",                        // 50
    "*$51",                        // 51
    "*TCNT0",                      // 52
    "*TCCR0",                      // 53
    "*MCUSR",                      // 54
    "*MCUCR",                      // 55
    "*$56",                        // 56
    "*$57",                        // 57
    "*TIFR",                       // 58
    "*TIMSK",                      // 59
    "*GIFR",                       // 5A
    "*GIMSK",                      // 5B
    "*$5C",                        // 5C
    "*SPL",                        // 5D
    "*SPH",                        // 5E
    "*SREG",                       // 5F
    "A.0 LAM V",                   // 60
    "A.1 ADC1 V",                  // 61
    "A.2 TPS V",                   // 62
    "A.3 Poziom V",                // 63
    "A.4 Temper V",                // 64
    "A.5 Cisnie V",                // 65
    "A.6 Stacyjka V",              // 66
    "A.7 Akumul V",                // 67
    "TimeOutRX",                   // 68
    "BufPrzel",                    // 69
    "LiczWylRPM/LiczRPM",          // 6A
    "LiczWylPu/DzielRPM",          // 6B
    "StartDUAL",                   // 6C
    "PrescDUAL",                   // 6D
    "LicznikDUAL",                 // 6E
    "LicznikLED",                  // 6F
    "PrescSYM",                    // 70
    "LicznikSYM",                  // 71
    "PrecOffSYM",                  // 72
    "LicznikOffSYM",               // 73
    "LicznikNumSYM",               // 74
    "PrescLoopL",                  // 75
    "PrescLoopH",                  // 76
    "LicznikLoop",                 // 77
    "LicznikLamErr",               // 78
    "PrescLamErr",                 // 79
    "Milisekundy",                 // 7A
    "Sekundy",                     // 7B
    "Minuty",                      // 7C
    "PamTpsSym",                   // 7D
    "PamRpmSym",                   // 7E
    "LiczSymAuto",                 // 7F
    "LiczPozGazu",                 // 80
    "PredMot",                     // 81
    "NastepnyMot",                 // 82
    "PrescMot",                    // 83
    "MapaKrok",                    // 84
    "Mapa3000",                    // 85
    "Mapa900",                     // 86
    "MapaStala",                   // 87
    "LamMin",                      // 88
    "LamMax",                      // 89
    "TpsMin",                      // 8A
    "TpsMax",                      // 8B
    "Zdarzenia",                   // 8C
    "PamLamErr",                   // 8D
    "PamOpcTHR",                   // 8E
    "PrescOpcTPS",                 // 8F
    "PamOpcTPS",                   // 90
    "PozyOpcTPS",                  // 91
    "PrescOpcMAPA",                // 92
    "PozyOpcMAPA",                 // 93
    "PredkOpcLAM",                 // 94
    "RejeStacyjki",                // 95
    "PrógTPS",                     // 96
    "PrógLAM",                     // 97
    "LicznikPWM",                  // 98
    "WypelPWM",                    // 99
    "PredkOpcLAM",                 // 9A
};

// From 0x9B on the list names the address alone ("$9B"), except these.
struct NamedAddress {
  int address;
  std::string_view name;
};
constexpr std::array<NamedAddress, 6> kAddressExceptions{{
    {0xA0, "$A0@Mapa"},
    {0xB0, "$B0 Mapa@Txd"},
    {0xC0, "$C0 Txd"},
    {0xD0, "$D0 @Rxd"},
    {0xD8, "$D8 Rxd"},
    {0xFF, "$FF - EndStos"},
}};

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Pins of the 0x65 and 0x33 controllers, port B bit 0 first.
constexpr std::array<std::string_view, kPortPinRows> kLatinPinLabels{
    "B.0 MotorEN",    "B.1 MotorD",      "B.2 MotorC", "B.3 MotorB",    "B.4 MotorA",
    "B.5 TypTemp",    "B.6 Przełącznik", "B.7 LEDgaz", "C.0 RezCewki",  "C.1",
    "C.2 TypWsk50",   "C.3 TypTelk",     "C.4",        "C.5 RezTPS",    "C.6 RezLam2M",
    "C.7 RezLam47k",  "D.0 RXD",         "D.1 TXD",    "D.2 ImpWtrys.", "D.3 ImpCewki",
    "D.4 Symmulacja", "D.5 Linijka",     "D.6 PUwtry", "D.7 PUgazu",
};
constexpr int kFirstCyrillicPinText = 362;
constexpr int kPortHeaderTexts[2] = {360, 361};

constexpr int kBytesPerPage = 16;

std::string Hex2(int value) { return {kHexDigits[(value >> 4) & 0xF], kHexDigits[value & 0xF]}; }

}  // namespace

// ---------------------------------------------------------------------------------------
// Register names

std::string RegisterName(int address) {
  if (address < 0 || address >= kRegisterCount) return {};
  if (address < static_cast<int>(kNamedRegisters.size()))
    return std::string(kNamedRegisters[static_cast<std::size_t>(address)]);
  for (const NamedAddress& e : kAddressExceptions)
    if (e.address == address) return std::string(e.name);
  return "$" + Hex2(address);
}

// ---------------------------------------------------------------------------------------
// Pages

bool IsInspectorPage(Page page) { return page >= Page::Port && page <= Page::Eeprom; }

Page InspectorPageFor(int buttonAction) {
  return buttonAction == 2 ? Page::Sram : buttonAction == 3 ? Page::Eeprom : Page::Port;
}

LinkState InspectorLinkState(Page page) {
  return PollOfPage(IsInspectorPage(page) ? page : Page::Port).state;
}

std::string PortPinLabel(std::uint8_t typeByte, int row) {
  if (row < 1 || row > kPortPinRows) return {};
  switch (typeByte) {
    case 0x64:
    case 0x32: return UiText(kFirstCyrillicPinText + row - 1);
    case 0x65:
    case 0x33: return std::string(kLatinPinLabels[static_cast<std::size_t>(row - 1)]);
    default: return {};
  }
}

MemoryViewShape MemoryViewShapeOf(Page page) {
  switch (page) {
    case Page::Sram: return {kSramBlocks, kSramBlocks + 1, kBytesPerPage + 1};
    case Page::Eeprom: return {kEepromBlocks, kEepromBlocks + 1, kBytesPerPage + 1};
    default: return {0, 0, 0};
  }
}

std::string MemoryColumnHeader(int column) {
  if (column < 1 || column > 256) return {};
  return Hex2(column - 1) + "_";
}

std::string MemoryRowLabel(int row) {
  if (row < 1 || row > kBytesPerPage) return {};
  return std::string(1, kHexDigits[row - 1]);
}

InspectorGrid BuildInspectorGrid(Page page, std::uint8_t typeByte) {
  InspectorGrid grid;
  if (page == Page::Port) {
    grid.columns = 2;
    grid.rows = kPortPinRows + 1;
    grid.cells.push_back({0, 0, UiText(kPortHeaderTexts[0])});
    grid.cells.push_back({1, 0, UiText(kPortHeaderTexts[1])});
    for (int row = 1; row <= kPortPinRows; ++row) grid.cells.push_back({0, row, PortPinLabel(typeByte, row)});
    return grid;
  }
  const MemoryViewShape shape = MemoryViewShapeOf(page);
  if (shape.pages == 0) return grid;
  grid.columns = shape.columns;
  grid.rows = shape.rows;
  grid.cells.push_back({0, 0, {}});
  for (int column = 1; column < shape.columns; ++column)
    grid.cells.push_back({column, 0, MemoryColumnHeader(column)});
  for (int row = 1; row < shape.rows; ++row) grid.cells.push_back({0, row, MemoryRowLabel(row)});
  return grid;
}

std::vector<GridCell> MemoryBlockCells(const MemoryBlockView& view, Page currentPage) {
  std::vector<GridCell> cells;
  const MemoryViewShape shape = MemoryViewShapeOf(currentPage);
  if (view.column < 1 || view.column > shape.pages) return cells;
  for (int row = 1; row <= kBytesPerPage; ++row)
    cells.push_back({view.column, row, view.cells[static_cast<std::size_t>(row - 1)]});
  return cells;
}

std::vector<GridCell> PortPinCells(const PortView& view, Page currentPage) {
  std::vector<GridCell> cells;
  if (currentPage != Page::Port) return cells;
  for (int row = 1; row <= kPortPinRows; ++row)
    cells.push_back({1, row, view.bitTexts[static_cast<std::size_t>(row - 1)]});
  return cells;
}
