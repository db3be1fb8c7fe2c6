#pragma once
// The element kinds: designator letter code to the kind's plural and singular name, one map for the whole
// application, kept in the text file "ElementNames.map" of the program's folder.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tallyform::model {

/// One element kind (CElementName): the plural name that heads a group of elements ("Конденсаторы") and the
/// singular name written before a lone element's name ("Конденсатор"). Code page 1251 text.
struct CElementName {
  std::string plural;
  std::string singular;

  friend bool operator==(const CElementName&, const CElementName&) = default;
};

/// The file name of the kinds file inside the program's folder.
inline constexpr std::string_view kElementNamesFile = "ElementNames.map";

/// Letter code (a designator prefix of one to three characters, case-sensitive) to kind record.
class ElementKinds {
 public:
  using Map = std::map<std::string, CElementName, std::less<>>;

  /// The number of kinds of the built-in table.
  static constexpr std::size_t kBuiltInCount = 70;

  /// Empties the map, then reads the kinds file: three lines per kind (code, singular name, plural name),
  /// CR LF or LF line ends, code page 1251 (a file that arrives in UTF-8 is converted). Records with an
  /// empty field are skipped, and so is an incomplete record at the end. A missing or unreadable file leaves
  /// the map empty.
  void Load(const std::filesystem::path& path);
  /// Writes the kinds file (CR LF, code page 1251) through a temporary file beside it, leaving out kinds
  /// with an empty field. A file that cannot be written is tallyform::UnreadableFile naming it; the previous
  /// file then stays intact.
  void Save(const std::filesystem::path& path) const;
  /// Sets the kinds of the built-in table into the map.
  void FillBuiltIn();
  /// The start-up rule: loads the kinds file when it exists; otherwise fills the built-in table and writes
  /// the file. The message of a kinds file that could not be written (the built-in kinds are used all the
  /// same), or nullopt.
  std::optional<std::string> StartUp(const std::filesystem::path& path);

  /// Adds the kind, or replaces both names of the existing kind.
  void Set(std::string_view code, std::string_view plural, std::string_view singular);
  /// The kind of exactly this code, or nullptr.
  const CElementName* Find(std::string_view code) const;
  /// The kind of a designator: its prefix, else the prefix's first two characters, else its first character;
  /// nullptr when none is known.
  const CElementName* FindForDesignator(std::string_view designator) const;
  /// The plural name of the designator's kind (FindForDesignator), or the empty text.
  std::string_view PluralName(std::string_view designator) const;
  /// The singular name of the designator's kind (FindForDesignator), or the empty text.
  std::string_view SingularName(std::string_view designator) const;

  void Clear() { kinds_.clear(); }
  std::size_t size() const { return kinds_.size(); }
  const Map& kinds() const { return kinds_; }

 private:
  Map kinds_;
};

}  // namespace tallyform::model
