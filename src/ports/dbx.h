#pragma once
// The P-CAD design link (DBX): a program that holds a design open lets us walk its components, their
// attributes, the layers and text styles of a board, change component attributes and save the design. Every
// use is one open, a walk and one close.
//
// Every call returns a status, 0 meaning success; the values are P-CAD's (see pcad/dbx_status.h). Strings
// are code page 1251. A walk ends at the first non-zero status of its first/next call.

#include <cstdint>
#include <string>

namespace tallyform::ports {

/// A design opened through Dbx::OpenDesign.
using DbxHandle = std::int32_t;

/// The version every caller opens with.
inline constexpr std::int32_t kDbxVersion = 18000;

/// A component of the design. `designator` addresses its attributes; the other values are the link's own
/// and are copied into an attribute added to the component.
struct DbxComponent {
  std::int32_t id = 0;
  std::string designator;
  /// The name of the pattern (footprint) the component is placed with; empty when it has none.
  std::string pattern_name;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t rotation = 0;
  std::int32_t is_flipped = 0;
  std::int32_t is_fixed = 0;
};

/// An attribute of a component. `text_style` counts as GetTextStyle does; `justification` is a DBX code
/// (kRefDes2Justifications in app/assembly_drawing.h lists them); `layer_id` is the id GetFirstLayer
/// delivers, 0 when the attribute takes its layer from the pattern.
struct DbxAttribute {
  std::string name;
  std::string value;
  /// Two further texts a new attribute leaves empty.
  std::string type_text;
  std::string unit_text;
  std::int32_t text_style = 0;
  std::int32_t justification = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t rotation = 0;
  std::int32_t owner_id = 0;
  std::int32_t layer_id = 0;
  std::int32_t is_flipped = 0;
  std::int32_t is_fixed = 0;
  std::int32_t is_visible = 0;
  std::int32_t kind = 0;
};

/// A layer of a board: its id and the name shown to the user.
struct DbxLayer {
  std::int32_t id = 0;
  std::string name;
};

/// A text style of a design.
struct DbxTextStyle {
  std::int32_t index = 0;
  std::string name;
};

class Dbx {
 public:
  virtual ~Dbx() = default;

  /// Opens `design_name` ("sch:" or "pcb:" followed by the file's full path as UTF-8 text) and fills
  /// `handle`. Success is 0, or 32104 when the design is already open through this link (the same handle is
  /// given again).
  virtual std::int32_t OpenDesign(std::int32_t version, const std::string& design_name,
                                  DbxHandle& handle) = 0;
  virtual std::int32_t GetFirstComponent(DbxHandle handle, DbxComponent& component) = 0;
  virtual std::int32_t GetNextComponent(DbxHandle handle, DbxComponent& component) = 0;
  /// The first attribute of the component `designator`; GetNextCompAttribute continues that walk.
  virtual std::int32_t GetFirstCompAttribute(DbxHandle handle, const std::string& designator,
                                             DbxAttribute& attribute) = 0;
  virtual std::int32_t GetNextCompAttribute(DbxHandle handle, DbxAttribute& attribute) = 0;
  /// Changes the attribute of the component named as `attribute.name` to the record's style, justification,
  /// layer and visibility (the value too).
  virtual std::int32_t ModifyCompAttribute(DbxHandle handle, const std::string& designator,
                                           const DbxAttribute& attribute) = 0;
  virtual std::int32_t AddCompAttribute(DbxHandle handle, const std::string& designator,
                                        const DbxAttribute& attribute) = 0;
  virtual std::int32_t GetFirstLayer(DbxHandle handle, DbxLayer& layer) = 0;
  virtual std::int32_t GetNextLayer(DbxHandle handle, DbxLayer& layer) = 0;
  /// The text style at `index`, counted from 0.
  virtual std::int32_t GetTextStyle(DbxHandle handle, std::int32_t index, DbxTextStyle& style) = 0;
  virtual std::int32_t SaveDesign(DbxHandle handle) = 0;
  /// Ends the connection; with the option "FileClose" the design file is closed as well.
  virtual std::int32_t CloseDesign(DbxHandle handle, const std::string& option) = 0;
};

}  // namespace tallyform::ports
