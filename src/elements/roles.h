#pragma once
// Which attribute plays which role, which attribute goes into which document column, and joining several
// attributes into one: the logic behind the attribute roles, column mapping and joining dialogs of the
// element list window.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive.h"
#include "elements/component_list.h"
#include "elements/element_order.h"
#include "elements/list_data.h"
#include "model/attributes.h"
#include "model/document_kind.h"
#include "model/fill_parameters.h"
#include "model/list_choices.h"
#include "text/literal.h"

namespace tallyform::ports {
class Prompts;
}  // namespace tallyform::ports

namespace tallyform::elements {

using namespace tallyform::text::literals;

// ---- Attribute roles ----

inline constexpr std::string_view kChooseDesignatorWarning =
    "Выберите атрибут элемента, являющийся позиционным обозначением."_cp;
inline constexpr std::string_view kChooseNameWarning =
    "Выберите атрибут элемента, являющийся наименованием элемента."_cp;
inline constexpr std::string_view kChooseValueWarning =
    "Выберите атрибут элемента, являющийся номиналом элемента."_cp;

using model::RoleSelection;

/// What the roles dialog shows on opening: each role's attribute when the attribute name list holds it,
/// otherwise nothing chosen.
RoleSelection ProposedRoles(const model::Roles& roles, const archive::StringList& attribute_names);

/// True when an attribute of the designator, name, value or supply-document role is missing from the
/// attribute name list (an empty supply-document role counts as missing): the fill asks for the roles then.
bool RolesIncomplete(const model::Roles& roles, const archive::StringList& attribute_names);

/// Writes the roles in the order designator, name, value, each slot as its choice passes. A role without a
/// choice empties its slot, leaves the later slots as they were and gives its warning (kChoose*Warning).
/// When all three pass, the supply-document slot takes its choice or the empty name and the package slot
/// its default ("Pattern"); nothing is returned.
std::optional<std::string_view> SetRoles(model::Roles& roles, const RoleSelection& selection);

struct RolesOutcome {
  bool accepted = false;  ///< the roles passed; otherwise the dialog stays open
  bool sorted = false;    ///< the list was sorted again
};

/// The roles dialog's OK on the element list window's data. SetRoles; a warning is shown with
/// Prompts::Warning and nothing else happens. Accepted roles sort the list again with them (SortWithChoice:
/// a simple bill of several files asks the sort choice first, and a cancelled choice leaves the order),
/// then the heading map is emptied and the kind's default headings applied.
RolesOutcome AcceptRoles(ListData& data, model::DocumentKind kind, const RoleSelection& selection,
                         MergeChoice& merge, ports::Prompts& prompts);

// ---- Column mapping ----

using model::ColumnMapping;
using model::HeadingRow;

/// What the dialog shows on opening: a row per name of the attribute name list, in order, with the title
/// the heading map holds for it (empty when none), and the parameters as they are.
ColumnMapping ProposedColumnMapping(const archive::StringList& attribute_names,
                                    const archive::StringMap& headings,
                                    const model::FillParameters& parameters);

/// The dialog's OK: the heading map is emptied and refilled from every row (empty titles kept), and the
/// parameters are taken. A title the kind does not offer, or parameters out of range (Validate),
/// are tallyform::BadUsage; then nothing has changed.
void ApplyColumnMapping(const ColumnMapping& mapping, model::DocumentKind kind, archive::StringMap& headings,
                        model::FillParameters& parameters);

// ---- Joining attributes ----

enum class JoinMethod {
  kLink,        ///< the result takes each row's text and then the row attribute's value, in turn
  kSubstitute,  ///< every occurrence of each row's text in the result is replaced by the attribute's value
};

/// One row of a join: an attribute and its text (the separator written before its value, or the substring
/// its value replaces).
struct JoinRow {
  std::string attribute;
  std::string text;
};

struct JoinSpec {
  std::string result;  ///< the attribute that receives the joined text
  JoinMethod method = JoinMethod::kLink;
  std::vector<JoinRow> rows;  ///< in order
};

/// Joins attributes into the result attribute of every element. The running text starts as the element's
/// result attribute (empty when absent); each row with a non-empty attribute name, in order, adds its text
/// and the attribute's value (link) or replaces every occurrence of its text by the value (substitute; an
/// empty text occurs nowhere); an absent attribute gives the empty value. The running text is then stored
/// in the result attribute, which is created when absent. Elements are left untouched when no row has an
/// attribute name, and so is everything when the result name is empty.
void JoinAttributes(ComponentList& list, const JoinSpec& spec);

}  // namespace tallyform::elements
