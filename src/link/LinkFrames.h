#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Request codes of the controller link. A reply begins with the code of its request.
namespace link_code {
inline constexpr std::uint8_t kParameterRead = 0x55;
inline constexpr std::uint8_t kLiveData = 0x33;
inline constexpr std::uint8_t kRegisterRead = 0x5A;
inline constexpr std::uint8_t kConfiguration = 0xAC;
inline constexpr std::uint8_t kMapColumn = 0xC5;  // also the SRAM block
inline constexpr std::uint8_t kSramBlock = 0xC5;
inline constexpr std::uint8_t kMapRead = 0xA3;
inline constexpr std::uint8_t kMapWrite = 0xC3;
inline constexpr std::uint8_t kMapErase = 0x53;
inline constexpr std::uint8_t kPortView = 0xCA;
inline constexpr std::uint8_t kEepromBlock = 0x5C;
inline constexpr std::uint8_t kParameterWrite = 0xAA;
inline constexpr std::uint8_t kModePrefix = 0x35;
inline constexpr std::uint8_t kLoader = 0x3A;       // loader report and programming start
inline constexpr std::uint8_t kProgrammingFrame = 0x07;  // programming header, data and replies
}  // namespace link_code

// Frames end in the low 8 bits of the sum of the bytes before the checksum.
std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::size_t count);

std::vector<std::uint8_t> CommandFrame(std::uint8_t code);
std::vector<std::uint8_t> PrefixedCommandFrame(std::uint8_t code);
std::vector<std::uint8_t> IndexedFrame(std::uint8_t code, std::uint8_t index);
std::vector<std::uint8_t> ParameterWriteFrame(std::uint8_t index, std::uint8_t value);
std::vector<std::uint8_t> RegisterReadFrame(std::uint8_t reg);

// How many bytes a reply to the request `code` needs before it is taken from the receive
// buffer; 0 for requests whose replies are not decoded.
int ReplyLength(int code);
