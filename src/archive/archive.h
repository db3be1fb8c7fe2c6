#pragma once
// The serialization archive of the ".enum" file: little-endian integers, counts, length-prefixed strings
// and the class-tag scheme that numbers classes and objects in one sequence starting at 1.
//
// Reading is bounded: every count is checked against the bytes that remain, so a damaged archive is a
// DamagedFile error, never a crash, a hang or an unbounded allocation.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tallyform::archive {

using StringList = std::vector<std::string>;
using StringMap = std::map<std::string, std::string>;

/// The serializable classes of the file and their schemas.
struct ClassInfo {
  std::string_view name;
  std::uint16_t schema;
};
inline constexpr ClassInfo kComponentList{"CComponentList", 1};
inline constexpr ClassInfo kElementName{"CElementName", 1};
inline constexpr ClassInfo kStringMap{"CMapStringToString", 0};
inline constexpr ClassInfo kTableRows{"CTableRows", 1};
inline constexpr ClassInfo kRow{"CRow", 1};
inline constexpr ClassInfo kCell{"CCell", 1};

/// Every class a file may name; a class name outside this list makes the file damaged.
inline constexpr ClassInfo kKnownClasses[] = {kComponentList, kElementName, kStringMap,
                                              kTableRows,     kRow,         kCell};

/// Appends archive items to a byte string.
class ArchiveWriter {
 public:
  ArchiveWriter() = default;

  void WriteU8(std::uint8_t v);
  void WriteU16(std::uint16_t v);
  void WriteI32(std::int32_t v);
  void WriteU32(std::uint32_t v);
  void WriteDouble(double v);
  /// 16 bits below 0xFFFF, otherwise 0xFFFF and 32 bits.
  void WriteCount(std::uint32_t n);
  /// Length (1, 3 or 7 bytes) and the bytes without terminator.
  void WriteString(std::string_view s);
  void WriteStringList(const StringList& list);
  void WriteStringMap(const StringMap& map);
  /// Writes the tag that precedes an object of the class: the new-class form the first time the class is
  /// met, the known-class form afterwards (with the 0x7FFF big form for class numbers from 0x7FFF). Takes
  /// the next object number. The object's own data follows.
  void WriteObjectTag(const ClassInfo& cls);
  /// The null object tag.
  void WriteNullTag();

  const std::string& bytes() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
  std::uint32_t next_index_ = 1;
  std::unordered_map<std::string, std::uint32_t> class_index_;
};

/// What an object tag announced.
struct ObjectTag {
  enum class Kind { kNull, kNew, kReference };
  Kind kind = Kind::kNull;
  /// kNew: the class of the object whose data follows. kReference: the class of the referenced object.
  /// Always one of the names of kKnownClasses (the view stays valid for the life of the program).
  std::string_view class_name;
  /// kNew: the number the object takes. kReference: the number of the object referred to.
  std::uint32_t object_index = 0;
};

/// Reads archive items from a byte string; every read past the end or of an impossible value throws
/// tallyform::DamagedFile with the message for a damaged archive. The bytes must outlive the reader.
class ArchiveReader {
 public:
  explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

  std::uint8_t ReadU8();
  std::uint16_t ReadU16();
  std::int32_t ReadI32();
  std::uint32_t ReadU32();
  double ReadDouble();
  /// A count whose items take at least `min_item_bytes` bytes each (0 is taken as 1: no item of the file
  /// is empty); a count that the remaining bytes cannot hold is a DamagedFile error.
  std::uint32_t ReadCount(std::size_t min_item_bytes);
  /// A string in any of the three length forms, or a string of 16-bit characters (converted to code page
  /// 1251).
  std::string ReadString();
  /// Appends the strings read to `list`.
  void ReadStringList(StringList& list);
  /// Sets every pair read into `map`.
  void ReadStringMap(StringMap& map);
  /// Reads an object tag. A class that is not one of `allowed` (by name), or a schema other than the
  /// class's own, is a DamagedFile error; so is a reference to an object not yet read (or still being
  /// read) or of a class not allowed, and a number that names a class where an object is meant or the
  /// other way round.
  ObjectTag ReadObjectTag(std::initializer_list<ClassInfo> allowed);
  /// Records the object read under the number its kNew tag gave, so that later references can find it.
  /// The object must stay alive, at the same address, while this reader is used.
  void RegisterObject(std::uint32_t index, const void* object);
  /// The object recorded under a number (by RegisterObject); DamagedFile when there is none.
  const void* ReferencedObject(std::uint32_t index) const;
  /// Accounts for an object copied to satisfy a reference, `weight` being about its size in bytes.
  /// References cost two bytes each in the file but may copy large objects, so the copies together are
  /// bounded by four times the archive's size plus 1 MiB; past that the file is taken as damaged.
  void ChargeCopy(std::size_t weight);

  std::size_t remaining() const { return bytes_.size() - pos_; }
  std::size_t position() const { return pos_; }

 private:
  void Need(std::size_t n) const;
  std::uint32_t ReadStringLength(bool& wide);

  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::size_t copied_ = 0;
  // Index 0 is the null tag; each entry is either a class (class name) or an object (its class name).
  struct Entry {
    bool is_class = false;
    std::string_view class_name;
    const void* object = nullptr;
  };
  std::vector<Entry> entries_{Entry{}};
};

}  // namespace tallyform::archive
