// libFuzzer target: any bytes as a board and as a schematic through the design server: every walk, RefDes2
// added to every component that takes it, a save, and the saved board opened again. The server must answer
// with statuses, never crash or hang, and a saved board must show every attribute it took.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "pcad/design_server.h"

namespace {

using namespace tallyform;

struct Setup {
  Setup()
      : folder(std::filesystem::temp_directory_path() /
               ("tallyform-fuzz-dbx-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder);
  }
  ~Setup() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
};

void Walk(ports::Dbx& dbx, ports::DbxHandle handle, std::vector<std::string>& designators) {
  ports::DbxComponent component;
  for (auto status = dbx.GetFirstComponent(handle, component); status == 0;
       status = dbx.GetNextComponent(handle, component)) {
    designators.push_back(component.designator);
    ports::DbxAttribute attribute;
    for (auto a = dbx.GetFirstCompAttribute(handle, component.designator, attribute); a == 0;
         a = dbx.GetNextCompAttribute(handle, attribute)) {
    }
  }
  ports::DbxLayer layer;
  for (auto status = dbx.GetFirstLayer(handle, layer); status == 0;
       status = dbx.GetNextLayer(handle, layer)) {
  }
}

bool HasRefDes2(ports::Dbx& dbx, ports::DbxHandle handle, const std::string& designator) {
  ports::DbxAttribute attribute;
  for (auto a = dbx.GetFirstCompAttribute(handle, designator, attribute); a == 0;
       a = dbx.GetNextCompAttribute(handle, attribute)) {
    if (attribute.name == "RefDes2") return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Setup setup;
  const std::filesystem::path file = setup.folder / "design.pcb";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  pcad::DesignServer server;
  ports::DbxHandle handle = 0;
  if (server.OpenDesign(ports::kDbxVersion, "sch:" + file.string(), handle) == 0) {
    std::vector<std::string> designators;
    Walk(server, handle, designators);
    if (server.CloseDesign(handle, "FileClose") != 0) __builtin_trap();
  }
  if (server.OpenDesign(ports::kDbxVersion, "pcb:" + file.string(), handle) != 0) return 0;
  std::vector<std::string> designators;
  Walk(server, handle, designators);
  ports::DbxLayer layer;
  const std::int32_t layer_id = server.GetFirstLayer(handle, layer) == 0 ? layer.id : 0;
  std::vector<std::string> added;
  for (const std::string& designator : designators) {
    ports::DbxAttribute attribute;
    attribute.name = "RefDes2";
    attribute.value = designator;
    attribute.layer_id = layer_id;
    attribute.justification = 5;
    attribute.is_visible = 1;
    if (server.AddCompAttribute(handle, designator, attribute) == 0) added.push_back(designator);
  }
  if (server.SaveDesign(handle) != 0) __builtin_trap();
  if (server.CloseDesign(handle, "FileClose") != 0) __builtin_trap();
  if (server.OpenDesign(ports::kDbxVersion, "pcb:" + file.string(), handle) != 0) __builtin_trap();
  for (const std::string& designator : added) {
    if (!HasRefDes2(server, handle, designator)) __builtin_trap();
  }
  server.CloseDesign(handle, "FileClose");
  return 0;
}
