#pragma once
// Archive bytes put together by hand, little-endian, for golden and damaged-file tests.

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace tallyform::testing {

struct ArchiveBytes {
  std::string s;

  ArchiveBytes& U16(unsigned v) {
    s.push_back(static_cast<char>(v & 0xff));
    s.push_back(static_cast<char>((v >> 8) & 0xff));
    return *this;
  }
  ArchiveBytes& I32(std::int64_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((u >> (8 * i)) & 0xff));
    return *this;
  }
  ArchiveBytes& Double(double v) {
    auto u = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) s.push_back(static_cast<char>((u >> (8 * i)) & 0xff));
    return *this;
  }
  /// A string below 255 bytes: its length byte and its bytes.
  ArchiveBytes& Str(std::string_view text) {
    s.push_back(static_cast<char>(text.size()));
    s.append(text);
    return *this;
  }
  /// The tag of the first object of a class: 0xFFFF, schema, name length, name.
  ArchiveBytes& NewClass(std::string_view name, unsigned schema = 1) {
    U16(0xffff).U16(schema).U16(static_cast<unsigned>(name.size()));
    s.append(name);
    return *this;
  }
};

}  // namespace tallyform::testing
