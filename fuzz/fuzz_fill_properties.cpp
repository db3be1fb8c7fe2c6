// Makes up one to four designs and the fill parameters from the input (the generator of the property tests,
// tests/support/random_designs.h, drawing its choices from the bytes), fills them as the list of elements,
// the bill and the simple bill merged and in separate lists, and aborts when a fill breaks a rule of
// tests/support/fill_invariants.h. Any crash, hang, runaway allocation or exception is a fault too.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "document/document.h"
#include "elements/element_order.h"
#include "model/document_kind.h"
#include "support/fill_invariants.h"
#include "support/random_designs.h"

namespace {

using namespace tallyform;

const std::filesystem::path& ReportFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code error;
    std::filesystem::path made =
        std::filesystem::temp_directory_path(error) / "tallyform_fuzz_fill_properties";
    std::filesystem::create_directories(made, error);
    return made;
  }();
  return folder;
}

struct Fill {
  model::DocumentKind kind;
  elements::MergeChoice merge;
  const char* label;
};
constexpr Fill kFills[] = {
    {model::DocumentKind::kElementList, elements::MergeChoice::kSeparateLists, "list"},
    {model::DocumentKind::kPurchasedBill, elements::MergeChoice::kSeparateLists, "bill"},
    {model::DocumentKind::kSimpleBill, elements::MergeChoice::kSeparateLists, "simple bill, separate lists"},
    {model::DocumentKind::kSimpleBill, elements::MergeChoice::kOneList, "simple bill, one list"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::ByteChoices choices(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::vector<testing::GeneratedDesign> designs = testing::GenerateDesigns(choices);
  for (const Fill& fill : kFills) {
    const model::FillParameters parameters = testing::GenerateParameters(choices, fill.kind);
    testing::FakeFillPorts ports(ReportFolder() / "errors.log");
    const app::DocumentSession session =
        testing::FillDesigns(designs, fill.kind, fill.merge, parameters, ports.tools());
    const document::Document& document = session.document();
    const std::vector<std::string> problems =
        testing::FillInvariants(document, designs, fill.merge).Violations();
    if (problems.empty()) continue;
    std::fprintf(stderr, "%s, gap %d, tail %d, %zu sheets:\n", fill.label, parameters.gap, parameters.tail,
                 document.sheets().sheet_count());
    for (const std::string& problem : problems) std::fprintf(stderr, "  %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
