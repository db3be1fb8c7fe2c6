#include "app/editor_identity.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_ports.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using testing::FakePrompts;
using testing::FakeSettingsStore;
using testing::FakeSystemInfo;

struct Ports {
  FakeSettingsStore settings;
  FakeSystemInfo system;
  FakePrompts prompts;
  EditorIdentity identity{settings, system};
};

TEST(EditorIdentityTest, ProposesTheLastNameOrElseTheRegisteredOwnerWhichItStores) {
  {
    Ports p;
    p.system.owner = std::string("Сидоров С.С."_cp);
    p.prompts.editor_answers.push_back(std::nullopt);  // the user cancels: the owner is stored all the same
    EXPECT_EQ(p.identity.Ask(p.prompts), std::nullopt);
    EXPECT_EQ(p.prompts.Texts(FakePrompts::Kind::kEditor), std::vector<std::string>{p.system.owner});
    EXPECT_EQ(p.settings.values.at("LastDocOwner"), p.system.owner);
  }
  {
    Ports p;
    p.system.owner = "owner";
    p.settings.values["LastDocOwner"] = std::string("Петров"_cp);
    EXPECT_EQ(p.identity.ProposeName(), "Петров"_cp);
    p.settings.values["LastDocOwner"] = "";  // stored but empty: nothing is proposed
    EXPECT_EQ(p.identity.ProposeName(), "");
    EXPECT_TRUE(p.settings.writes.empty());
  }
  {
    Ports p;
    p.system.owner = "owner";
    p.settings.values["LastDocOwner"] = std::string(kMaxOwnerBytes + 1, 'a');
    EXPECT_EQ(p.identity.ProposeName(), "owner");
    EXPECT_EQ(p.settings.values.at("LastDocOwner"), "owner");
  }
  {
    Ports p;  // the command line proposes without touching the store
    p.system.owner = "owner";
    EXPECT_EQ(p.identity.PeekProposal(), "owner");
    EXPECT_TRUE(p.settings.writes.empty());
  }
}

TEST(EditorIdentityTest, OkStoresTheTypedNameAndAnUnwritableStoreMakesOkACancel) {
  Ports p;
  p.settings.values["LastDocOwner"] = "old";
  p.prompts.editor_answers.push_back(std::string("Новиков"_cp));
  EXPECT_EQ(p.identity.Ask(p.prompts), std::string("Новиков"_cp));
  EXPECT_EQ(p.settings.values.at("LastDocOwner"), "Новиков"_cp);

  p.settings.writable = false;
  p.prompts.editor_answers.push_back(std::string("Другой"_cp));
  EXPECT_EQ(p.identity.Ask(p.prompts), std::nullopt);
  EXPECT_EQ(p.settings.values.at("LastDocOwner"), "Новиков"_cp);
  EXPECT_EQ(p.settings.writes.back().second, "Другой"_cp);  // it was tried
  // and the user hears why the name was not taken
  ASSERT_EQ(p.prompts.Texts(testing::FakePrompts::Kind::kWarning).size(), 1u);
  EXPECT_EQ(p.prompts.Texts(testing::FakePrompts::Kind::kWarning)[0],
            "settings.ini" + std::string(kNameNotTaken));
}

}  // namespace
}  // namespace tallyform::app
