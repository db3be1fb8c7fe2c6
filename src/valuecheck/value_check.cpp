#include "valuecheck/value_check.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "model/attributes.h"
#include "model/errors.h"
#include "model/platform.h"
#include "ports/shell.h"
#include "text/literal.h"
#include "text/numbers.h"
#include "valuecheck/value_parse.h"

namespace tallyform::valuecheck {
namespace {

using namespace tallyform::text::literals;

constexpr std::string_view kRule = "----------------------------------------------------";
constexpr std::string_view kFileTitle = " ФАЙЛ: "_cp;
constexpr std::string_view kCapacitorsTitle = " КОНДЕНСАТОРЫ:"_cp;
constexpr std::string_view kResistorsTitle = " РЕЗИСТОРЫ:"_cp;
constexpr std::string_view kUnanalysableTitle = " ЭЛЕМЕНТЫ, НЕ ПОДДАЮЩИЕСЯ АНАЛИЗУ:"_cp;
constexpr std::string_view kAlternatives = "ВОЗМОЖНЫЕ ВАРИАНТЫ:"_cp;
constexpr std::string_view kNearest = "Ближайшее значение номинала при заданной точности "_cp;
constexpr std::string_view kPossible = "Возможная точность для заданного номинала "_cp;

// One block of a report list: a file header, or the entry of one element with its lines as the file
// shows them (designator, type and value joined by tabs; CR LF ends every line).
struct Block {
  bool header = false;
  ComponentClass cls = ComponentClass::kResistor;
  std::string name;  // the file of a header, the designator of an entry
  std::string body;
};

struct Report {
  std::vector<Block> blocks;
  std::string last_file;
  std::size_t entries = 0;

  void Clear() {
    blocks.clear();
    last_file.clear();
    entries = 0;
  }

  void OpenFile(const std::string& file) {
    if (file == last_file) return;
    last_file = file;
    blocks.push_back({true, ComponentClass::kResistor, file, {}});
  }

  void Add(ComponentClass cls, std::string designator, std::string body) {
    blocks.push_back({false, cls, std::move(designator), std::move(body)});
    ++entries;
  }

  // Removes the first entry of the designator (of the class, when `cls` is given), and its file header
  // when no entry is left under it.
  bool Remove(std::string_view designator, std::optional<ComponentClass> cls) {
    auto it = std::find_if(blocks.begin(), blocks.end(), [&](const Block& b) {
      return !b.header && b.name == designator && (!cls || b.cls == *cls);
    });
    if (it == blocks.end()) return false;
    const auto at = static_cast<std::size_t>(it - blocks.begin());
    blocks.erase(it);
    --entries;
    const bool at_end = at == blocks.size();
    if (at > 0 && blocks[at - 1].header && (at_end || blocks[at].header)) {
      blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(at - 1));
      if (at_end) {
        auto previous = std::find_if(blocks.rbegin(), blocks.rend(), [](const Block& b) { return b.header; });
        last_file = previous == blocks.rend() ? std::string() : previous->name;
      }
    }
    return true;
  }
};

// The report is a text file: every line ends in CR LF whatever the platform, and a line feed inside an
// element's text becomes CR LF too.
constexpr std::string_view kEol = "\r\n";

void AppendText(std::string& out, std::string_view text) {
  if (text.find('\n') == std::string_view::npos) {
    out.append(text);
    return;
  }
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
}

void AppendLine(std::string& out, std::string_view a, std::string_view b = {}) {
  out.append(a);
  AppendText(out, b);
  out.append(kEol);
}

std::size_t SectionSize(const Report& report) {
  std::size_t size = 4 * kRule.size();
  for (const Block& block : report.blocks) {
    size += block.header ? 2 * kRule.size() + kFileTitle.size() + block.name.size() + 8 : block.body.size();
  }
  return size;
}

void AppendSection(std::string& out, std::string_view title, const Report& report) {
  AppendLine(out, kRule);
  AppendLine(out, title);
  AppendLine(out, kRule);
  out.append(kEol);
  for (const Block& block : report.blocks) {
    if (block.header) {
      AppendLine(out, kRule);
      AppendLine(out, kFileTitle, block.name);
      AppendLine(out, kRule);
      out.append(kEol);
    } else {
      out.append(block.body);
    }
  }
}

void AppendEntryHead(std::string& body, std::string_view designator, std::string_view type,
                     std::string_view value) {
  body.append("RefDes=");
  AppendText(body, designator);
  body.append("\tType=");
  AppendText(body, type);
  body.append("\tValue=");
  AppendLine(body, {}, value);
}

}  // namespace

ValueSeries::ValueSeries() : resistors(BuildResistorSeries()), capacitors(BuildCapacitorSeries()) {}

struct ValueCheck::State {
  std::filesystem::path report_path;
  std::shared_ptr<const ValueSeries> shared_series;
  Report resistors;
  Report capacitors;
  Report unanalysable;
  int run_depth = 0;
  bool dirty = false;
  // The message of the last write of the report file, when it failed.
  std::optional<std::string> write_failure;

  const SeriesRegistry& Registry(ComponentClass cls) const {
    return cls == ComponentClass::kResistor ? shared_series->resistors : shared_series->capacitors;
  }
  Report& ClassReport(ComponentClass cls) {
    return cls == ComponentClass::kResistor ? resistors : capacitors;
  }

  bool Examine(ComponentClass cls, std::string& designator, const std::string& type, const std::string& value,
               const std::string& file);
  bool Unanalysable(ComponentClass cls, std::string& designator, std::string_view type,
                    std::string_view value, const std::string& file);
  std::string Render() const;
  void Write();
  void WriteFile();
};

bool ValueCheck::State::Examine(ComponentClass cls, std::string& designator, const std::string& type,
                                const std::string& value, const std::string& file) {
  const auto tolerance = ExtractTolerance(type);
  if (!tolerance) return Unanalysable(cls, designator, type, value, file);
  std::string_view value_in_use = value;
  if (value_in_use.empty()) {
    const auto from_type = ExtractValueFromType(type);
    if (!from_type) return Unanalysable(cls, designator, type, value, file);
    value_in_use = *from_type;
  }
  const auto layout = SplitValue(value_in_use);
  if (!layout) return Unanalysable(cls, designator, type, value_in_use, file);
  const auto key = ResolveToleranceKey(cls, *tolerance);
  if (!key) return true;

  const SeriesRegistry& registry = Registry(cls);
  const Series& series = *registry.Find(*key);
  std::string mantissa = layout->mantissa;
  LengthenMantissa(cls, *key, mantissa);
  const std::int32_t number = text::Atoi(mantissa);
  if (series.Contains(number)) return true;

  Report& report = ClassReport(cls);
  report.OpenFile(file);
  std::string body;
  const std::size_t value_line = kPossible.size() + value_in_use.size() + 8;
  body.reserve(48 + designator.size() + type.size() + kAlternatives.size() + 2 * (kNearest.size() + 24) +
               2 * value_line + value_in_use.size());
  AppendEntryHead(body, designator, type, value_in_use);
  body.append(kEol);
  AppendLine(body, kAlternatives);

  const auto& numbers = series.numbers;
  auto nearest = [&](std::int32_t n) {
    body.append(kNearest).append(*key).append("%: ").append(FormatSeriesValue(n, *layout));
    AppendLine(body, {}, layout->unit_suffix);
  };
  const auto above = std::upper_bound(numbers.begin(), numbers.end(), number);
  if (above == numbers.begin()) {
    nearest(numbers.front());
  } else if (above != numbers.end()) {
    nearest(*(above - 1));
    nearest(*above);
  }

  // The mantissa is carried from one series' form into the next, in the registry's order.
  for (const Series& other : registry.in_order()) {
    if (other.key == *key) continue;
    if (cls == ComponentClass::kResistor) {
      if (other.digits == 2 && mantissa.size() == 3 && mantissa.back() == '0') mantissa.pop_back();
      if (other.digits == 3 && mantissa.size() == 2) mantissa.push_back('0');
    }
    if (other.Contains(text::Atoi(mantissa))) {
      body.append(kPossible);
      AppendText(body, value_in_use);
      body.append(": ").append(other.key).append("%").append(kEol);
    }
  }
  body.append(kEol).append(kEol);
  report.Add(cls, std::move(designator), std::move(body));
  return false;
}

bool ValueCheck::State::Unanalysable(ComponentClass cls, std::string& designator, std::string_view type,
                                     std::string_view value, const std::string& file) {
  unanalysable.OpenFile(file);
  std::string body;
  body.reserve(24 + designator.size() + type.size() + value.size());
  AppendEntryHead(body, designator, type, value);
  unanalysable.Add(cls, std::move(designator), std::move(body));
  return false;
}

std::string ValueCheck::State::Render() const {
  std::string text;
  text.reserve(SectionSize(capacitors) + SectionSize(resistors) + SectionSize(unanalysable) + 256);
  if (!capacitors.blocks.empty()) AppendSection(text, kCapacitorsTitle, capacitors);
  if (!resistors.blocks.empty()) AppendSection(text, kResistorsTitle, resistors);
  if (!unanalysable.blocks.empty()) {
    AppendSection(text, kUnanalysableTitle, unanalysable);
    text.append(kEol);
  }
  return text;
}

void ValueCheck::State::Write() {
  dirty = false;
  WriteFile();
}

void ValueCheck::State::WriteFile() {
  // A report that cannot be written keeps its lists, and the next write tries again; the failure is kept
  // for the caller to tell.
  std::error_code ignored;
  std::filesystem::remove(report_path, ignored);
  const std::string bytes = Render();
  std::ofstream out(report_path, std::ios::binary | std::ios::trunc);
  if (out) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
  }
  if (out) {
    write_failure.reset();
  } else {
    write_failure = std::string("Не удалось записать отчет о несоответствиях номиналов "_cp) +
                    model::PathText(report_path) + ".";
  }
}

ValueCheck::ValueCheck(std::filesystem::path report_path)
    : ValueCheck(std::make_shared<const ValueSeries>(), std::move(report_path)) {}

ValueCheck::ValueCheck(std::shared_ptr<const ValueSeries> series, std::filesystem::path report_path)
    : state_(std::make_unique<State>()) {
  state_->report_path = std::move(report_path);
  state_->shared_series = std::move(series);
}

ValueCheck::~ValueCheck() = default;
ValueCheck::ValueCheck(ValueCheck&&) noexcept = default;
ValueCheck& ValueCheck::operator=(ValueCheck&&) noexcept = default;

bool ValueCheck::CheckResistor(std::string designator, std::string type, std::string value,
                               std::string file) {
  return Check(ComponentClass::kResistor, std::move(designator), std::move(type), std::move(value),
               std::move(file));
}

bool ValueCheck::CheckCapacitor(std::string designator, std::string type, std::string value,
                                std::string file) {
  return Check(ComponentClass::kCapacitor, std::move(designator), std::move(type), std::move(value),
               std::move(file));
}

bool ValueCheck::Check(ComponentClass cls, std::string designator, std::string type, std::string value,
                       std::string file) {
  const bool fits = state_->Examine(cls, designator, type, value, file);
  Changed();
  return fits;
}

void ValueCheck::ClearReport() {
  state_->resistors.Clear();
  state_->capacitors.Clear();
  state_->unanalysable.Clear();
  Changed();
}

void ValueCheck::DeleteReportFile() {
  std::error_code ignored;
  std::filesystem::remove(state_->report_path, ignored);
}

void ValueCheck::ForgetEntries(ComponentClass cls, std::string_view designator) {
  if (state_->ClassReport(cls).Remove(designator, std::nullopt) ||
      state_->unanalysable.Remove(designator, cls)) {
    Changed();
  }
}

void ValueCheck::BeginRun() {
  ++state_->run_depth;
}

void ValueCheck::EndRun() {
  if (state_->run_depth == 0) return;
  if (--state_->run_depth == 0 && state_->dirty) state_->Write();
}

void ValueCheck::Changed() {
  state_->dirty = true;
  if (state_->run_depth == 0) state_->Write();
}

std::size_t ValueCheck::mismatch_count() const {
  return state_->resistors.entries + state_->capacitors.entries;
}

std::size_t ValueCheck::unanalysable_count() const {
  return state_->unanalysable.entries;
}

const std::filesystem::path& ValueCheck::report_path() const {
  return state_->report_path;
}

std::string ValueCheck::RenderReport() const {
  return state_->Render();
}

bool ValueCheck::WriteReportFile() const {
  state_->WriteFile();
  return !state_->write_failure;
}

const std::optional<std::string>& ValueCheck::report_failure() const {
  return state_->write_failure;
}

const SeriesRegistry& ValueCheck::resistor_series() const {
  return state_->shared_series->resistors;
}

const SeriesRegistry& ValueCheck::capacitor_series() const {
  return state_->shared_series->capacitors;
}

std::optional<ComponentClass> CheckedClass(std::string_view designator) {
  const std::string_view prefix = model::DesignatorPrefix(designator);
  if (prefix == "R") return ComponentClass::kResistor;
  if (prefix == "C") return ComponentClass::kCapacitor;
  return std::nullopt;
}

void ShowReport(ports::Shell& shell, const ValueCheck& check) {
  if (!check.WriteReportFile()) throw UnreadableFile(*check.report_failure());
  shell.Open(check.report_path());
}

}  // namespace tallyform::valuecheck
