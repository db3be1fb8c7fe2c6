// libFuzzer target: any bytes through the ASCII design reader, as a fresh reading and as an appended one.
// The reader must refuse or read them, never crash, hang or grow without limit.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "app/design_reader.h"
#include "elements/ascii_reader.h"
#include "model/element_kinds.h"
#include "model/errors.h"
#include "valuecheck/value_check.h"

namespace {

using namespace tallyform;

struct Setup {
  Setup()
      : folder(std::filesystem::temp_directory_path() / ("tallyform-fuzz-" + std::to_string(::getpid()))),
        check((std::filesystem::create_directories(folder), folder / "errors.log")),
        reader(kinds, check) {
    kinds.FillBuiltIn();
  }
  ~Setup() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
  model::ElementKinds kinds;
  valuecheck::ValueCheck check;
  app::DesignReader reader;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Setup setup;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  elements::ListData list;
  bool mismatch = false;
  try {
    setup.reader.ReadBytes(bytes, "fuzz.pcb", false, list, mismatch);
    const std::size_t first = list.elements.count();
    setup.reader.ReadBytes(bytes, "fuzz.pcb", true, list, mismatch);
    if (list.elements.count() != 2 * first) __builtin_trap();
    for (const auto& element : list.elements.storage()) {
      if (model::BeginsWithDigit(element->Get(model::kRefDes))) __builtin_trap();
    }
  } catch (const DamagedFile&) {
    if (elements::IsAsciiDesign(bytes)) __builtin_trap();  // a design is never refused
  }
  return 0;
}
