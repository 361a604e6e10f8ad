#include "params/ParameterEditor.h"

#include "link/ControllerLink.h"
#include "params/ParameterTable.h"

ParameterEditor::ParameterEditor(ControllerLink& link, ParameterEditorHost& host)
    : link_(link), host_(host), list_(link.Block()) {}

const ParameterList& ParameterEditor::Build(int listOrder) {
  listOrder_ = listOrder;
  list_ = BuildParameterList(link_.Block(), listOrder);
  return list_;
}

const ParameterBlock& ParameterEditor::Block() const { return link_.Block(); }

ParameterRow ParameterEditor::RowAt(int tableRow) const {
  if (tableRow < 1 || tableRow > list_.Count()) return {};
  return list_.Rows()[static_cast<std::size_t>(tableRow)];
}

int ParameterEditor::SelectedParameter() const { return RowAt(selectedRow_).parameter; }

bool ParameterEditor::StepSelected(int direction) {
  const ParameterRow row = RowAt(selectedRow_);
  if (row.parameter == 0 || !(row.editorKind & kEditorArrows)) return false;
  const std::uint8_t byte = link_.Block()[static_cast<std::size_t>(row.parameter)];
  link_.SetParameter(row.parameter, SteppedValue(byte, row, direction));
  Build(listOrder_);
  if (FillDefaults() == RebuildAfterDefaults::EditorAndReadings)
    host_.ParametersRead();
  else
    host_.RebuildEditor();
  PlausibilityCheck(true);
  return true;
}

ParameterEditor::Typed ParameterEditor::TypeValue(const std::string& text) {
  const ParameterRow row = RowAt(selectedRow_);
  if (row.parameter == 0 || !(row.editorKind & kEditorEditBox)) return {};
  link_.SetParameter(row.parameter, TypedValue(text, row));
  return {EditedValue(), TypedAboveRange(text, row)};
}

std::string ParameterEditor::EditedValue() const {
  const ParameterRow row = RowAt(selectedRow_);
  if (row.parameter == 0 || !(row.editorKind & kEditorEditBox)) return {};
  return FormatParameterValue(link_.Block()[static_cast<std::size_t>(row.parameter)], row.valueFormat,
                              row.factor);
}

RebuildAfterDefaults ParameterEditor::FillDefaults() {
  ParameterBlock block = link_.Block();
  ParameterBlock sent = link_.SentBlock();
  const DependentDefaultsResult r = FillDependentDefaults(block, sent, SelectedParameter());
  for (std::size_t i = 0; i < block.size(); ++i)
    if (block[i] != link_.Block()[i]) link_.SetParameter(static_cast<int>(i), block[i]);
  for (std::size_t i = 0; i < sent.size(); ++i)
    if (sent[i] != link_.SentBlock()[i]) link_.ControllerHolds(static_cast<int>(i), sent[i]);
  if (r.forceZero) link_.ForceWrite(r.forceZero, 0);
  if (r.readAll) link_.RequestFullRead();
  return r.rebuild;
}

void ParameterEditor::DependentDefaults() {
  switch (FillDefaults()) {
    case RebuildAfterDefaults::Editor: host_.RebuildEditor(); break;
    case RebuildAfterDefaults::EditorAndReadings: host_.ParametersRead(); break;
    case RebuildAfterDefaults::None: break;
  }
  PlausibilityCheck(true);
}

void ParameterEditor::PlausibilityCheck(bool afterEdit) {
  const std::string message = checker_.Check(link_.Block(), SelectedParameter(), afterEdit);
  if (!message.empty()) host_.ShowMessage(message);
}
