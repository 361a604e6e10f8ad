#include "link/LinkFrames.h"

std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::size_t count) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(sum);
}

namespace {
std::vector<std::uint8_t> WithChecksum(std::vector<std::uint8_t> frame) {
  frame.push_back(FrameChecksum(frame.data(), frame.size()));
  return frame;
}
}  // namespace

std::vector<std::uint8_t> CommandFrame(std::uint8_t code) { return WithChecksum({code}); }

std::vector<std::uint8_t> PrefixedCommandFrame(std::uint8_t code) {
  return WithChecksum({link_code::kModePrefix, code});
}

std::vector<std::uint8_t> IndexedFrame(std::uint8_t code, std::uint8_t index) {
  return WithChecksum({code, index});
}

std::vector<std::uint8_t> ParameterWriteFrame(std::uint8_t index, std::uint8_t value) {
  return WithChecksum({link_code::kParameterWrite, index, value});
}

std::vector<std::uint8_t> RegisterReadFrame(std::uint8_t reg) {
  auto frame = WithChecksum({link_code::kRegisterRead, reg});
  frame.push_back(0x00);  // the fourth byte has no meaning to the controller
  return frame;
}

int ReplyLength(int code) {
  using namespace link_code;
  switch (code) {
    case kParameterRead: return 4;
    case kLiveData: return 16;
    case kRegisterRead: return 4;
    case kConfiguration: return 15;
    case kMapColumn: return 23;
    case kPortView: return 14;
    case kEepromBlock: return 20;
    case kParameterWrite: return 2;
    case kLoader: return 8;
    case kProgrammingFrame: return 8;
    default: return 0;
  }
}
