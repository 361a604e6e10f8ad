// A parameter file with any content: it loads only when it holds exactly the 256 bytes, shows in
// the parameter view whatever its bytes say, and loading it into a controller leaves the
// controller's own bytes alone.

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzInput.h"
#include "params/ParameterFiles.h"
#include "params/ParameterRows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const int listOrder = in.Byte() % 2;
  const std::string_view bytes = in.Rest();
  const std::string path = WriteFuzzFile("file.orvp", bytes);

  const LoadedParameterFile file = LoadParameterFile(path);
  if (bytes.size() != kParameterFileBytes) {
    FUZZ_CHECK(file.status == ParameterFileStatus::WrongSize);
    return 0;
  }
  FUZZ_CHECK(file.status == ParameterFileStatus::Loaded);
  FUZZ_CHECK(
      std::equal(file.bytes.begin(), file.bytes.end(), reinterpret_cast<const std::uint8_t*>(bytes.data())));

  ParameterBlock shown{};
  CopyFileForViewing(file.bytes, shown);
  const ParameterList list = BuildParameterList(shown, listOrder);
  FUZZ_CHECK(list.Count() >= 0 && list.Count() <= kMaxParameterRows);
  FUZZ_CHECK(list.Rows().size() == list.Texts().size());
  for (const ParameterRow& row : list.Rows()) {
    if (row.parameter == 0) continue;
    FUZZ_CHECK(row.parameter > 0 && row.parameter < static_cast<int>(shown.size()));
    (void)RowValueText(shown, row);
  }

  ParameterBlock controller{};
  controller.fill(0xA5);
  CopyFileToController(file.bytes, controller);
  for (std::size_t i = 0; i < 16; ++i) FUZZ_CHECK(controller[i] == 0xA5);
  for (std::size_t i = kExchangedParameterBytes; i < controller.size(); ++i)
    FUZZ_CHECK(controller[i] == 0xA5);

  // What is saved loads back as it was.
  const std::string again = FuzzScratchFolder() + "/again.orvp";
  FUZZ_CHECK(SaveParameterFile(again, shown));
  const LoadedParameterFile reread = LoadParameterFile(again);
  FUZZ_CHECK(reread.status == ParameterFileStatus::Loaded && reread.bytes == shown);
  return 0;
}
