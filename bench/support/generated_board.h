#pragma once
// A generated design read once into an element list, with the element kinds and a value check whose report
// lies in a folder of its own, removed with the board.

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/design_reader.h"
#include "design_generator.h"
#include "elements/ascii_reader.h"
#include "elements/list_data.h"
#include "model/element_kinds.h"
#include "valuecheck/value_check.h"

namespace tallyform::bench {

class GeneratedBoard {
 public:
  /// Reads a generated design of `components` components; `name` keeps the report folders of several
  /// boards apart.
  GeneratedBoard(std::size_t components, const std::string& name)
      : folder_(std::filesystem::temp_directory_path() /
                ("tallyform-bench-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    kinds_.FillBuiltIn();
    check_ = std::make_unique<valuecheck::ValueCheck>(folder_ / "errors.log");
    DesignOptions options;
    options.components = components;
    app::DesignReader reader(kinds_, *check_);
    bool mismatch = false;
    reader.ReadBytes(GenerateDesign(options), "D:\\Projects\\Generated\\board.pcb", false, data_, mismatch);
  }
  ~GeneratedBoard() {
    check_.reset();
    std::filesystem::remove_all(folder_);
  }
  GeneratedBoard(const GeneratedBoard&) = delete;
  GeneratedBoard& operator=(const GeneratedBoard&) = delete;

  elements::ListData& data() { return data_; }
  const elements::ListData& data() const { return data_; }
  const model::ElementKinds& kinds() const { return kinds_; }
  valuecheck::ValueCheck& check() { return *check_; }

 private:
  std::filesystem::path folder_;
  model::ElementKinds kinds_;
  std::unique_ptr<valuecheck::ValueCheck> check_;
  elements::ListData data_;
};

}  // namespace tallyform::bench
