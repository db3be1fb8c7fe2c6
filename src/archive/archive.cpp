#include "archive/archive.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "model/errors.h"
#include "model/messages.h"
#include "text/cp1251.h"

namespace tallyform::archive {
namespace {

constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000;

constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kHugeLength = 0xFFFF;
constexpr std::uint16_t kBigCount = 0xFFFF;

// What references may copy: a few times the archive's size, and at least enough for any small file.
constexpr std::size_t kCopyAllowance = std::size_t{1} << 20;

[[noreturn]] void Damaged() {
  throw DamagedFile(std::string(model::kDamagedArchive));
}

const ClassInfo* KnownClass(std::string_view name) {
  for (const ClassInfo& cls : kKnownClasses) {
    if (cls.name == name) return &cls;
  }
  return nullptr;
}

bool IsAllowed(std::string_view name, std::initializer_list<ClassInfo> allowed) {
  return std::any_of(allowed.begin(), allowed.end(), [&](const ClassInfo& cls) { return cls.name == name; });
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Writing

void ArchiveWriter::WriteU8(std::uint8_t v) {
  bytes_.push_back(static_cast<char>(v));
}

void ArchiveWriter::WriteU16(std::uint16_t v) {
  WriteU8(static_cast<std::uint8_t>(v));
  WriteU8(static_cast<std::uint8_t>(v >> 8));
}

void ArchiveWriter::WriteI32(std::int32_t v) {
  WriteU32(static_cast<std::uint32_t>(v));
}

void ArchiveWriter::WriteU32(std::uint32_t v) {
  WriteU16(static_cast<std::uint16_t>(v));
  WriteU16(static_cast<std::uint16_t>(v >> 16));
}

void ArchiveWriter::WriteDouble(double v) {
  auto bits = std::bit_cast<std::uint64_t>(v);
  WriteU32(static_cast<std::uint32_t>(bits));
  WriteU32(static_cast<std::uint32_t>(bits >> 32));
}

void ArchiveWriter::WriteCount(std::uint32_t n) {
  if (n < kBigCount) {
    WriteU16(static_cast<std::uint16_t>(n));
  } else {
    WriteU16(kBigCount);
    WriteU32(n);
  }
}

void ArchiveWriter::WriteString(std::string_view s) {
  if (s.size() < kLongLength) {
    WriteU8(static_cast<std::uint8_t>(s.size()));
  } else if (s.size() < kWideMarker) {
    WriteU8(kLongLength);
    WriteU16(static_cast<std::uint16_t>(s.size()));
  } else {
    WriteU8(kLongLength);
    WriteU16(kHugeLength);
    WriteU32(static_cast<std::uint32_t>(s.size()));
  }
  bytes_.append(s);
}

void ArchiveWriter::WriteStringList(const StringList& list) {
  WriteCount(static_cast<std::uint32_t>(list.size()));
  for (const auto& s : list) WriteString(s);
}

void ArchiveWriter::WriteStringMap(const StringMap& map) {
  WriteCount(static_cast<std::uint32_t>(map.size()));
  for (const auto& [key, value] : map) {
    WriteString(key);
    WriteString(value);
  }
}

void ArchiveWriter::WriteObjectTag(const ClassInfo& cls) {
  auto found = class_index_.find(std::string(cls.name));
  if (found == class_index_.end()) {
    WriteU16(kNewClassTag);
    WriteU16(cls.schema);
    WriteU16(static_cast<std::uint16_t>(cls.name.size()));
    bytes_.append(cls.name);
    class_index_.emplace(std::string(cls.name), next_index_++);
  } else if (found->second < kBigTag) {
    WriteU16(static_cast<std::uint16_t>(kClassTag | found->second));
  } else {
    WriteU16(kBigTag);
    WriteU32(kBigClassTag | found->second);
  }
  ++next_index_;  // the object's own number
}

void ArchiveWriter::WriteNullTag() {
  WriteU16(kNullTag);
}

// ---------------------------------------------------------------------------------------------------------
// Reading

void ArchiveReader::Need(std::size_t n) const {
  if (n > remaining()) Damaged();
}

std::uint8_t ArchiveReader::ReadU8() {
  Need(1);
  return static_cast<std::uint8_t>(bytes_[pos_++]);
}

std::uint16_t ArchiveReader::ReadU16() {
  Need(2);
  auto lo = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes_[pos_]));
  auto hi = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes_[pos_ + 1]));
  pos_ += 2;
  return static_cast<std::uint16_t>(lo | (hi << 8));
}

std::int32_t ArchiveReader::ReadI32() {
  return static_cast<std::int32_t>(ReadU32());
}

std::uint32_t ArchiveReader::ReadU32() {
  std::uint32_t lo = ReadU16();
  std::uint32_t hi = ReadU16();
  return lo | (hi << 16);
}

double ArchiveReader::ReadDouble() {
  Need(8);
  std::uint64_t lo = ReadU32();
  std::uint64_t hi = ReadU32();
  return std::bit_cast<double>(lo | (hi << 32));
}

std::uint32_t ArchiveReader::ReadCount(std::size_t min_item_bytes) {
  std::uint32_t n = ReadU16();
  if (n == kBigCount) n = ReadU32();
  if (n > remaining() / std::max<std::size_t>(min_item_bytes, 1)) Damaged();
  return n;
}

// The length forms of a string; a 16-bit-character string repeats them after its marker, where 0xFFFE is
// then an ordinary length.
std::uint32_t ArchiveReader::ReadStringLength(bool& wide) {
  wide = false;
  std::uint8_t short_length = ReadU8();
  if (short_length < kLongLength) return short_length;
  std::uint16_t length = ReadU16();
  if (length == kWideMarker) {
    wide = true;
    short_length = ReadU8();
    if (short_length < kLongLength) return short_length;
    length = ReadU16();
  }
  if (length < kHugeLength) return length;
  return ReadU32();
}

std::string ArchiveReader::ReadString() {
  bool wide = false;
  std::size_t length = ReadStringLength(wide);
  if (!wide) {
    Need(length);
    std::string s(bytes_.substr(pos_, length));
    pos_ += length;
    return s;
  }
  Need(length * 2);
  std::u16string units(length, u'\0');
  for (auto& unit : units) unit = static_cast<char16_t>(ReadU16());
  return text::FromUtf16(units);
}

void ArchiveReader::ReadStringList(StringList& list) {
  std::uint32_t n = ReadCount(1);
  list.reserve(list.size() + n);
  for (std::uint32_t i = 0; i < n; ++i) list.push_back(ReadString());
}

void ArchiveReader::ReadStringMap(StringMap& map) {
  std::uint32_t n = ReadCount(2);
  for (std::uint32_t i = 0; i < n; ++i) {
    std::string key = ReadString();
    map.insert_or_assign(std::move(key), ReadString());
  }
}

ObjectTag ArchiveReader::ReadObjectTag(std::initializer_list<ClassInfo> allowed) {
  std::uint16_t tag = ReadU16();
  if (tag == kNullTag) return {};

  std::uint32_t number = 0;
  bool names_class = false;
  if (tag == kNewClassTag) {
    std::uint16_t schema = ReadU16();
    std::uint16_t name_length = ReadU16();
    Need(name_length);
    const ClassInfo* cls = KnownClass(bytes_.substr(pos_, name_length));
    pos_ += name_length;
    if (cls == nullptr || cls->schema != schema || !IsAllowed(cls->name, allowed)) Damaged();
    entries_.push_back(Entry{true, cls->name, nullptr});
    entries_.push_back(Entry{false, cls->name, nullptr});
    return ObjectTag{ObjectTag::Kind::kNew, cls->name, static_cast<std::uint32_t>(entries_.size() - 1)};
  }
  if (tag == kBigTag) {
    std::uint32_t big = ReadU32();
    names_class = (big & kBigClassTag) != 0;
    number = big & ~kBigClassTag;
  } else {
    names_class = (tag & kClassTag) != 0;
    number = tag & ~kClassTag;
  }

  if (number == 0 || number >= entries_.size()) Damaged();
  const Entry& entry = entries_[number];
  if (entry.is_class != names_class || !IsAllowed(entry.class_name, allowed)) Damaged();
  if (names_class) {
    std::string_view class_name = entry.class_name;
    entries_.push_back(Entry{false, class_name, nullptr});
    return ObjectTag{ObjectTag::Kind::kNew, class_name, static_cast<std::uint32_t>(entries_.size() - 1)};
  }
  // An object still being read has no address yet; referring to it (itself or an enclosing object) is
  // refused rather than handing out a half-built object.
  if (entry.object == nullptr) Damaged();
  return ObjectTag{ObjectTag::Kind::kReference, entry.class_name, number};
}

void ArchiveReader::RegisterObject(std::uint32_t index, const void* object) {
  if (index == 0 || index >= entries_.size() || entries_[index].is_class) Damaged();
  entries_[index].object = object;
}

const void* ArchiveReader::ReferencedObject(std::uint32_t index) const {
  if (index == 0 || index >= entries_.size() || entries_[index].is_class ||
      entries_[index].object == nullptr) {
    Damaged();
  }
  return entries_[index].object;
}

void ArchiveReader::ChargeCopy(std::size_t weight) {
  copied_ += weight;
  if (copied_ > kCopyAllowance + 4 * bytes_.size()) Damaged();
}

}  // namespace tallyform::archive
