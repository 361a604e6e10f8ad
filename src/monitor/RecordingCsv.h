#pragma once

#include <string>

#include "model/ParameterBlock.h"
#include "model/ReadingHistory.h"

// A history as a spreadsheet reads it: a header row with the channel names and units of the
// readings grid (the rows of the parameters page for this block's configuration), then one
// row per record in time order, beginning with record firstRecord and wrapping, with the
// time in seconds ((k + 1) x 0.1 for the k-th record in time order) and every value as the
// grid formats it, without its unit and always with a decimal point. Records that got no
// reply (all bytes 0) are skipped. Lines end in CR LF.
std::string HistoryCsv(const ParameterBlock& block, const ReadingHistory& history, int firstRecord,
                       bool service);

// The batch conversion: reads the recording at input and writes its CSV to output (empty:
// the input's name with ".csv" in place of its extension). Returns 0 on success; otherwise
// 1 with *error saying what failed.
int ExportRecordingCsv(const std::string& input, std::string output, std::string* error);
