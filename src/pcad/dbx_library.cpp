#include "pcad/dbx_library.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "model/platform.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace tallyform::pcad {
namespace {

#if defined(_WIN32)
class LoadedLibrary : public SymbolSource {
 public:
  explicit LoadedLibrary(HMODULE module) : module_(module) {}
  ~LoadedLibrary() override { FreeLibrary(module_); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  void* Find(const char* name) override { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }

 private:
  HMODULE module_;
};
#else
class LoadedLibrary : public SymbolSource {
 public:
  explicit LoadedLibrary(void* module) : module_(module) {}
  ~LoadedLibrary() override { dlclose(module_); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  void* Find(const char* name) override { return dlsym(module_, name); }

 private:
  void* module_;
};
#endif

template <typename Function>
bool Bind(SymbolSource& symbols, const char* name, Function& function) {
  function = reinterpret_cast<Function>(symbols.Find(name));
  return function != nullptr;
}

std::int32_t ReadLong(const unsigned char* record, std::size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

void WriteLong(unsigned char* record, std::size_t offset, std::int32_t value) {
  std::memcpy(record + offset, &value, sizeof value);
}

/// The zero-terminated text at `offset`, read no further than `end`.
std::string ReadText(const unsigned char* record, std::size_t offset, std::size_t end) {
  const char* begin = reinterpret_cast<const char*>(record + offset);
  return std::string(begin, std::find(begin, begin + (end - offset), '\0'));
}

/// Writes `text` at `offset`, cut so that it and its terminating zero end before `end`.
void WriteText(unsigned char* record, std::size_t offset, std::size_t end, const std::string& text) {
  const std::size_t length = std::min(text.size(), end - offset - 1);
  std::memcpy(record + offset, text.data(), length);
  record[offset + length] = 0;
}

#if defined(_WIN32)
std::string AnsiText(const std::wstring& wide, bool& exact) {
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                       static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
  std::string ansi(static_cast<std::size_t>(std::max(size, 0)), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                        size, nullptr, &lossy);
  }
  exact = lossy == FALSE;
  return ansi;
}
#endif

}  // namespace

std::string LibraryDesignName(const std::string& design_name) {
#if defined(_WIN32)
  // P-CAD's library takes the name in the system's ANSI code page. A name that code page cannot spell
  // (Cyrillic letters on a machine set to another language) is given by the file's short name, which it
  // always can.
  if (design_name.size() < 4) return design_name;
  const std::wstring wide = model::PathFromUtf8(std::string_view(design_name).substr(4)).wstring();
  bool exact = false;
  std::string ansi = AnsiText(wide, exact);
  if (!exact) {
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size > 0) {
      std::wstring short_name(size, L'\0');
      const DWORD length = GetShortPathNameW(wide.c_str(), short_name.data(), size);
      if (length > 0 && length < size) {
        short_name.resize(length);
        ansi = AnsiText(short_name, exact);
      }
    }
  }
  return design_name.substr(0, 4) + ansi;
#else
  return design_name;
#endif
}

std::unique_ptr<SymbolSource> LoadDbxLibrary(const std::filesystem::path& path) {
#if defined(_WIN32)
  HMODULE module = LoadLibraryW(path.c_str());
#else
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
  if (module == nullptr) return nullptr;
  return std::make_unique<LoadedLibrary>(module);
}

DbxLibrary::DbxLibrary(std::unique_ptr<SymbolSource> symbols) : symbols_(std::move(symbols)) {
  if (symbols_ == nullptr) return;
  SymbolSource& s = *symbols_;
  // Every function is looked up, so that each one found is known; the link works only with all of them.
  bool all = true;
  all &= Bind(s, "TOpenDesign", open_design_);
  all &= Bind(s, "TGetFirstComponent", get_first_component_);
  all &= Bind(s, "TGetNextComponent", get_next_component_);
  all &= Bind(s, "TGetFirstCompAttribute", get_first_comp_attribute_);
  all &= Bind(s, "TGetNextCompAttribute", get_next_comp_attribute_);
  all &= Bind(s, "TModifyCompAttribute", modify_comp_attribute_);
  all &= Bind(s, "TAddCompAttribute", add_comp_attribute_);
  all &= Bind(s, "TGetFirstLayer", get_first_layer_);
  all &= Bind(s, "TGetNextLayer", get_next_layer_);
  all &= Bind(s, "TGetTextStyle", get_text_style_);
  all &= Bind(s, "TSaveDesign", save_design_);
  all &= Bind(s, "TCloseDesign", close_design_);
  bound_ = all;
}

DbxLibrary::~DbxLibrary() = default;

std::int32_t DbxLibrary::OpenDesign(std::int32_t version, const std::string& design_name,
                                    ports::DbxHandle& handle) {
  if (!bound_) return kDbxConnectionError;
  dbx32::Long opened = 0;
  const std::int32_t status = open_design_(0, version, LibraryDesignName(design_name).c_str(), &opened);
  handle = opened;
  return status;
}

std::int32_t DbxLibrary::GetComponent(dbx32::GetComponent function, ports::DbxHandle handle,
                                      ports::DbxComponent& component) {
  if (!bound_) return kDbxConnectionError;
  std::array<unsigned char, dbx32::kComponentSize> record{};
  const std::int32_t status = function(handle, record.data());
  if (status != 0) return status;
  const unsigned char* r = record.data();
  component = ports::DbxComponent{};
  component.id = ReadLong(r, dbx32::kComponentId);
  component.designator = ReadText(r, dbx32::kComponentDesignator, dbx32::kComponentPattern);
  component.pattern_name = ReadText(r, dbx32::kComponentPattern, dbx32::kComponentX);
  component.x = ReadLong(r, dbx32::kComponentX);
  component.y = ReadLong(r, dbx32::kComponentY);
  component.rotation = ReadLong(r, dbx32::kComponentRotation);
  component.is_flipped = ReadLong(r, dbx32::kComponentFlipped);
  component.is_fixed = ReadLong(r, dbx32::kComponentFixed);
  return status;
}

std::int32_t DbxLibrary::GetFirstComponent(ports::DbxHandle handle, ports::DbxComponent& component) {
  return GetComponent(get_first_component_, handle, component);
}

std::int32_t DbxLibrary::GetNextComponent(ports::DbxHandle handle, ports::DbxComponent& component) {
  return GetComponent(get_next_component_, handle, component);
}

void DbxLibrary::Deliver(const AttributeRecord& record, ports::DbxAttribute& attribute) {
  const unsigned char* r = record.data();
  attribute = ports::DbxAttribute{};
  attribute.name = ReadText(r, dbx32::kAttributeName, dbx32::kAttributeValue);
  attribute.value = ReadText(r, dbx32::kAttributeValue, dbx32::kAttributeType);
  attribute.type_text = ReadText(r, dbx32::kAttributeType, dbx32::kAttributeUnit);
  attribute.unit_text = ReadText(r, dbx32::kAttributeUnit, dbx32::kAttributeStyle);
  attribute.text_style = ReadLong(r, dbx32::kAttributeStyle);
  attribute.justification = ReadLong(r, dbx32::kAttributeJustification);
  attribute.x = ReadLong(r, dbx32::kAttributeX);
  attribute.y = ReadLong(r, dbx32::kAttributeY);
  attribute.rotation = ReadLong(r, dbx32::kAttributeRotation);
  attribute.owner_id = ReadLong(r, dbx32::kAttributeOwner);
  attribute.layer_id = ReadLong(r, dbx32::kAttributeLayer);
  attribute.is_flipped = ReadLong(r, dbx32::kAttributeFlipped);
  attribute.is_fixed = ReadLong(r, dbx32::kAttributeFixed);
  attribute.is_visible = ReadLong(r, dbx32::kAttributeVisible);
  attribute.kind = ReadLong(r, dbx32::kAttributeKind);
  walked_attributes_.insert_or_assign(attribute.name, record);
}

std::int32_t DbxLibrary::GetFirstCompAttribute(ports::DbxHandle handle, const std::string& designator,
                                               ports::DbxAttribute& attribute) {
  if (!bound_) return kDbxConnectionError;
  walked_designator_ = designator;
  walked_attributes_.clear();
  AttributeRecord record{};
  const std::int32_t status = get_first_comp_attribute_(handle, designator.c_str(), record.data());
  if (status == 0) Deliver(record, attribute);
  return status;
}

std::int32_t DbxLibrary::GetNextCompAttribute(ports::DbxHandle handle, ports::DbxAttribute& attribute) {
  if (!bound_) return kDbxConnectionError;
  AttributeRecord record{};
  const std::int32_t status = get_next_comp_attribute_(handle, record.data());
  if (status == 0) Deliver(record, attribute);
  return status;
}

namespace {

void Fill(unsigned char* r, const ports::DbxAttribute& attribute) {
  WriteText(r, dbx32::kAttributeName, dbx32::kAttributeValue, attribute.name);
  WriteText(r, dbx32::kAttributeValue, dbx32::kAttributeType, attribute.value);
  WriteText(r, dbx32::kAttributeType, dbx32::kAttributeUnit, attribute.type_text);
  WriteText(r, dbx32::kAttributeUnit, dbx32::kAttributeStyle, attribute.unit_text);
  WriteLong(r, dbx32::kAttributeStyle, attribute.text_style);
  WriteLong(r, dbx32::kAttributeJustification, attribute.justification);
  WriteLong(r, dbx32::kAttributeX, attribute.x);
  WriteLong(r, dbx32::kAttributeY, attribute.y);
  WriteLong(r, dbx32::kAttributeRotation, attribute.rotation);
  WriteLong(r, dbx32::kAttributeOwner, attribute.owner_id);
  WriteLong(r, dbx32::kAttributeLayer, attribute.layer_id);
  WriteLong(r, dbx32::kAttributeFlipped, attribute.is_flipped);
  WriteLong(r, dbx32::kAttributeFixed, attribute.is_fixed);
  WriteLong(r, dbx32::kAttributeVisible, attribute.is_visible);
  WriteLong(r, dbx32::kAttributeKind, attribute.kind);
}

}  // namespace

std::int32_t DbxLibrary::ModifyCompAttribute(ports::DbxHandle handle, const std::string& designator,
                                             const ports::DbxAttribute& attribute) {
  if (!bound_) return kDbxConnectionError;
  AttributeRecord record{};
  if (designator == walked_designator_) {
    if (const auto walked = walked_attributes_.find(attribute.name); walked != walked_attributes_.end())
      record = walked->second;
  }
  Fill(record.data(), attribute);
  return modify_comp_attribute_(handle, designator.c_str(), record.data());
}

std::int32_t DbxLibrary::AddCompAttribute(ports::DbxHandle handle, const std::string& designator,
                                          const ports::DbxAttribute& attribute) {
  if (!bound_) return kDbxConnectionError;
  AttributeRecord record{};
  Fill(record.data(), attribute);
  return add_comp_attribute_(handle, designator.c_str(), record.data());
}

std::int32_t DbxLibrary::GetLayer(dbx32::GetLayer function, ports::DbxHandle handle, ports::DbxLayer& layer) {
  if (!bound_) return kDbxConnectionError;
  std::array<unsigned char, dbx32::kLayerSize> record{};
  const std::int32_t status = function(handle, record.data());
  if (status != 0) return status;
  layer = ports::DbxLayer{};
  layer.id = ReadLong(record.data(), dbx32::kLayerId);
  layer.name = ReadText(record.data(), dbx32::kLayerName, record.size());
  return status;
}

std::int32_t DbxLibrary::GetFirstLayer(ports::DbxHandle handle, ports::DbxLayer& layer) {
  return GetLayer(get_first_layer_, handle, layer);
}

std::int32_t DbxLibrary::GetNextLayer(ports::DbxHandle handle, ports::DbxLayer& layer) {
  return GetLayer(get_next_layer_, handle, layer);
}

std::int32_t DbxLibrary::GetTextStyle(ports::DbxHandle handle, std::int32_t index,
                                      ports::DbxTextStyle& style) {
  if (!bound_) return kDbxConnectionError;
  std::array<unsigned char, dbx32::kTextStyleSize> record{};
  const std::int32_t status = get_text_style_(handle, index, record.data());
  if (status != 0) return status;
  style = ports::DbxTextStyle{};
  style.index = index;
  style.name = ReadText(record.data(), dbx32::kTextStyleName, record.size());
  return status;
}

std::int32_t DbxLibrary::SaveDesign(ports::DbxHandle handle) {
  if (!bound_) return kDbxConnectionError;
  return save_design_(handle);
}

std::int32_t DbxLibrary::CloseDesign(ports::DbxHandle handle, const std::string& option) {
  if (!bound_) return kDbxConnectionError;
  return close_design_(handle, option.c_str());
}

}  // namespace tallyform::pcad
