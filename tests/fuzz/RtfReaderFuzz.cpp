// The help document reader with any bytes: the document it gives is well formed (runs cover
// the text in order, paragraphs start inside it, in order).

#include <cstdint>

#include "fuzz/FuzzInput.h"
#include "help/RtfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  const RtfDocument doc = ReadRtf(in.Rest());
  std::size_t position = 0;
  for (const RtfRun& run : doc.runs) {
    FUZZ_CHECK(run.start == position);
    position += run.length;
  }
  FUZZ_CHECK(position == doc.text.size());
  FUZZ_CHECK(!doc.paragraphs.empty());
  std::size_t previous = 0;
  for (const RtfParagraph& p : doc.paragraphs) {
    FUZZ_CHECK(p.start >= previous && p.start <= doc.text.size());
    previous = p.start;
  }
  for (const RtfRun& run : doc.runs) FUZZ_CHECK(run.format.halfPoints >= 0);
  return 0;
}
