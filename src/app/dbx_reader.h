#pragma once
// Reading a design through the P-CAD design link: two passes, each with its own open and close. The first
// gathers the attribute names, the second the elements; the names are taken into the list only once the
// second pass has read the elements, so a failed second open leaves names and elements together as they were.

#include <filesystem>

namespace tallyform::elements {
struct ListData;
}  // namespace tallyform::elements
namespace tallyform::model {
class ElementKinds;
}  // namespace tallyform::model
namespace tallyform::ports {
class Dbx;
class Prompts;
}  // namespace tallyform::ports
namespace tallyform::valuecheck {
class ValueCheck;
}  // namespace tallyform::valuecheck

namespace tallyform::app {

/// What the link is asked to open.
enum class DbxDesignKind { kSchematic, kBoard };

/// The question asked once the elements are read: Yes closes the design file in P-CAD.
std::string DbxCloseQuestion(const std::filesystem::path& path);

/// Reads the design `path` of `kind` through `dbx` into `data`:
/// - pass 1 takes the attribute names of every component whose designator does not begin with a digit (the
///   package-role name right after the value-role name), then "Количество" and "Куда входит";
/// - pass 2 takes the elements: every attribute as delivered ("Value" normalized by the designator's first
///   letter), the package-role attribute from the component's pattern name, and the derived attributes as the
///   ASCII reader sets them; resistors and capacitors go through `check` (with `append` off its report starts
///   afresh and `mismatch` is cleared first; a failed check sets it);
/// - then asks DbxCloseQuestion (titled "Вопрос", No by default) and closes with "FileClose" on Yes.
/// Without `append` the elements, names and prefixes are replaced, with it extended. A failing open in either
/// pass shows its status ("Ошибка P-CAD") and returns false with `data` as it was; a failing close is shown
/// and the reading stands.
bool ReadDesignThroughDbx(ports::Dbx& dbx, ports::Prompts& prompts, const model::ElementKinds& kinds,
                          valuecheck::ValueCheck& check, const std::filesystem::path& path,
                          DbxDesignKind kind, bool append, elements::ListData& data, bool& mismatch);

}  // namespace tallyform::app
