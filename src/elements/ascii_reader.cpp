#include "elements/ascii_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "elements/value_normalization.h"
#include "model/element_kinds.h"
#include "model/errors.h"
#include "model/messages.h"
#include "model/platform.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::elements {
namespace {

using namespace tallyform::text::literals;

constexpr auto npos = std::string_view::npos;
constexpr std::string_view kMarker = "ACCEL_ASCII";
constexpr std::string_view kBlockStart = "compInst";
constexpr std::string_view kBlockEnd = "  )";

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// A list of distinct names that keeps its order, with a hash set beside it so that a lookup does not grow
// with the list.
class NameList {
 public:
  explicit NameList(archive::StringList names) : list_(std::move(names)) {
    seen_.reserve(list_.size() * 2 + 16);
    for (const std::string& name : list_) seen_.insert(name);
  }
  void Add(std::string_view name) {
    if (seen_.find(name) != seen_.end()) return;
    seen_.emplace(name);
    list_.emplace_back(name);
  }
  archive::StringList Take() { return std::move(list_); }

 private:
  archive::StringList list_;
  std::unordered_set<std::string, TextHash, std::equal_to<>> seen_;
};

// The text between the first and the last double quote; with a single quote, the rest of the line after it;
// with none, the empty text.
std::string_view QuotedSpan(std::string_view line) {
  std::size_t first = line.find('"');
  if (first == npos) return {};
  std::size_t last = line.rfind('"');
  if (last == first) return line.substr(first + 1);
  return line.substr(first + 1, last - first - 1);
}

std::string_view MapKeyword(std::string_view keyword) {
  if (keyword == "originalName") return "Type";
  if (keyword == "compValue") return "Value";
  if (keyword == "patternName") return "Pattern";
  return keyword;
}

// One pass over a recognised design; the lines are scanned in place.
class DesignScan {
 public:
  DesignScan(const model::ElementKinds& kinds, std::string_view file_text,
             const archive::StringMap& designations, NameList& names, NameList& prefixes,
             const ElementHook& on_element)
      : kinds_(kinds), file_text_(file_text), names_(names), prefixes_(prefixes), on_element_(on_element) {
    auto it = designations.find(std::string(file_text));
    if (it != designations.end()) goes_into_ = it->second;
  }

  void Run(std::string_view text, ComponentList& out, AsciiReadResult& result) {
    text_ = text;
    pos_ = 0;
    NextLine();  // the first line only marks the format
    names_.Add(model::kRefDes);
    names_.Add(model::kType);

    while (pos_ < text_.size()) {
      // Only lines that hold "compInst" matter outside a block, so search the text for it directly.
      std::size_t hit = text_.find(kBlockStart, pos_);
      if (hit == npos) break;
      std::size_t line_start = text_.rfind('\n', hit);
      line_start = (line_start == npos || line_start < pos_) ? pos_ : line_start + 1;
      pos_ = line_start;
      std::string_view line = NextLine();

      std::size_t first = line.find('"');
      std::size_t last = line.rfind('"');
      if (first == npos || last == first) continue;  // no quoted designator: not a block start
      std::string_view designator = line.substr(first + 1, last - first - 1);
      if (model::BeginsWithDigit(designator)) continue;  // holes, fiducials: never elements

      auto element = ReadBlock(designator);
      if (!element) {
        result.cut_off = true;
        result.cut_designator.assign(designator);
        break;
      }
      Finish(designator, *element);
      out.Append(std::move(element));
      ++result.elements_read;
    }
  }

 private:
  std::string_view NextLine() {
    std::size_t end = text_.find('\n', pos_);
    if (end == npos) end = text_.size();
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end < text_.size() ? end + 1 : end;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }

  // The element of one block, or nullptr when the text ends before the block does.
  std::unique_ptr<Element> ReadBlock(std::string_view designator) {
    auto element = std::make_unique<Element>();
    element->Reserve(12);
    element->Set(model::kRefDes, designator);
    while (true) {
      if (pos_ >= text_.size()) return nullptr;
      std::string_view line = NextLine();
      if (line == kBlockEnd) return element;
      KeywordLine(designator, line, *element);
    }
  }

  void KeywordLine(std::string_view designator, std::string_view line, Element& element) {
    std::size_t open = line.find('(');
    if (open == npos) return;
    std::size_t space = line.find(' ', open + 1);
    // A line without "(keyword " continues a form of several lines; P-CAD writes block lines as one-line
    // forms, so there is nothing to take from it.
    if (space == npos || space == open + 1) return;
    std::string_view keyword = line.substr(open + 1, space - open - 1);

    if (keyword == "attr") {
      std::size_t q1 = line.find('"');
      std::size_t q2 = q1 == npos ? npos : line.find('"', q1 + 1);
      if (q2 == npos) return;
      std::size_t q3 = line.find('"', q2 + 1);
      std::size_t q4 = q3 == npos ? npos : line.find('"', q3 + 1);
      std::string_view name = line.substr(q1 + 1, q2 - q1 - 1);
      // The designator is the block's name; an attribute cannot rename the element it belongs to.
      if (name == model::kRefDes) return;
      std::string_view value = q4 == npos ? std::string_view() : line.substr(q3 + 1, q4 - q3 - 1);
      element.Set(name, value);
      return;
    }
    if (keyword == "compRef" || keyword == model::kRefDes) return;

    keyword = MapKeyword(keyword);
    if (keyword == model::kValue) {
      element.Set(keyword, NormalizeValue(designator.empty() ? '\0' : designator.front(), QuotedSpan(line)));
      return;
    }
    if (keyword == model::kType || keyword == model::kPattern) {
      element.Set(keyword, QuotedSpan(line));
      return;
    }
    // Any other form keeps its own text: quoted, or the bare words up to the closing parenthesis.
    std::string_view value;
    if (line.find('"', space) != npos) {
      value = QuotedSpan(line.substr(space));
    } else {
      value = line.substr(space + 1);
      std::size_t close = value.rfind(')');
      if (close != npos) value = value.substr(0, close);
      while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    }
    element.Set(keyword, value);
  }

  void Finish(std::string_view designator, Element& element) {
    // The block's own names join the list in the order first met, which is the element's pair order.
    for (const auto& [name, value] : element.pairs()) names_.Add(name);
    names_.Add(model::kQuantity);
    names_.Add(model::kGoesInto);

    element.Set(model::kQuantity, "1");
    element.Set(model::kFile, file_text_);
    element.Set(model::kGoesInto, goes_into_);
    element.Set(model::kGroup, kinds_.PluralName(designator));
    element.Set(model::kRowsInGroup, "1");

    const std::string_view prefix = model::DesignatorPrefix(designator);
    prefixes_.Add(prefix);
    if (on_element_) on_element_(prefix, element);
  }

  const model::ElementKinds& kinds_;
  std::string_view file_text_;
  std::string goes_into_;
  NameList& names_;
  NameList& prefixes_;
  const ElementHook& on_element_;
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool IsAsciiDesign(std::string_view bytes) {
  if (bytes.starts_with("II")) return false;
  std::string_view first_line = bytes.substr(0, bytes.find('\n'));
  return first_line.find(kMarker) != npos && first_line.find('\0') == npos;
}

std::string FileText(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return model::PathText(error ? path : absolute);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  auto cannot_read = [&] {
    return UnreadableFile(std::string("Не удается прочитать файл "_cp) + model::PathText(path) + ".");
  };
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(model::OpenFile(path, "rb"), &std::fclose);
  if (!file) throw cannot_read();
  // Read straight into the string: the size is a hint only, the file may change while it is read.
  std::string bytes;
  std::error_code error;
  auto size = std::filesystem::file_size(path, error);
  std::size_t capacity = error ? 0 : static_cast<std::size_t>(size);
  std::size_t used = 0;
  while (true) {
    if (used == bytes.size()) bytes.resize(std::max<std::size_t>(capacity + 1, used + (1 << 16)));
    std::size_t n = std::fread(bytes.data() + used, 1, bytes.size() - used, file.get());
    used += n;
    if (n == 0) break;
    capacity = used * 2;
  }
  bytes.resize(used);
  if (std::ferror(file.get())) throw cannot_read();
  return bytes;
}

AsciiReadResult AsciiReader::ReadFile(const std::filesystem::path& path, bool append, ListData& data) {
  std::string bytes = ReadWholeFile(path);
  return ReadBytes(bytes, FileText(path), append, data);
}

AsciiReadResult AsciiReader::ReadBytes(std::string_view bytes, std::string_view file_text, bool append,
                                       ListData& data, const ElementHook& on_element) {
  if (!IsAsciiDesign(bytes)) throw DamagedFile(std::string(model::kUnknownFormat));

  // Code page 1251 text is almost never valid UTF-8, so a design that is valid UTF-8 was converted by some
  // tool on its way here.
  std::string converted;
  std::string_view text = bytes;
  if (text::LooksLikeUtf8(bytes)) {
    converted = text::FromUtf8(bytes);
    text = converted;
  }

  NameList names(append ? data.attribute_names : archive::StringList{});
  NameList prefixes(append ? data.prefixes : archive::StringList{});
  ComponentList read;
  AsciiReadResult result;
  DesignScan scan(kinds_, file_text, data.designations, names, prefixes, on_element);
  scan.Run(text, read, result);

  if (append) {
    data.elements.AppendList(std::move(read));
  } else {
    data.elements = std::move(read);
  }
  data.attribute_names = names.Take();
  data.prefixes = prefixes.Take();
  return result;
}

}  // namespace tallyform::elements
