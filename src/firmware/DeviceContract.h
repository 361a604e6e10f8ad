#pragma once

#include <array>
#include <cstdint>

// Values this program shares with the controller's loader and with whoever produces the
// firmware image files. All three must hold exactly these.

// The data blocks of a programming run are scrambled with TransferKey =
// KeyTable[seed mod 32], where seed is byte 17 of the programming header.
inline constexpr std::array<std::uint8_t, 32> KeyTable = {
    0xBD, 0xC1, 0x0F, 0xE2, 0x60, 0x93, 0x1F, 0x70, 0x12, 0xB9, 0x80, 0x61, 0x38, 0x6E, 0xA9, 0x09,
    0x42, 0x80, 0xA7, 0x39, 0x6E, 0x48, 0x8F, 0xBA, 0x2C, 0x0E, 0x0B, 0x90, 0x99, 0x0C, 0x6B, 0x87};

// First chain value when an image's information block is unscrambled.
inline constexpr std::uint8_t ImageSeed = 0x46;
