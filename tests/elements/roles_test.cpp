#include "elements/roles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "elements/default_headings.h"
#include "model/errors.h"
#include "support/fake_ports.h"
#include "text/literal.h"

namespace tallyform::elements {
namespace {

using namespace tallyform::text::literals;
using model::DocumentKind;
using testing::FakePrompts;

Element& Add(ComponentList& list,
             std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
  auto e = std::make_unique<Element>();
  for (const auto& [name, value] : pairs) e->Set(name, value);
  list.Append(std::move(e));
  return list.at(list.count() - 1);
}

TEST(RolesTest, ValidatesDesignatorNameAndValueInTurn) {
  model::Roles roles = model::DefaultRoles();
  // No designator: its slot is emptied and the later ones stay as they were.
  EXPECT_EQ(SetRoles(roles, {std::nullopt, "Name", "Nominal", "Spec"}), kChooseDesignatorWarning);
  EXPECT_EQ(roles, (model::Roles{"", "Type", "Value", std::string("ТУ"_cp), "Pattern"}));
  // The designator passes and is written before the name is refused.
  EXPECT_EQ(SetRoles(roles, {"Pos", std::nullopt, "Nominal", "Spec"}), kChooseNameWarning);
  EXPECT_EQ(roles, (model::Roles{"Pos", "", "Value", std::string("ТУ"_cp), "Pattern"}));
  EXPECT_EQ(SetRoles(roles, {"Pos", "Name", std::nullopt, "Spec"}), kChooseValueWarning);
  EXPECT_EQ(roles[model::kRoleValue], "");
  EXPECT_EQ(kChooseValueWarning, "Выберите атрибут элемента, являющийся номиналом элемента."_cp);
  // The supply document is optional; the package always keeps its default.
  roles[model::kRolePackage] = "Footprint";
  EXPECT_EQ(SetRoles(roles, {"Pos", "Name", "Nominal", std::nullopt}), std::nullopt);
  EXPECT_EQ(roles, (model::Roles{"Pos", "Name", "Nominal", "", "Pattern"}));

  // What the dialog proposes: only roles whose attributes the list holds.
  const RoleSelection proposed = ProposedRoles(model::DefaultRoles(), {"RefDes", "Type", "Pattern"});
  EXPECT_EQ(proposed.designator, "RefDes");
  EXPECT_EQ(proposed.value, std::nullopt);
  EXPECT_EQ(proposed.supply_document, std::nullopt);
  EXPECT_TRUE(RolesIncomplete(model::DefaultRoles(), {"RefDes", "Type", "Value"}));
  EXPECT_FALSE(RolesIncomplete(model::DefaultRoles(), {"Value", "RefDes", std::string("ТУ"_cp), "Type"}));
}

TEST(RolesTest, AcceptedRolesResortAndResetTheHeadings) {
  ListData data;
  Add(data.elements, {{"RefDes", "R1"}, {"Pos", "R2"}});
  Add(data.elements, {{"RefDes", "R2"}, {"Pos", "R1"}});
  data.headings = {{"Old", std::string(kHeadingNote)}};
  FakePrompts prompts;
  MergeChoice merge = MergeChoice::kSeparateLists;

  RolesOutcome outcome = AcceptRoles(data, model::DocumentKind::kElementList,
                                     {std::nullopt, "Type", "Value", {}}, merge, prompts);
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(prompts.Texts(FakePrompts::Kind::kWarning),
            (std::vector<std::string>{std::string(kChooseDesignatorWarning)}));
  EXPECT_EQ(data.elements.at(0).Get("RefDes"), "R1");  // not sorted
  EXPECT_EQ(data.headings.size(), 1u);

  outcome =
      AcceptRoles(data, model::DocumentKind::kElementList, {"Pos", "Type", "Value", {}}, merge, prompts);
  EXPECT_TRUE(outcome.accepted);
  EXPECT_TRUE(outcome.sorted);
  EXPECT_EQ(data.elements.at(0).Get("Pos"), "R1");  // sorted by the new designator
  EXPECT_EQ(data.headings,
            (archive::StringMap{{"Pos", std::string(kHeadingDesignator)},
                                {"Type", std::string(kHeadingName)},
                                {std::string(model::kQuantity), std::string(kHeadingQuantity)}}));
}

TEST(RolesTest, ColumnMappingRefillsTheHeadingsOrChangesNothing) {
  const archive::StringList names{"RefDes", "Type", "Value", std::string(model::kQuantity)};
  archive::StringMap headings{{"RefDes", std::string(kHeadingDesignator)},
                              {"Stale", std::string(kHeadingNote)}};
  model::FillParameters parameters{3, 1};

  ColumnMapping mapping = ProposedColumnMapping(names, headings, parameters);
  ASSERT_EQ(mapping.rows.size(), 4u);
  EXPECT_EQ(mapping.rows[0], (HeadingRow{"RefDes", std::string(kHeadingDesignator)}));
  EXPECT_EQ(mapping.rows[1], (HeadingRow{"Type", ""}));

  // A title of another kind, or counts out of range, leave everything as it was.
  mapping.rows[1].title = kHeadingTotal;
  EXPECT_THROW(ApplyColumnMapping(mapping, model::DocumentKind::kElementList, headings, parameters),
               BadUsage);
  mapping.rows[1].title = kHeadingName;
  mapping.parameters.tail = 30;
  EXPECT_THROW(ApplyColumnMapping(mapping, model::DocumentKind::kElementList, headings, parameters),
               BadUsage);
  EXPECT_EQ(headings.size(), 2u);

  mapping.parameters = {0, 2};
  mapping.rows[0].title.clear();
  ApplyColumnMapping(mapping, model::DocumentKind::kElementList, headings, parameters);
  // Every row is kept, an empty title too; the stale entry is gone.
  EXPECT_EQ(headings, (archive::StringMap{{"RefDes", ""},
                                          {"Type", std::string(kHeadingName)},
                                          {"Value", ""},
                                          {std::string(model::kQuantity), ""}}));
  EXPECT_EQ(parameters, (model::FillParameters{0, 2}));
}

TEST(RolesTest, JoinsByLinkAndBySubstitution) {
  ComponentList list;
  Add(list, {{"Type", "К10-17"_cp}, {"Value", "0,1 мкФ"_cp}, {"Pattern", "0805"}});
  Add(list, {{"Value", "10"}});  // no Type yet, no Pattern

  JoinAttributes(list, {"Type", JoinMethod::kLink, {{"Value", " "}, {"Pattern", ", "}}});
  EXPECT_EQ(list.at(0).Get("Type"), "К10-17 0,1 мкФ, 0805"_cp);
  EXPECT_EQ(list.at(1).Get("Type"), " 10, ");  // created, with empty values for what is absent

  ComponentList substitute;
  Add(substitute, {{"Type", "К10-17-XX"_cp}, {"Value", "0,1 мкФ"_cp}});
  Add(substitute, {{"Type", "XX/XX"}, {"Value", "X"}});
  Add(substitute, {{"Type", "none"}, {"Value", "1"}});
  JoinAttributes(substitute, {"Type", JoinMethod::kSubstitute, {{"Value", "XX"}}});
  EXPECT_EQ(substitute.at(0).Get("Type"), "К10-17-0,1 мкФ"_cp);
  EXPECT_EQ(substitute.at(1).Get("Type"), "X/X");  // every occurrence, not the inserted values again
  EXPECT_EQ(substitute.at(2).Get("Type"), "none");

  // No row that names an attribute: nothing changes and nothing is created. A row named by a single space
  // (no such attribute) adds only its separator.
  ComponentList untouched;
  Add(untouched, {{"Value", "1"}});
  JoinAttributes(untouched, {"Type", JoinMethod::kLink, {{"", "-"}}});
  EXPECT_FALSE(untouched.at(0).Has("Type"));
  JoinAttributes(untouched, {"Type", JoinMethod::kLink, {{" ", "-"}}});
  EXPECT_EQ(untouched.at(0).Get("Type"), "-");
}

}  // namespace
}  // namespace tallyform::elements
