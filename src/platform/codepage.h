// codepage.h: the platform's code-page conversions, the only place that knows how a Windows
// code page number maps onto this system. UTF-8 code pages (0, 3, 65001) are handled by our
// own coder; every other code page goes through iconv.
#pragma once

#include <cstddef>
#include <string>

namespace Tessel16::platform {

// True for the code pages that mean UTF-8 here: 0 and 3 (the system and thread ANSI code
// pages, which are UTF-8 on this platform) and 65001.
bool CodePageIsUtf8(unsigned int codePage);

// Decodes 8-bit text of the code page into UTF-16. Undecodable bytes become U+FFFD.
std::u16string MultiByteToWide(unsigned int codePage, const char* bytes, std::size_t length);

// Encodes UTF-16 into the code page. Characters it cannot represent (and unpaired
// surrogates) become its replacement character: '?' for single-byte code pages, U+FFFD in
// UTF-8.
std::string WideToMultiByte(unsigned int codePage, const char16_t* units, std::size_t count);

}  // namespace Tessel16::platform
