#pragma once
// Designs made up for tests of the fills, and the whole road from them to a filled document, through the
// fill sequence every front end takes.
//
// A design is a list of components with designators, names, values, packages, supply documents and notes; it
// is written as a P-CAD ASCII design and read back by the reader, as a user's designs are. The generator
// draws its choices from a Choices source: a seeded engine in the property tests, the input bytes in the fuzz
// target.
//
// Generated designs keep to a few rules that make the fill checkable (see fill_invariants.h): designator
// numbers of a prefix run on across all designs (R1...R7 in the first, R8... in the next), the files sort in
// the order of the designs, and a name fixes the value and the package of a component, up to letter case.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/design_reader.h"
#include "app/document_session.h"
#include "app/fill_workflow.h"
#include "document/document.h"
#include "document/fill_parameters.h"
#include "document/fill_sheets.h"
#include "elements/ascii_reader.h"
#include "elements/default_headings.h"
#include "elements/element_order.h"
#include "elements/list_data.h"
#include "model/attributes.h"
#include "model/element_kinds.h"
#include "support/fake_ports.h"
#include "support/fake_text_measurer.h"
#include "text/case_fold.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::testing {

using namespace tallyform::text::literals;

/// Where the choices of the generator come from.
class Choices {
 public:
  virtual ~Choices() = default;
  /// A number from 0 to count - 1 (count >= 1).
  virtual std::size_t Below(std::size_t count) = 0;

  /// A number from low to high, both included.
  int Between(int low, int high) {
    return low + static_cast<int>(Below(static_cast<std::size_t>(high - low) + 1));
  }
  /// True once in `times` on average; false from a source that has run dry (0 every time), so that what is
  /// rare stays rare.
  bool OneIn(std::size_t times) { return Below(times) + 1 == times; }
};

/// Choices from a seeded engine: the same seed gives the same designs everywhere.
class SeededChoices : public Choices {
 public:
  explicit SeededChoices(std::uint32_t seed) : engine_(seed) {}
  std::size_t Below(std::size_t count) override { return static_cast<std::size_t>(engine_() % count); }

 private:
  std::mt19937 engine_;
};

/// Choices read from bytes, one for a choice among up to 256 numbers and two for a larger one; once the
/// bytes are used up every choice is 0, and the designs end soon after.
class ByteChoices : public Choices {
 public:
  explicit ByteChoices(std::string_view bytes) : bytes_(bytes) {}
  std::size_t Below(std::size_t count) override {
    std::size_t word = 0;
    for (int i = count > 256 ? 2 : 1; i > 0 && position_ < bytes_.size(); --i)
      word = (word << 8) | static_cast<unsigned char>(bytes_[position_++]);
    return word % count;
  }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

/// One component of a made-up design.
struct GeneratedElement {
  std::string designator;
  std::string name;  ///< "Type"
  std::string value;
  std::string package;
  std::string supply_document;  ///< "ТУ", empty for none
  std::string note;             ///< "Note", empty for none
};

/// A made-up design: its file, the unit its elements go into ("" for none) and its components in file order.
struct GeneratedDesign {
  std::string file;
  std::string unit;
  std::vector<GeneratedElement> elements;
};

/// The attribute the generated notes are kept in.
inline constexpr std::string_view kNoteAttribute = "Note";

/// The text of a P-CAD ASCII design that holds the components, one component instance each.
inline std::string DesignText(const GeneratedDesign& design) {
  std::string text = "ACCEL_ASCII \"" + design.file + "\"\n\n(netlist \"Netlist_1\"\n";
  const auto attribute = [&](std::string_view name, std::string_view value) {
    if (value.empty()) return;
    text.append("    (attr \"").append(name).append("\" \"").append(value).append("\" )\n");
  };
  for (const GeneratedElement& e : design.elements) {
    text.append("  (compInst \"").append(e.designator).append("\"\n");
    text.append("    (originalName \"").append(e.name).append("\")\n");
    if (!e.value.empty()) text.append("    (compValue \"").append(e.value).append("\")\n");
    text.append("    (patternName \"").append(e.package).append("\")\n");
    attribute(model::kSupplyDoc, e.supply_document);
    attribute(kNoteAttribute, e.note);
    text.append("  )\n");
  }
  text.append(")\n");
  return text;
}

namespace detail {

struct PrefixNames {
  std::string_view prefix;
  std::array<std::string_view, 3> stems;
  std::array<std::string_view, 3> values;  ///< "" for kinds without a value
};

// Every category of the simple bill, kinds that share a group (D, DA, DD), prefixes of one, two and three
// letters, and prefixes no kind knows (NN, NTC). Of the three letters, MOV is a kind of its own and LED
// falls back to the kind of L, so that its elements stand in one group with the inductors and beside them
// in one run of the sort.
inline const std::array<PrefixNames, 29>& Prefixes() {
  static const std::array<PrefixNames, 29> prefixes{{
      {"R", {"Р1-12-0,125"_cp, "С2-33Н-0,25"_cp, "Р1-8П"_cp}, {"10k", "4k7", "100"}},
      {"C", {"К10-17б-Н90"_cp, "К73-17-63 В"_cp, "К50-35-16 В"_cp}, {"0,1", "100", "22"}},
      {"DD", {"К561ЛА7"_cp, "К1533ЛН1"_cp, "КР1554ТМ2"_cp}, {"", "", ""}},
      {"DA", {"К140УД7"_cp, "КР142ЕН5А"_cp, "LM358"}, {"", "", ""}},
      {"D", {"К555ИЕ7"_cp, "AT24C02", "КР580ВМ80"_cp}, {"", "", ""}},
      {"VT", {"КТ315Б"_cp, "2Т630А"_cp, "IRF540"}, {"", "", ""}},
      {"VD", {"КД522Б"_cp, "Д814А"_cp, "1N4007"}, {"", "", ""}},
      {"VS", {"КУ202Н"_cp, "BT136", "2У107А"_cp}, {"", "", ""}},
      {"L", {"ДМ-0,1"_cp, "CW68-100", "ДПМ-1,2"_cp}, {"100", "22", "4,7"}},
      {"T", {"ТП-112"_cp, "ТИМ-2"_cp, "ТН-36"_cp}, {"", "", ""}},
      {"ZQ", {"РК-169"_cp, "HC-49U", "КХ-32"_cp}, {"4 МГц"_cp, "32768 Гц"_cp, "16 МГц"_cp}},
      {"FU", {"ВП1-1"_cp, "ВПБ6-10"_cp, "MF-R050"}, {"0,5 А"_cp, "1 А"_cp, "2 А"_cp}},
      {"F", {"S14K275", "ВР-1"_cp, "TVR10"}, {"", "", ""}},
      {"HL", {"АЛ307БМ"_cp, "КИПД40"_cp, "L-53HD"}, {"", "", ""}},
      {"K", {"РЭС-49"_cp, "TRU-5V", "РЭК-23"_cp}, {"", "", ""}},
      {"XS", {"PLS-40", "DB-9F", "IDC-10"}, {"", "", ""}},
      {"XP", {"PLD-10", "ОНп-КГ-26"_cp, "BH-20"}, {"", "", ""}},
      {"X", {"WF-2", "СНП59"_cp, "KLS1-204"}, {"", "", ""}},
      {"SA", {"ПКН-61"_cp, "SWT-3", "МП-7"_cp}, {"", "", ""}},
      {"BQ", {"ZQ-1", "РГ-05"_cp, "КВ-3"_cp}, {"", "", ""}},
      {"U", {"АОТ101"_cp, "PC817", "TLP521"}, {"", "", ""}},
      {"A", {"Модуль питания"_cp, "Плата индикации"_cp, "МП-12"_cp}, {"", "", ""}},
      {"GB", {"CR2032", "ЛИТ-3"_cp, "6F22"}, {"", "", ""}},
      {"PV", {"М4200"_cp, "В7-38"_cp, "DVM-1"}, {"", "", ""}},
      {"E", {"ЕК-1"_cp, "Нагреватель"_cp, "Э-4"_cp}, {"", "", ""}},
      {"NN", {"Изделие"_cp, "Item", "Деталь"_cp}, {"", "", ""}},
      {"MOV", {"S10K275", "FNR-14K471", "ВР-2"_cp}, {"275 В"_cp, "420 В"_cp, "680 В"_cp}},
      {"LED", {"L-7104GD", "КИПД21А"_cp, "BL-L513"}, {"", "", ""}},
      {"NTC", {"B57164-K103", "MF52-103", "СТ1-17"_cp}, {"10k", "4k7", "100"}},
  }};
  return prefixes;
}

// Words long names are made of; breaks fall after blanks, points, commas, hyphens.
inline constexpr std::array<std::string_view, 8> kWords{
    "исполнение"_cp,        "повышенной"_cp, "надежности"_cp, "ОЖ0.467.093ТУ"_cp,
    "всеклиматическое,"_cp, "приемка-5"_cp,  "Ряд_Е24"_cp,    "(аналог)"_cp};

inline std::string Words(Choices& choices, int length) {
  std::string text;
  while (static_cast<int>(text.size()) < length) {
    if (!text.empty()) text.push_back(' ');
    text.append(kWords[choices.Below(kWords.size())]);
  }
  return text;
}

// A text of about `length` characters now and then, "" otherwise.
inline std::string MaybeLong(Choices& choices, std::size_t one_in, int length) {
  return choices.OneIn(one_in) ? Words(choices, length) : std::string();
}

inline std::string VaryCase(Choices& choices, std::string_view name) {
  std::string varied(name);
  if (!choices.OneIn(4)) return varied;
  for (char& c : varied) {
    if (choices.OneIn(2)) c = choices.OneIn(2) ? text::UpperByte(c) : text::FoldByte(c);
  }
  return varied;
}

// A component kind as a design uses it: what its name is made of.
struct Item {
  std::string name;
  std::string value;
  std::string package;
};

}  // namespace detail

/// Between one and four designs that a fill must take apart and count: runs of equal neighbours that join,
/// equal components apart from each other and in other designs that the bills merge, names and notes that
/// need several lines and at times more than a sheet, every category of the simple bill, long paths, units.
inline std::vector<GeneratedDesign> GenerateDesigns(Choices& choices) {
  const auto& prefixes = detail::Prefixes();
  std::vector<GeneratedDesign> designs(static_cast<std::size_t>(choices.Between(1, 4)));
  std::map<std::string, int, std::less<>> next_number;
  std::map<std::string, std::vector<detail::Item>, std::less<>> items_of;  // the names used so far, by prefix
  int serial = 0;
  for (std::size_t d = 0; d < designs.size(); ++d) {
    GeneratedDesign& design = designs[d];
    // The number right after "/pcb" keeps the files in the order of the designs.
    design.file = "/pcb" + std::to_string(d + 1) +
                  (choices.OneIn(3) ? "/projects/amplifier/output/stage/board.sch" : "/board.sch");
    if (choices.OneIn(3)) design.unit = std::string("АБВГ.468157."_cp) + std::to_string(100 + d);

    const int prefix_count = choices.OneIn(12) ? 0 : choices.Between(1, 7);
    for (int p = 0; p < prefix_count; ++p) {
      const detail::PrefixNames& kind = prefixes[choices.Below(prefixes.size())];
      std::vector<detail::Item>& used = items_of[std::string(kind.prefix)];
      const int item_count = choices.OneIn(4) ? choices.Between(15, 40) : choices.Between(1, 8);
      for (int i = 0; i < item_count; ++i) {
        // Mostly a new name; sometimes one this design or an earlier one has used already.
        if (used.empty() || !choices.OneIn(5)) {
          detail::Item item;
          const std::size_t stem = choices.Below(kind.stems.size());
          item.name = std::string(kind.stems[stem]) + "-" + std::to_string(++serial);
          if (choices.OneIn(8)) item.name += " " + detail::Words(choices, choices.Between(20, 120));
          if (choices.OneIn(150)) item.name += " " + detail::Words(choices, 1200);  // longer than a sheet
          item.value = std::string(kind.values[choices.Below(kind.values.size())]);
          item.package = choices.OneIn(10) ? detail::Words(choices, choices.Between(20, 60)) : "SO-14";
          used.push_back(std::move(item));
        }
        const detail::Item& item = used[choices.Below(used.size())];
        // Runs of equal neighbours join into ranges.
        const int run = choices.OneIn(3) ? choices.Between(2, choices.OneIn(4) ? 12 : 4) : 1;
        for (int k = 0; k < run; ++k) {
          GeneratedElement e;
          e.designator = std::string(kind.prefix) + std::to_string(++next_number[std::string(kind.prefix)]);
          e.name = detail::VaryCase(choices, item.name);
          e.value = item.value;
          e.package = item.package;
          e.supply_document = detail::MaybeLong(choices, 6, choices.Between(10, 90));
          e.note = detail::MaybeLong(choices, 7, choices.Between(5, choices.OneIn(20) ? 900 : 80));
          design.elements.push_back(std::move(e));
        }
      }
    }
    // The file order is the designer's; the fills see the elements sorted.
    for (std::size_t i = design.elements.size(); i > 1; --i)
      std::swap(design.elements[i - 1], design.elements[choices.Below(i)]);
  }
  return designs;
}

/// Gap and tail for a fill of the kind within the limits the fill parameters accept, mostly small; a tail
/// over its whole range makes the sheets short, so that sheet ends meet sections and long texts often.
inline model::FillParameters GenerateParameters(Choices& choices, model::DocumentKind kind) {
  model::FillParameters parameters;
  parameters.gap = choices.OneIn(5) ? choices.Between(0, model::kMaxGap) : choices.Between(0, 3);
  parameters.tail = choices.OneIn(3) ? choices.Between(0, model::MaxTail(kind)) : choices.Between(0, 2);
  return parameters;
}

/// What the fill command works with, as fakes: the built-in element kinds, the fake measurer (2 mm a
/// character at the table text height) and a value check whose report goes to
/// `report`.
struct FakeFillPorts {
  explicit FakeFillPorts(const std::filesystem::path& report)
      : series(std::make_shared<const valuecheck::ValueSeries>()), check(series, report) {
    kinds.FillBuiltIn();
  }
  document::FillTools tools() { return {measurer, kinds, series, check.report_path()}; }

  model::ElementKinds kinds;
  FakeTextMeasurer measurer;
  std::shared_ptr<const valuecheck::ValueSeries> series;
  /// The reading's check; each fill makes its own.
  valuecheck::ValueCheck check;
};

/// Fills the session's document from `data` through the one fill sequence (app::PrepareFill) and the
/// session's fill command, as the fill action does: the roles dialog is cancelled (the roles stay), the
/// column mapping takes `parameters`, the sort choice keeps `merge` as marked, and a list not `sorted` yet
/// is sorted for the kind.
inline void FillThroughTheSequence(app::DocumentSession& session, elements::ListData data,
                                   const model::FillParameters& parameters, elements::MergeChoice merge,
                                   const document::FillTools& tools, bool sorted) {
  FakePrompts prompts;
  app::FillDialogs dialogs;
  dialogs.roles = [](elements::ListData&, elements::MergeChoice&, bool&) { return true; };
  dialogs.mapping = [&](elements::ColumnMapping mapping) {
    mapping.parameters = parameters;
    return std::optional(std::move(mapping));
  };
  const document::Document& document = session.document();
  model::FillParameters chosen = document.fill_parameters();
  if (app::PrepareFill(document.kind(), data, chosen, sorted, merge, dialogs, prompts)) {
    session.Apply(app::commands::Fill{{std::move(data), chosen, merge}, tools});
  }
}

/// Fills a new document of the kind from the designs as the fill command does after reading them: each
/// design read by the reader (with its unit as the designation of its file), the default column headings
/// plus the notes, then the fill sequence (FillThroughTheSequence).
inline app::DocumentSession FillDesigns(std::span<const GeneratedDesign> designs, model::DocumentKind kind,
                                        elements::MergeChoice merge, const model::FillParameters& parameters,
                                        const document::FillTools& tools) {
  valuecheck::ValueCheck check(tools.series, tools.report_path);
  elements::ListData data;
  for (const GeneratedDesign& design : designs) {
    if (!design.unit.empty()) data.designations[design.file] = design.unit;
  }
  app::DesignReader reader(tools.kinds, check);
  bool mismatch = false;
  for (const GeneratedDesign& design : designs)
    reader.ReadBytes(DesignText(design), design.file, /*append=*/true, data, mismatch);
  elements::ApplyDefaultHeadings(data.headings, data.roles, kind);
  data.headings[std::string(kNoteAttribute)] = std::string(elements::kHeadingNote);

  app::DocumentSession session(document::Document{kind});
  FillThroughTheSequence(session, std::move(data), parameters, merge, tools, /*sorted=*/false);
  return session;
}

}  // namespace tallyform::testing
