#pragma once
// Compile-time code page 1251 literals from UTF-8 source:
//
//   using namespace tallyform::text::literals;
//   std::string heading{"Резисторы"_cp};
//
// A character that code page 1251 lacks is a compile error, so every literal the program compares and
// stores is exactly the byte string it shows.

#include <array>
#include <cstddef>
#include <string_view>

#include "text/cp1251.h"

namespace tallyform::text {

/// A UTF-8 string literal usable as a template argument.
template <std::size_t N>
struct Utf8Literal {
  char bytes[N]{};
  constexpr Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
};

namespace detail {

// Transcodes the UTF-8 bytes into `out` (when not null) and returns the count of code page 1251 bytes.
template <std::size_t N>
constexpr std::size_t TranscodeLiteral(const char (&s)[N], char* out) {
  std::size_t i = 0;
  std::size_t count = 0;
  const std::size_t n = N - 1;  // without the terminating zero
  while (i < n) {
    auto b0 = static_cast<unsigned char>(s[i]);
    char32_t cp = 0;
    std::size_t len = 1;
    if (b0 < 0x80) {
      cp = b0;
    } else if ((b0 & 0xe0) == 0xc0) {
      cp = b0 & 0x1f, len = 2;
    } else if ((b0 & 0xf0) == 0xe0) {
      cp = b0 & 0x0f, len = 3;
    } else {
      throw "literal is not UTF-8 text that code page 1251 can hold";
    }
    for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
    int byte = Cp1251FromCodePoint(cp);
    if (byte < 0) throw "literal holds a character that code page 1251 lacks";
    if (out != nullptr) out[count] = static_cast<char>(byte);
    ++count;
    i += len;
  }
  return count;
}

template <Utf8Literal L>
struct Cp1251Storage {
  static constexpr std::size_t kLength = TranscodeLiteral(L.bytes, nullptr);
  static constexpr std::array<char, kLength + 1> Make() {
    std::array<char, kLength + 1> out{};
    TranscodeLiteral(L.bytes, out.data());
    return out;
  }
  static constexpr std::array<char, kLength + 1> kBytes = Make();
};

}  // namespace detail

namespace literals {

/// The code page 1251 bytes of a UTF-8 literal, as a view of static storage.
template <Utf8Literal L>
constexpr std::string_view operator""_cp() {
  return std::string_view(detail::Cp1251Storage<L>::kBytes.data(),
                          detail::Cp1251Storage<L>::kBytes.size() - 1);
}

}  // namespace literals
}  // namespace tallyform::text
