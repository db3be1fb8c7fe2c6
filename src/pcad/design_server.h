#pragma once
// The P-CAD design link of the program on systems without P-CAD: a Dbx over P-CAD ASCII design files.
// "Opening" a design reads its file; the walks deliver the components of its netlist with their attributes,
// and for a board its layers and text styles; attribute changes are kept in memory until SaveDesign writes
// the file back. A saved file keeps every byte the changes did not touch.
//
// Like a running P-CAD it holds one design at a time: opening another while one is open answers 32106
// (busy), opening the open one again 32104. Closing without "FileClose" leaves the design loaded (its unsaved
// changes too), as P-CAD leaves it open in its window; the next open takes it up again unless the file has
// changed on disk since.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "ports/dbx.h"

namespace tallyform::pcad {

class DesignServer : public ports::Dbx {
 public:
  DesignServer();
  ~DesignServer() override;
  DesignServer(const DesignServer&) = delete;
  DesignServer& operator=(const DesignServer&) = delete;

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

  /// True while a design is loaded (open, or closed without "FileClose").
  bool HoldsDesign() const;

  class Design;

 private:
  bool Live(ports::DbxHandle handle) const;

  std::unique_ptr<Design> design_;
  bool connected_ = false;
  ports::DbxHandle handle_ = 0;
  ports::DbxHandle next_handle_ = 1;
};

}  // namespace tallyform::pcad
