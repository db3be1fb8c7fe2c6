#pragma once
// The P-CAD design link through P-CAD's own DBX library (Dbx32.dll), loaded when the program runs. Each call
// of the port becomes one call of the library's function of the same name (with a "T" in front), its records
// passed as byte buffers and translated to and from the port's structs at the byte offsets below.
//
// What the records carry (every other field of the port's structs stays zero or empty on the way in, and is
// not written on the way out):
//   component:  id (0), designator (4), pattern name (304), x (660), y (664), rotation (684),
//               flipped (704), fixed (708);
//   attribute:  name (4), value (104), the two further texts (360, 872), text style (1144),
//               justification (1148), x (1152), y (1156), rotation (1176), owner id (1180), layer id (1192),
//               flipped (1196), fixed (1200), visible (1204), kind (1208); 1212 bytes in all;
//   layer:      id (0), name (4);
//   text style: name (4); its index is the one asked for.
// An attribute changed with ModifyCompAttribute starts from the bytes the last attribute walk of that
// component delivered for its name, so the fields the port does not carry reach the library unchanged.
//
// Without the library, or when one of its functions is missing, every call answers 32001
// (kDbxConnectionError).

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "pcad/dbx_status.h"
#include "ports/dbx.h"

#if defined(_WIN32) && !defined(_WIN64)
#define TALLYFORM_DBX_CALL __stdcall
#else
#define TALLYFORM_DBX_CALL
#endif

namespace tallyform::pcad {

/// Finds the library's functions by name.
class SymbolSource {
 public:
  virtual ~SymbolSource() = default;
  /// The address of the exported function `name`; nullptr when there is none.
  virtual void* Find(const char* name) = 0;
};

/// Loads the shared library at `path` (LoadLibraryW on Windows, dlopen elsewhere); nullptr when it cannot be
/// loaded. The library stays loaded as long as the source lives.
std::unique_ptr<SymbolSource> LoadDbxLibrary(const std::filesystem::path& path);

/// The design name (see ports::Dbx::OpenDesign) as the library takes it: on Windows the path in the system's
/// ANSI code page, or the file's short name where that code page cannot spell the path; elsewhere unchanged.
std::string LibraryDesignName(const std::string& design_name);

/// The library's functions and records as it sees them: a long is 32 bits there.
namespace dbx32 {

using Long = std::int32_t;

inline constexpr std::size_t kComponentSize = 4096;
inline constexpr std::size_t kAttributeSize = 1212;
inline constexpr std::size_t kLayerSize = 1024;
inline constexpr std::size_t kTextStyleSize = 1024;

inline constexpr std::size_t kComponentId = 0;
inline constexpr std::size_t kComponentDesignator = 4;
inline constexpr std::size_t kComponentPattern = 304;
inline constexpr std::size_t kComponentX = 660;
inline constexpr std::size_t kComponentY = 664;
inline constexpr std::size_t kComponentRotation = 684;
inline constexpr std::size_t kComponentFlipped = 704;
inline constexpr std::size_t kComponentFixed = 708;

inline constexpr std::size_t kAttributeName = 4;
inline constexpr std::size_t kAttributeValue = 104;
inline constexpr std::size_t kAttributeType = 360;
inline constexpr std::size_t kAttributeUnit = 872;
inline constexpr std::size_t kAttributeStyle = 1144;
inline constexpr std::size_t kAttributeJustification = 1148;
inline constexpr std::size_t kAttributeX = 1152;
inline constexpr std::size_t kAttributeY = 1156;
inline constexpr std::size_t kAttributeRotation = 1176;
inline constexpr std::size_t kAttributeOwner = 1180;
inline constexpr std::size_t kAttributeLayer = 1192;
inline constexpr std::size_t kAttributeFlipped = 1196;
inline constexpr std::size_t kAttributeFixed = 1200;
inline constexpr std::size_t kAttributeVisible = 1204;
inline constexpr std::size_t kAttributeKind = 1208;

inline constexpr std::size_t kLayerId = 0;
inline constexpr std::size_t kLayerName = 4;
inline constexpr std::size_t kTextStyleName = 4;

using OpenDesign = Long(TALLYFORM_DBX_CALL*)(Long language, Long version, const char* name, Long* handle);
using GetComponent = Long(TALLYFORM_DBX_CALL*)(Long handle, void* component);
using GetFirstCompAttribute = Long(TALLYFORM_DBX_CALL*)(Long handle, const char* designator, void* attribute);
using GetNextCompAttribute = Long(TALLYFORM_DBX_CALL*)(Long handle, void* attribute);
using ChangeCompAttribute = Long(TALLYFORM_DBX_CALL*)(Long handle, const char* designator, void* attribute);
using GetLayer = Long(TALLYFORM_DBX_CALL*)(Long handle, void* layer);
using GetTextStyle = Long(TALLYFORM_DBX_CALL*)(Long handle, Long index, void* style);
using SaveDesign = Long(TALLYFORM_DBX_CALL*)(Long handle);
using CloseDesign = Long(TALLYFORM_DBX_CALL*)(Long handle, const char* option);

}  // namespace dbx32

class DbxLibrary : public ports::Dbx {
 public:
  /// Binds to the functions `symbols` finds; a null source binds nothing.
  explicit DbxLibrary(std::unique_ptr<SymbolSource> symbols);
  ~DbxLibrary() override;
  DbxLibrary(const DbxLibrary&) = delete;
  DbxLibrary& operator=(const DbxLibrary&) = delete;

  /// True when every function was found.
  bool Bound() const { return bound_; }

  std::int32_t OpenDesign(std::int32_t version, const std::string& design_name,
                          ports::DbxHandle& handle) override;
  std::int32_t GetFirstComponent(ports::DbxHandle handle, ports::DbxComponent& component) override;
  std::int32_t GetNextComponent(ports::DbxHandle handle, ports::DbxComponent& component) override;
  std::int32_t GetFirstCompAttribute(ports::DbxHandle handle, const std::string& designator,
                                     ports::DbxAttribute& attribute) override;
  std::int32_t GetNextCompAttribute(ports::DbxHandle handle, ports::DbxAttribute& attribute) override;
  std::int32_t ModifyCompAttribute(ports::DbxHandle handle, const std::string& designator,
                                   const ports::DbxAttribute& attribute) override;
  std::int32_t AddCompAttribute(ports::DbxHandle handle, const std::string& designator,
                                const ports::DbxAttribute& attribute) override;
  std::int32_t GetFirstLayer(ports::DbxHandle handle, ports::DbxLayer& layer) override;
  std::int32_t GetNextLayer(ports::DbxHandle handle, ports::DbxLayer& layer) override;
  std::int32_t GetTextStyle(ports::DbxHandle handle, std::int32_t index, ports::DbxTextStyle& style) override;
  std::int32_t SaveDesign(ports::DbxHandle handle) override;
  std::int32_t CloseDesign(ports::DbxHandle handle, const std::string& option) override;

 private:
  using AttributeRecord = std::array<unsigned char, dbx32::kAttributeSize>;

  std::int32_t GetComponent(dbx32::GetComponent function, ports::DbxHandle handle,
                            ports::DbxComponent& component);
  std::int32_t GetLayer(dbx32::GetLayer function, ports::DbxHandle handle, ports::DbxLayer& layer);
  /// Keeps the record of a delivered attribute and fills `attribute` from it.
  void Deliver(const AttributeRecord& record, ports::DbxAttribute& attribute);

  std::unique_ptr<SymbolSource> symbols_;
  bool bound_ = false;
  dbx32::OpenDesign open_design_ = nullptr;
  dbx32::GetComponent get_first_component_ = nullptr;
  dbx32::GetComponent get_next_component_ = nullptr;
  dbx32::GetFirstCompAttribute get_first_comp_attribute_ = nullptr;
  dbx32::GetNextCompAttribute get_next_comp_attribute_ = nullptr;
  dbx32::ChangeCompAttribute modify_comp_attribute_ = nullptr;
  dbx32::ChangeCompAttribute add_comp_attribute_ = nullptr;
  dbx32::GetLayer get_first_layer_ = nullptr;
  dbx32::GetLayer get_next_layer_ = nullptr;
  dbx32::GetTextStyle get_text_style_ = nullptr;
  dbx32::SaveDesign save_design_ = nullptr;
  dbx32::CloseDesign close_design_ = nullptr;

  /// The component of the last attribute walk, and the records it delivered by attribute name.
  std::string walked_designator_;
  std::map<std::string, AttributeRecord> walked_attributes_;
};

}  // namespace tallyform::pcad
