#pragma once
// The reader of P-CAD ASCII designs (schematics, boards and netlists, recognised by the marker
// "ACCEL_ASCII" on the first line). It scans lines, takes the component instance blocks ("compInst") of the
// netlist and turns each into an element with its derived attributes; resistor and capacitor values are
// normalized on the way. Checking the values against their series is the caller's business.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "elements/list_data.h"

namespace tallyform::model {
class ElementKinds;
}

namespace tallyform::elements {

/// What a reading found besides the elements.
struct AsciiReadResult {
  /// Elements added to the list.
  std::size_t elements_read = 0;
  /// The design ends inside a component block (a truncated file): the complete blocks were read, the
  /// component of the cut block was left out.
  bool cut_off = false;
  /// The designator of the cut block.
  std::string cut_designator;
  /// The file was a saved document, whose element data was read instead of a design's.
  bool saved_document = false;
};

/// Told of each element as it is read: its designator prefix and the element.
using ElementHook = std::function<void(std::string_view prefix, const Element& element)>;

/// Reads designs into an element list and its side data, using the application's element kinds for the
/// "Group" attribute.
class AsciiReader {
 public:
  explicit AsciiReader(const model::ElementKinds& kinds) : kinds_(kinds) {}

  /// Reads the design file. Without `append` the elements, attribute names and kind prefixes of `data` are
  /// replaced; with `append` the elements go after the existing ones. The designation map, headings and
  /// roles are only read.
  ///
  /// Throws UnreadableFile when the file cannot be read and DamagedFile (kUnknownFormat) when it is not a
  /// P-CAD ASCII design; then `data` is as it was. The list is replaced (or extended) only once the whole
  /// file has been read.
  AsciiReadResult ReadFile(const std::filesystem::path& path, bool append, ListData& data);

  /// Reads a design held in memory, as ReadFile does; `file_text` (code page 1251) is the "Файл" attribute of
  /// its elements. Throws DamagedFile for an unknown format. `on_element`, when given, is told of every
  /// element read, in list order, once it is complete (with its designator prefix), while the design is
  /// scanned.
  AsciiReadResult ReadBytes(std::string_view bytes, std::string_view file_text, bool append, ListData& data,
                            const ElementHook& on_element = {});

 private:
  const model::ElementKinds& kinds_;
};

/// True when the bytes begin with the first line of a P-CAD ASCII design: a line that holds "ACCEL_ASCII"
/// and no zero byte (binary P-CAD designs begin with "II" and are never taken).
bool IsAsciiDesign(std::string_view bytes);

/// The text by which the program names a source file (the "Файл" attribute, the designation map, the
/// report): the path made absolute against the current folder, not canonicalised, in code page 1251.
std::string FileText(const std::filesystem::path& path);

/// The whole contents of a file; throws UnreadableFile naming the file when it cannot be opened or read.
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace tallyform::elements
