#include "pcad/design_server.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/platform.h"
#include "pcad/dbx_status.h"
#include "text/cp1251.h"

namespace tallyform::pcad {
namespace {

using ports::DbxAttribute;
using ports::DbxComponent;
using ports::DbxHandle;
using ports::DbxLayer;
using ports::DbxTextStyle;

constexpr auto npos = std::string_view::npos;

// The justification keywords of P-CAD ASCII by DBX code; LowerLeft is the default a file leaves out.
constexpr std::pair<std::int32_t, std::string_view> kJustifyWords[] = {
    {0, "LowerLeft"}, {1, "LowerCenter"}, {2, "LowerRight"},  {4, "Left"},        {5, "Center"},
    {6, "Right"},     {8, "UpperLeft"},   {9, "UpperCenter"}, {10, "UpperRight"},
};

std::optional<std::string_view> JustifyWord(std::int32_t code) {
  for (const auto& [c, word] : kJustifyWords) {
    if (c == code) return word;
  }
  return std::nullopt;
}

std::int32_t JustifyCode(std::string_view word) {
  for (const auto& [code, w] : kJustifyWords) {
    if (w == word) return code;
  }
  return 0;
}

// One parenthesised form of the file: its keyword, its first argument (a quoted text or a bare word) and
// where it lies. The parse keeps offsets into the file's bytes, never copies.
struct Form {
  std::string_view keyword;
  std::string_view argument;
  std::size_t begin = 0;  // the '('
  std::size_t end = 0;    // just after the ')', or the end of the text for a form left open
  bool closed = false;
  std::vector<std::size_t> children;
};

// The forms of a P-CAD ASCII file as a tree; index 0 is a root that holds the top-level forms. Quoted texts
// are taken as they are (P-CAD writes no escapes); an unbalanced ')' is ignored; forms still open at the end
// of the text end there unclosed (a cut file).
std::vector<Form> ParseForms(std::string_view text) {
  std::vector<Form> forms(1);
  forms[0].end = text.size();
  std::vector<std::size_t> open{0};
  std::size_t i = 0;
  auto atom_end = [&](std::size_t from) {
    while (from < text.size() && text[from] != ' ' && text[from] != '(' && text[from] != ')' &&
           text[from] != '\n' && text[from] != '\r' && text[from] != '\t' && text[from] != '"')
      ++from;
    return from;
  };
  while (i < text.size()) {
    char c = text[i];
    if (c == '"') {
      std::size_t close = text.find('"', i + 1);
      std::size_t stop = close == npos ? text.size() : close + 1;
      Form& current = forms[open.back()];
      if (open.size() > 1 && current.argument.data() == nullptr) {
        current.argument = text.substr(i + 1, (close == npos ? text.size() : close) - i - 1);
      }
      i = stop;
    } else if (c == '(') {
      Form form;
      form.begin = i;
      std::size_t word_end = atom_end(i + 1);
      form.keyword = text.substr(i + 1, word_end - i - 1);
      forms[open.back()].children.push_back(forms.size());
      open.push_back(forms.size());
      forms.push_back(std::move(form));
      i = word_end;
    } else if (c == ')') {
      if (open.size() > 1) {
        forms[open.back()].end = i + 1;
        forms[open.back()].closed = true;
        open.pop_back();
      }
      ++i;
    } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      ++i;
    } else {
      std::size_t word_end = std::max(atom_end(i), i + 1);
      Form& current = forms[open.back()];
      if (open.size() > 1 && current.argument.data() == nullptr)
        current.argument = text.substr(i, word_end - i);
      i = word_end;
    }
  }
  while (open.size() > 1) {
    forms[open.back()].end = text.size();
    open.pop_back();
  }
  return forms;
}

// Where an added text stands: the pattern's reference point.
constexpr std::string_view kOrigin = "(pt 0.0 0.0)";

struct Splice {
  std::size_t begin;
  std::size_t end;
  std::string text;
};

}  // namespace

class DesignServer::Design {
 public:
  Design(std::filesystem::path path, bool board, std::string bytes)
      : path_(std::move(path)), board_(board), bytes_(std::move(bytes)) {
    Index();
  }

  const std::filesystem::path& path() const { return path_; }
  bool board() const { return board_; }
  bool has_library() const { return library_ != 0; }
  /// False for a cut file, whose last forms are never closed: nothing could be added to them safely.
  bool complete() const {
    return std::all_of(forms_.begin() + 1, forms_.end(), [](const Form& f) { return f.closed; });
  }
  bool matches_kind() const {
    return board_ ? design_root_ != 0 && forms_[design_root_].keyword == "pcbDesign"
                  : design_root_ != 0 && forms_[design_root_].keyword == "schematicDesign";
  }
  std::filesystem::file_time_type stamp() const { return stamp_; }
  void set_stamp(std::filesystem::file_time_type stamp) { stamp_ = stamp; }

  std::size_t component_count() const { return components_.size(); }

  DbxComponent ComponentRecord(std::size_t index) const {
    const Component& c = components_[index];
    DbxComponent record;
    record.id = static_cast<std::int32_t>(index + 1);
    record.designator = c.designator;
    record.pattern_name = c.pattern_name;
    record.rotation = c.rotation;
    return record;
  }

  // The attributes of a component as its walk delivers them; nullptr for an unknown designator.
  const std::vector<DbxAttribute>* Attributes(const std::string& designator) {
    Component* c = Find(designator);
    if (c == nullptr) return nullptr;
    walk_ = Walk(*c);
    return &walk_;
  }

  std::int32_t Change(const std::string& designator, const DbxAttribute& record, bool add) {
    if (!board_) return kDbxItemNotSupported;
    Component* c = Find(designator);
    if (c == nullptr) return kDbxComponentNotFound;
    if (c->graphics_ref == 0) return 32233;  // no attached pattern
    if (record.name.empty() || record.name.find('"') != std::string::npos) return kDbxInvalidAttributeName;
    if (record.value.find('"') != std::string::npos) return 32200;
    if (!JustifyWord(record.justification)) return kDbxInvalidJustification;
    if (record.text_style < 0 || static_cast<std::size_t>(record.text_style) >= styles_.size())
      return kDbxInvalidTextStyle;
    if (record.layer_id != 0 && !HasLayer(record.layer_id)) return 32198;

    std::vector<DbxAttribute> current = Walk(*c);
    auto existing = std::find_if(current.begin(), current.end(),
                                 [&](const DbxAttribute& a) { return a.name == record.name; });
    if (add && existing != current.end()) return kDbxDuplicateAttribute;
    if (!add && existing == current.end()) return 32141;  // item not found

    Placed* placed = nullptr;
    for (Placed& p : c->placed) {
      if (p.record.name == record.name) placed = &p;
    }
    if (!add && placed == nullptr) return kDbxItemNotSupported;  // netlist attributes have no text to restyle
    if (add) {
      c->placed.push_back(Placed{});
      placed = &c->placed.back();
      placed->prefix = NewAttrPrefix(*c);
      placed->placement = std::string(kOrigin) + c->rotation_text;
    }
    placed->record.name = record.name;
    placed->record.value = record.value;
    placed->record.text_style = record.text_style;
    placed->record.justification = record.justification;
    placed->record.is_visible = record.is_visible != 0 ? 1 : 0;
    placed->record.layer_id = record.layer_id;
    placed->changed = true;
    if (record.layer_id != 0 && c->graphics_def != 0) {
      def_layers_[{c->graphics_def, record.name}] =
          DefAttr{record.layer_id, record.text_style, record.justification};
    }
    modified_ = true;
    return kDbxOk;
  }

  std::size_t layer_count() const { return layers_.size(); }
  DbxLayer Layer(std::size_t index) const { return layers_[index]; }
  std::size_t style_count() const { return styles_.size(); }
  const std::string& StyleName(std::size_t index) const { return styles_[index]; }

  // The file's bytes with the changes made; the unchanged parts as read.
  std::string Saved() const {
    std::vector<Splice> splices;
    for (const Component& c : components_) {
      for (const Placed& p : c.placed) {
        if (!p.changed) continue;
        if (p.form != 0) {
          splices.push_back({forms_[p.form].begin, forms_[p.form].end, AttrText(p.form, p.record)});
        } else {
          auto [at, eol] = InsertionPoint(c.graphics_ref);
          splices.push_back({at, at, p.prefix + AttrText(0, p.record, p.placement) + eol});
        }
      }
    }
    for (const auto& [key, wanted] : def_layers_) DefSplices(key.first, key.second, wanted, splices);
    std::stable_sort(splices.begin(), splices.end(),
                     [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
    std::string out;
    out.reserve(bytes_.size() + splices.size() * 128);
    std::size_t at = 0;
    for (const Splice& s : splices) {
      if (s.begin < at) continue;  // never overlaps; kept safe all the same
      out.append(bytes_, at, s.begin - at);
      out += s.text;
      at = s.end;
    }
    out.append(bytes_, at, std::string::npos);
    return out;
  }

  bool modified() const { return modified_; }
  const std::vector<DbxAttribute>& current_walk() const { return walk_; }

  void Reset(std::string bytes) {
    bytes_ = std::move(bytes);
    Index();
  }

 private:
  struct Placed {
    std::size_t form = 0;  // the attr form in the placed pattern, 0 for an added attribute
    DbxAttribute record;
    std::string prefix;     // the indentation of an added attribute's line
    std::string placement;  // its point and rotation
    bool changed = false;
  };
  struct Component {
    std::string designator;
    std::string pattern_name;
    std::int32_t rotation = 0;
    std::vector<DbxAttribute> netlist;  // from the netlist entry: RefDes, Type, Value and its attr forms
    std::vector<Placed> placed;         // the texts of the placed pattern
    std::size_t graphics_ref = 0;       // the placed pattern's patternGraphicsRef form
    std::size_t graphics_def = 0;       // the library's patternGraphicsDef the pattern is drawn with
    std::string rotation_text;          // " (rotation A)" of a turned pattern
  };
  struct DefAttr {
    std::int32_t layer;
    std::int32_t style;
    std::int32_t justification;
  };

  std::string_view Text(std::size_t form) const {
    return std::string_view(bytes_).substr(forms_[form].begin, forms_[form].end - forms_[form].begin);
  }
  std::string Str(std::string_view s) const { return utf8_ ? text::FromUtf8(s) : std::string(s); }
  std::string Out(std::string_view s) const { return utf8_ ? text::ToUtf8(s) : std::string(s); }

  std::size_t Child(std::size_t form, std::string_view keyword) const {
    for (std::size_t child : forms_[form].children) {
      if (forms_[child].keyword == keyword) return child;
    }
    return 0;
  }

  // The first quoted or bare argument of a form, and the second quoted text of an attr form (its value).
  std::string_view SecondQuoted(std::size_t form) const {
    std::string_view t = Text(form);
    std::size_t q1 = t.find('"');
    std::size_t q2 = q1 == npos ? npos : t.find('"', q1 + 1);
    std::size_t q3 = q2 == npos ? npos : t.find('"', q2 + 1);
    std::size_t q4 = q3 == npos ? npos : t.find('"', q3 + 1);
    if (q4 == npos) return {};
    // The value must come before the first nested form.
    std::size_t nested = t.find('(', 1);
    if (nested != npos && nested < q3) return {};
    return t.substr(q3 + 1, q4 - q3 - 1);
  }

  std::int32_t StyleIndex(std::string_view name) const {
    for (std::size_t i = 0; i < styles_.size(); ++i) {
      if (styles_[i] == name) return static_cast<std::int32_t>(i);
    }
    return 0;
  }

  bool HasLayer(std::int32_t id) const {
    return std::any_of(layers_.begin(), layers_.end(), [&](const DbxLayer& l) { return l.id == id; });
  }

  std::int32_t Number(std::string_view word) const {
    std::int32_t value = 0;
    bool negative = !word.empty() && word.front() == '-';
    for (char ch : word.substr(negative ? 1 : 0)) {
      if (ch < '0' || ch > '9') break;
      if (value > 100000000) break;
      value = value * 10 + (ch - '0');
    }
    return negative ? -value : value;
  }

  DbxAttribute AttrRecord(std::size_t form, std::size_t graphics_def) const {
    DbxAttribute a;
    a.name = Str(forms_[form].argument);
    a.value = Str(SecondQuoted(form));
    for (std::size_t child : forms_[form].children) {
      const Form& f = forms_[child];
      if (f.keyword == "textStyleRef") a.text_style = StyleIndex(f.argument);
      if (f.keyword == "justify") a.justification = JustifyCode(f.argument);
      if (f.keyword == "isVisible") a.is_visible = f.argument == "True" ? 1 : 0;
      if (f.keyword == "rotation") a.rotation = Number(f.argument);
    }
    if (graphics_def != 0) a.layer_id = DefLayer(graphics_def, forms_[form].argument);
    return a;
  }

  // The layer of the library definition's attribute of that name, 0 when it has none on a layer.
  std::int32_t DefLayer(std::size_t graphics_def, std::string_view name) const {
    for (std::size_t child : forms_[graphics_def].children) {
      if (forms_[child].keyword != "layerContents") continue;
      std::size_t num = Child(child, "layerNumRef");
      if (num == 0) continue;
      for (std::size_t attr : forms_[child].children) {
        if (forms_[attr].keyword == "attr" && forms_[attr].argument == name)
          return Number(forms_[num].argument);
      }
    }
    return 0;
  }

  void Index() {
    utf8_ = text::LooksLikeUtf8(bytes_);
    forms_ = ParseForms(bytes_);
    library_ = design_root_ = netlist_ = 0;
    styles_.clear();
    layers_.clear();
    components_.clear();
    def_layers_.clear();
    modified_ = false;
    std::unordered_map<std::string_view, std::size_t> pattern_defs;
    for (std::size_t top : forms_[0].children) {
      std::string_view k = forms_[top].keyword;
      if (k == "library" && library_ == 0) {
        library_ = top;
        for (std::size_t child : forms_[top].children) {
          if (forms_[child].keyword == "textStyleDef") styles_.push_back(Str(forms_[child].argument));
          if (forms_[child].keyword == "patternDefExtended" || forms_[child].keyword == "patternDef")
            pattern_defs.emplace(forms_[child].argument, child);
        }
      } else if ((k == "pcbDesign" || k == "schematicDesign") && design_root_ == 0) {
        design_root_ = top;
      } else if (k == "netlist" && netlist_ == 0) {
        netlist_ = top;
      }
    }

    std::unordered_map<std::string_view, std::size_t> by_designator;
    auto add = [&](std::string_view designator) -> Component& {
      auto [it, fresh] = by_designator.emplace(designator, components_.size());
      if (fresh) {
        components_.emplace_back();
        components_.back().designator = Str(designator);
      }
      return components_[it->second];
    };
    if (netlist_ != 0) {
      for (std::size_t inst : forms_[netlist_].children) {
        if (forms_[inst].keyword != "compInst") continue;
        Component& c = add(forms_[inst].argument);
        if (!c.netlist.empty()) continue;
        auto text_attr = [&](std::string_view name, std::string_view value) {
          DbxAttribute a;
          a.name = std::string(name);
          a.value = Str(value);
          c.netlist.push_back(std::move(a));
        };
        text_attr("RefDes", forms_[inst].argument);
        for (std::size_t child : forms_[inst].children) {
          const Form& f = forms_[child];
          if (f.keyword == "originalName") text_attr("Type", f.argument);
          if (f.keyword == "compValue") text_attr("Value", f.argument);
          if (f.keyword == "patternName") c.pattern_name = Str(f.argument);
          if (f.keyword == "attr") c.netlist.push_back(AttrRecord(child, 0));
        }
      }
    }
    if (board_ && design_root_ != 0) {
      for (std::size_t group : forms_[design_root_].children) {
        if (forms_[group].keyword != "multiLayer") continue;
        for (std::size_t pattern : forms_[group].children) {
          if (forms_[pattern].keyword != "pattern") continue;
          std::size_t ref = Child(pattern, "refDesRef");
          std::size_t graphics_ref = Child(pattern, "patternGraphicsRef");
          if (ref == 0 || graphics_ref == 0) continue;
          Component& c = add(forms_[ref].argument);
          if (c.graphics_ref != 0) continue;
          c.graphics_ref = graphics_ref;
          if (std::size_t rotation = Child(pattern, "rotation")) {
            c.rotation = Number(forms_[rotation].argument);
            c.rotation_text = " " + std::string(Text(rotation));
          }
          std::size_t pattern_ref = Child(pattern, "patternRef");
          std::size_t graphics_name = Child(pattern, "patternGraphicsNameRef");
          if (pattern_ref != 0) {
            auto def = pattern_defs.find(forms_[pattern_ref].argument);
            if (def != pattern_defs.end()) {
              c.graphics_def =
                  GraphicsDef(def->second, graphics_name == 0 ? "" : forms_[graphics_name].argument);
              if (c.pattern_name.empty()) {
                std::size_t original = Child(def->second, "originalName");
                c.pattern_name =
                    Str(original != 0 ? forms_[original].argument : forms_[pattern_ref].argument);
              }
            }
          }
          for (std::size_t attr : forms_[graphics_ref].children) {
            if (forms_[attr].keyword != "attr") continue;
            Placed p;
            p.form = attr;
            p.record = AttrRecord(attr, c.graphics_def);
            c.placed.push_back(std::move(p));
          }
        }
      }
      for (std::size_t child : forms_[design_root_].children) {
        if (forms_[child].keyword != "layerDef") continue;
        std::size_t num = Child(child, "layerNum");
        if (num == 0) continue;
        layers_.push_back(DbxLayer{Number(forms_[num].argument), Str(forms_[child].argument)});
      }
    }
  }

  std::size_t GraphicsDef(std::size_t pattern_def, std::string_view name) const {
    std::size_t first = 0;
    for (std::size_t child : forms_[pattern_def].children) {
      if (forms_[child].keyword != "patternGraphicsDef") continue;
      if (first == 0) first = child;
      std::size_t n = Child(child, "patternGraphicsNameDef");
      if (n != 0 && forms_[n].argument == name) return child;
    }
    return first;
  }

  Component* Find(const std::string& designator) {
    for (Component& c : components_) {
      if (c.designator == designator) return &c;
    }
    return nullptr;
  }

  std::vector<DbxAttribute> Walk(const Component& c) const {
    std::vector<DbxAttribute> out = c.netlist;
    for (const Placed& p : c.placed) {
      bool known =
          std::any_of(out.begin(), out.end(), [&](const DbxAttribute& a) { return a.name == p.record.name; });
      if (!known) out.push_back(p.record);
    }
    return out;
  }

  // The start of the line holding a form's closing parenthesis when that line holds nothing else before it
  // (new lines go there), else the parenthesis itself; and the line ending to use.
  std::pair<std::size_t, std::string> InsertionPoint(std::size_t form) const {
    std::size_t close = forms_[form].end == 0 ? 0 : forms_[form].end - 1;
    std::size_t line = bytes_.rfind('\n', close == 0 ? 0 : close - 1);
    line = line == npos ? 0 : line + 1;
    std::size_t eol_at = bytes_.find('\n', close);
    std::string eol = (eol_at != npos && eol_at > 0 && bytes_[eol_at - 1] == '\r') ? "\r\n" : "\n";
    bool alone = line <= close && std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(line),
                                              bytes_.begin() + static_cast<std::ptrdiff_t>(close),
                                              [](char ch) { return ch == ' ' || ch == '\t'; });
    if (alone && forms_[form].end != 0 && bytes_[close] == ')') return {line, eol};
    return {close, eol};
  }

  std::string Indent(std::size_t form) const {
    std::size_t line = bytes_.rfind('\n', forms_[form].begin == 0 ? 0 : forms_[form].begin - 1);
    line = line == npos ? 0 : line + 1;
    std::string indent;
    for (std::size_t i = line; i < forms_[form].begin && (bytes_[i] == ' ' || bytes_[i] == '\t'); ++i)
      indent += bytes_[i];
    return indent;
  }

  std::string NewAttrPrefix(const Component& c) const {
    for (const Placed& p : c.placed) {
      if (p.form != 0) return Indent(p.form);
    }
    return Indent(c.graphics_ref) + "  ";
  }

  // An attr form with the record's name, value, visibility, justification and style; the other forms of
  // `form` (point, rotation, ...) kept as written. Unchanged forms are never rewritten.
  std::string AttrText(std::size_t form, const DbxAttribute& a, std::string_view placement = kOrigin) const {
    std::string out = "(attr \"" + Out(a.name) + "\" \"" + Out(a.value) + "\"";
    std::vector<std::string_view> before;
    std::vector<std::string_view> after;
    bool past_style = false;
    if (form != 0) {
      for (std::size_t child : forms_[form].children) {
        std::string_view k = forms_[child].keyword;
        if (k == "textStyleRef") {
          past_style = true;
          continue;
        }
        if (k == "isVisible" || k == "justify") continue;
        (past_style ? after : before).push_back(Text(child));
      }
    } else {
      out.append(" ").append(placement);
    }
    for (std::string_view t : before) out.append(" ").append(t);
    if (a.is_visible != 0) out += " (isVisible True)";
    if (a.justification != 0) out.append(" (justify ").append(*JustifyWord(a.justification)).append(")");
    out += " (textStyleRef \"" + Out(styles_[static_cast<std::size_t>(a.text_style)]) + "\")";
    for (std::string_view t : after) out.append(" ").append(t);
    return out + " )";
  }

  // Puts the definition's attribute `name` on the wanted layer: an attribute already on that layer is kept
  // as written; one on another layer moves; a missing one is added, in a new layerContents form when the
  // definition draws nothing on that layer.
  void DefSplices(std::size_t graphics_def, const std::string& name, const DefAttr& wanted,
                  std::vector<Splice>& splices) const {
    std::size_t target = 0;
    for (std::size_t child : forms_[graphics_def].children) {
      if (forms_[child].keyword != "layerContents") continue;
      std::size_t num = Child(child, "layerNumRef");
      if (num == 0) continue;
      bool on_target = Number(forms_[num].argument) == wanted.layer;
      if (on_target && target == 0) target = child;
      for (std::size_t attr : forms_[child].children) {
        if (forms_[attr].keyword != "attr" || Str(forms_[attr].argument) != name) continue;
        if (on_target) return;
        // Take the whole line when the form stands alone on it.
        std::size_t begin = forms_[attr].begin;
        std::size_t end = forms_[attr].end;
        std::size_t line = bytes_.rfind('\n', begin == 0 ? 0 : begin - 1);
        line = line == npos ? 0 : line + 1;
        std::size_t eol = bytes_.find('\n', end);
        bool blank_before = std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(line),
                                        bytes_.begin() + static_cast<std::ptrdiff_t>(begin),
                                        [](char ch) { return ch == ' ' || ch == '\t'; });
        std::size_t stop = eol == npos ? bytes_.size() : eol + 1;
        bool blank_after = std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(end),
                                       bytes_.begin() + static_cast<std::ptrdiff_t>(stop), [](char ch) {
                                         return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
                                       });
        if (blank_before && blank_after && eol != npos) {
          splices.push_back({line, stop, ""});
        } else {
          splices.push_back({begin, end, ""});
        }
      }
    }
    DbxAttribute a;
    a.name = name;
    a.is_visible = 1;
    a.text_style = wanted.style;
    a.justification = wanted.justification;
    const std::string attr = AttrText(0, a);
    if (target != 0) {
      std::string indent = Indent(target) + "  ";
      for (std::size_t child : forms_[target].children) {
        if (forms_[child].keyword != "layerNumRef") {
          indent = Indent(child);
          break;
        }
      }
      auto [at, eol] = InsertionPoint(target);
      splices.push_back({at, at, indent + attr + eol});
      return;
    }
    std::string indent = Indent(graphics_def) + "  ";
    if (!forms_[graphics_def].children.empty()) indent = Indent(forms_[graphics_def].children.front());
    auto [at, eol] = InsertionPoint(graphics_def);
    std::string layer = std::to_string(wanted.layer);
    splices.push_back({at, at,
                       indent + "(layerContents  (layerNumRef  " + layer + ")" + eol + indent + "  " + attr +
                           eol + indent + ")" + eol});
  }

  std::filesystem::path path_;
  bool board_;
  std::string bytes_;
  bool utf8_ = false;
  bool modified_ = false;
  std::filesystem::file_time_type stamp_{};
  std::vector<Form> forms_;
  std::size_t library_ = 0;
  std::size_t design_root_ = 0;
  std::size_t netlist_ = 0;
  std::vector<std::string> styles_;
  std::vector<DbxLayer> layers_;
  std::vector<Component> components_;
  std::vector<DbxAttribute> walk_;
  std::map<std::pair<std::size_t, std::string>, DefAttr> def_layers_;

 public:
  // The positions of the open walks.
  std::optional<std::size_t> component_at;
  std::optional<std::size_t> attribute_at;
  std::optional<std::size_t> layer_at;
};

namespace {

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool IsAscii(std::string_view bytes) {
  std::string_view first_line = bytes.substr(0, bytes.find('\n'));
  return !bytes.starts_with("II") && first_line.find("ACCEL_ASCII") != npos && first_line.find('\0') == npos;
}

std::filesystem::file_time_type Stamp(const std::filesystem::path& path) {
  std::error_code error;
  auto stamp = std::filesystem::last_write_time(path, error);
  return error ? std::filesystem::file_time_type{} : stamp;
}

}  // namespace

DesignServer::DesignServer() = default;
DesignServer::~DesignServer() = default;

bool DesignServer::HoldsDesign() const {
  return design_ != nullptr;
}

std::int32_t DesignServer::OpenDesign(std::int32_t version, const std::string& design_name,
                                      DbxHandle& handle) {
  if (version != ports::kDbxVersion) return kDbxVersionMismatch;
  std::string_view name = design_name;
  bool board = false;
  if (name.starts_with("pcb:")) {
    board = true;
  } else if (!name.starts_with("sch:")) {
    return kDbxInvalidInput;
  }
  const std::filesystem::path path = model::PathFromUtf8(name.substr(4));
  if (design_ && design_->path() == path && design_->board() == board) {
    if (connected_) {
      handle = handle_;
      return kDbxConnectionExists;
    }
    if (Stamp(path) == design_->stamp()) {
      connected_ = true;
      handle = handle_ = next_handle_++;
      return kDbxOk;
    }
  } else if (connected_) {
    return kDbxBusy;
  }
  std::optional<std::string> bytes = ReadFile(path);
  if (!bytes || !IsAscii(*bytes)) return kDbxCannotOpenFile;
  auto design = std::make_unique<Design>(path, board, std::move(*bytes));
  if (!design->matches_kind() || !design->complete()) return kDbxCannotOpenFile;
  if (!design->has_library()) return kDbxLibraryNotOpened;
  design->set_stamp(Stamp(path));
  design_ = std::move(design);
  connected_ = true;
  handle = handle_ = next_handle_++;
  return kDbxOk;
}

bool DesignServer::Live(DbxHandle handle) const {
  return connected_ && handle == handle_;
}

std::int32_t DesignServer::GetFirstComponent(DbxHandle handle, DbxComponent& component) {
  if (!Live(handle)) return kDbxInvalidHandle;
  design_->component_at = 0;
  return GetNextComponent(handle, component);
}

std::int32_t DesignServer::GetNextComponent(DbxHandle handle, DbxComponent& component) {
  if (!Live(handle)) return kDbxInvalidHandle;
  if (!design_->component_at) return kDbxGetFirstNotCalled;
  std::size_t& at = *design_->component_at;
  if (at >= design_->component_count()) return kDbxNoMoreComponents;
  component = design_->ComponentRecord(at++);
  return kDbxOk;
}

std::int32_t DesignServer::GetFirstCompAttribute(DbxHandle handle, const std::string& designator,
                                                 DbxAttribute& attribute) {
  if (!Live(handle)) return kDbxInvalidHandle;
  if (design_->Attributes(designator) == nullptr) {
    design_->attribute_at.reset();
    return kDbxComponentNotFound;
  }
  design_->attribute_at = 0;
  return GetNextCompAttribute(handle, attribute);
}

std::int32_t DesignServer::GetNextCompAttribute(DbxHandle handle, DbxAttribute& attribute) {
  if (!Live(handle)) return kDbxInvalidHandle;
  if (!design_->attribute_at) return kDbxGetFirstNotCalled;
  std::size_t& at = *design_->attribute_at;
  const std::vector<DbxAttribute>& walk = design_->current_walk();
  if (at >= walk.size()) return kDbxNoMoreItems;
  attribute = walk[at++];
  return kDbxOk;
}

std::int32_t DesignServer::ModifyCompAttribute(DbxHandle handle, const std::string& designator,
                                               const DbxAttribute& attribute) {
  if (!Live(handle)) return kDbxInvalidHandle;
  return design_->Change(designator, attribute, false);
}

std::int32_t DesignServer::AddCompAttribute(DbxHandle handle, const std::string& designator,
                                            const DbxAttribute& attribute) {
  if (!Live(handle)) return kDbxInvalidHandle;
  return design_->Change(designator, attribute, true);
}

std::int32_t DesignServer::GetFirstLayer(DbxHandle handle, DbxLayer& layer) {
  if (!Live(handle)) return kDbxInvalidHandle;
  design_->layer_at = 0;
  return GetNextLayer(handle, layer);
}

std::int32_t DesignServer::GetNextLayer(DbxHandle handle, DbxLayer& layer) {
  if (!Live(handle)) return kDbxInvalidHandle;
  if (!design_->layer_at) return kDbxGetFirstNotCalled;
  std::size_t& at = *design_->layer_at;
  if (at >= design_->layer_count()) return kDbxNoMoreLayers;
  layer = design_->Layer(at++);
  return kDbxOk;
}

std::int32_t DesignServer::GetTextStyle(DbxHandle handle, std::int32_t index, DbxTextStyle& style) {
  if (!Live(handle)) return kDbxInvalidHandle;
  if (index < 0 || static_cast<std::size_t>(index) >= design_->style_count()) return kDbxInvalidTextStyle;
  style.index = index;
  style.name = design_->StyleName(static_cast<std::size_t>(index));
  return kDbxOk;
}

std::int32_t DesignServer::SaveDesign(DbxHandle handle) {
  if (!Live(handle)) return kDbxInvalidHandle;
  const std::filesystem::path& path = design_->path();
  std::string bytes = design_->Saved();
  std::filesystem::path temporary = path;
  temporary += ".saving~";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return kDbxCannotOpenFile;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return kDbxCannotOpenFile;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return kDbxCannotOpenFile;
  }
  design_->Reset(std::move(bytes));
  design_->set_stamp(Stamp(path));
  return kDbxOk;
}

std::int32_t DesignServer::CloseDesign(DbxHandle handle, const std::string& option) {
  if (!Live(handle)) return kDbxInvalidHandle;
  if (!option.empty() && option != "FileClose") return kDbxInvalidInput;
  connected_ = false;
  design_->component_at.reset();
  design_->attribute_at.reset();
  design_->layer_at.reset();
  if (option == "FileClose") design_.reset();
  return kDbxOk;
}

}  // namespace tallyform::pcad
