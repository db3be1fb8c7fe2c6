#pragma once
// Code page 1251 text: the one text type of element data, documents and algorithms.
//
// Every character is one byte held in std::string, so byte-exact rules (prefixes, buffers, archive strings)
// hold literally. Conversion to and from UTF-8 happens only at the edges (Qt, terminal, JSON, files that
// arrive in UTF-8).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tallyform::text {

/// Unicode code point of each byte 0x80..0xFF of code page 1251; 0 marks the one unassigned byte (0x98).
inline constexpr std::array<char32_t, 128> kCp1251High = {
    0x402, 0x403,  0x201a, 0x453, 0x201e, 0x2026, 0x2020, 0x2021, 0x20ac, 0x2030, 0x409,  0x2039, 0x40a,
    0x40c, 0x40b,  0x40f,  0x452, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0x459, 0x203a, 0x45a,  0x45c, 0x45b,  0x45f,  0xa0,   0x40e,  0x45e,  0x408,  0xa4,   0x490,  0xa6,
    0xa7,  0x401,  0xa9,   0x404, 0xab,   0xac,   0xad,   0xae,   0x407,  0xb0,   0xb1,   0x406,  0x456,
    0x491, 0xb5,   0xb6,   0xb7,  0x451,  0x2116, 0x454,  0xbb,   0x458,  0x405,  0x455,  0x457,  0x410,
    0x411, 0x412,  0x413,  0x414, 0x415,  0x416,  0x417,  0x418,  0x419,  0x41a,  0x41b,  0x41c,  0x41d,
    0x41e, 0x41f,  0x420,  0x421, 0x422,  0x423,  0x424,  0x425,  0x426,  0x427,  0x428,  0x429,  0x42a,
    0x42b, 0x42c,  0x42d,  0x42e, 0x42f,  0x430,  0x431,  0x432,  0x433,  0x434,  0x435,  0x436,  0x437,
    0x438, 0x439,  0x43a,  0x43b, 0x43c,  0x43d,  0x43e,  0x43f,  0x440,  0x441,  0x442,  0x443,  0x444,
    0x445, 0x446,  0x447,  0x448, 0x449,  0x44a,  0x44b,  0x44c,  0x44d,  0x44e,  0x44f};

/// The code page 1251 byte of a code point, or -1 when the code page lacks it.
constexpr int Cp1251FromCodePoint(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x410 && cp <= 0x44f) return static_cast<int>(cp - 0x410 + 0xc0);
  for (std::size_t i = 0; i < kCp1251High.size(); ++i) {
    if (kCp1251High[i] == cp && cp != 0) return static_cast<int>(0x80 + i);
  }
  return -1;
}

/// The code point of a code page 1251 byte; the unassigned byte 0x98 gives U+FFFD.
constexpr char32_t CodePointFromCp1251(unsigned char byte) {
  if (byte < 0x80) return byte;
  char32_t cp = kCp1251High[byte - 0x80];
  return cp == 0 ? char32_t{0xfffd} : cp;
}

/// Appends the code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

/// Converts code page 1251 text to UTF-8.
std::string ToUtf8(std::string_view cp1251);

/// Converts UTF-8 to code page 1251. A character the code page lacks becomes "?"; a byte sequence that is
/// not valid UTF-8 becomes "?" per byte.
std::string FromUtf8(std::string_view utf8);

/// Converts UTF-16 code units (as found in archives of 16-bit characters) to code page 1251, "?" for what
/// the code page lacks.
std::string FromUtf16(std::u16string_view utf16);

/// True when the bytes are valid UTF-8 and hold at least one byte above 0x7F: such input is taken to be
/// UTF-8 rather than code page 1251 (code page 1251 text is almost never valid UTF-8).
bool LooksLikeUtf8(std::string_view bytes);

/// Input that LooksLikeUtf8 is converted from UTF-8; anything else is returned unchanged.
std::string Cp1251FromUnknown(std::string_view bytes);

}  // namespace tallyform::text
