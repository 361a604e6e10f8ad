#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/MapHeadings.h"
#include "model/ParameterBlock.h"

// The rows of the parameter view: which parameters a controller shows, in which order, with
// which label and value text, and how each row is edited.

// One table row of the parameter view. A row without a parameter (number 0) is empty.
struct ParameterRow {
  int parameter = 0;
  double factor = 0.0;
  int valueFormat = 0;
  int editorKind = 0;
  int minimum = 0;
  int maximum = 0;
};

struct ParameterRowText {
  std::string label;
  std::string value;
};

// ListOrder values: the item index of CBList.
inline constexpr int kOrderByFunction = 0;
inline constexpr int kOrderByType = 1;

// The heading row and up to 60 parameter rows.
inline constexpr int kMaxParameterRows = 60;
// The length the table gets before the rows are added.
inline constexpr int kInitialParameterTableRows = 50;

// ParameterList: rows[0] is the heading, rows 1..count the rows added.
class ParameterList {
 public:
  explicit ParameterList(const ParameterBlock& block) : block_(block) {}  // keeps a copy

  // Appends a row when the controller offers the parameter; returns whether it did. For
  // option rows (format 0) the caller writes the option text; AddOptionRow does both.
  bool AddParameterRow(int parameter, int valueFormat, const std::string& label, int maximum, int minimum,
                       int editorKind, double factor);

  // A row whose format, range, kind and factor are the parameter's own (ParameterTable),
  // with the option text for format 0.
  bool AddRow(int labelId, int parameter);

  int Count() const { return count_; }
  const std::vector<ParameterRow>& Rows() const { return rows_; }
  const std::vector<ParameterRowText>& Texts() const { return texts_; }
  std::vector<ParameterRowText>& Texts() { return texts_; }

 private:
  ParameterBlock block_;
  int count_ = 0;
  std::vector<ParameterRow> rows_{ParameterRow{}};
  std::vector<ParameterRowText> texts_{ParameterRowText{}};
};

// The whole parameter view for a block: heading, diagnostic rows, the two common rows and
// the rows of the list order.
ParameterList BuildParameterList(const ParameterBlock& block, int listOrder);

// The value text of a row as the rebuild shows it: the value with its unit, the option or
// yes/no text, or the clear action.
std::string RowValueText(const ParameterBlock& block, const ParameterRow& row);

// Rows the table gets: count + 1 (the heading and count rows) when they do not all fit in the
// visible rows, else exactly the visible rows.
int ParameterTableLength(int count, int rowsVisible);

// The byte an arrow press gives: direction 0 steps down, 1 up; the range wraps around, the
// switch-over temperature (byte 56) moves through its table and does not wrap.
std::uint8_t SteppedValue(std::uint8_t value, const ParameterRow& row, int direction);

// The byte a typed text gives: the leading number divided by the row's factor, truncated
// toward zero and limited to the row's range.
std::uint8_t TypedValue(const std::string& text, const ParameterRow& row);
// Whether the typed number lies above the row's range, so that TypedValue limited it.
bool TypedAboveRange(const std::string& text, const ParameterRow& row);
