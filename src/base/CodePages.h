#pragma once

#include <optional>
#include <string>
#include <string_view>

// The single-byte Windows code pages in which documents arrive. 1250 (central European),
// 1251 (Cyrillic) and 1252 (western, the Windows default) are known; any other number is
// read as 1252.
int SupportedCodePage(int codePage);

// The character of one byte in a code page.
char16_t DecodeCodePageByte(int codePage, unsigned char byte);

// UTF-16 of valid UTF-8 text; nothing when the bytes are not valid UTF-8.
std::optional<std::u16string> Utf16FromUtf8(std::string_view utf8);
