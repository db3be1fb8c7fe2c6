// Makes up designs from the input (the generator of the property tests, tests/support/random_designs.h,
// drawing its choices from the bytes), fills them as every document kind, and gives each document a run of
// row commands drawn from the bytes that follow: inserting, deleting, cutting, copying and pasting rows,
// editing cells in place and through the cell text dialog, undo and redo. Aborts when a command breaks a
// promise of tests/support/row_commands.h; any crash, hang, runaway allocation or exception is a fault too.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "elements/element_order.h"
#include "model/document_kind.h"
#include "support/random_designs.h"
#include "support/row_commands.h"

using namespace tallyform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::ByteChoices choices(std::string_view(reinterpret_cast<const char*>(data), size));
  testing::FakeFillPorts ports(std::filesystem::temp_directory_path() / "tallyform_fuzz_row_edits.log");
  const model::DocumentKind kind = static_cast<model::DocumentKind>(choices.Below(model::kDocumentKindCount));
  const elements::MergeChoice merge =
      choices.OneIn(2) ? elements::MergeChoice::kOneList : elements::MergeChoice::kSeparateLists;
  const std::vector<std::string> problems = testing::RunRowCommands(choices, kind, merge, ports.tools(), 40);
  if (problems.empty()) return 0;
  std::fprintf(stderr, "kind %d:\n", static_cast<int>(kind));
  for (const std::string& problem : problems) std::fprintf(stderr, "  %s\n", problem.c_str());
  std::abort();
}
