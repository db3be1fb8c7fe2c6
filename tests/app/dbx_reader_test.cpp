// Reading designs through the design link: the elements of the published designs as the ASCII reader finds
// them, the names of the first pass, the close question, appending, and failures that change nothing.

#include "app/dbx_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "elements/ascii_reader.h"
#include "elements/list_data.h"
#include "model/attributes.h"
#include "model/platform.h"
#include "pcad/dbx_status.h"
#include "pcad/design_server.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using testing::FakePrompts;
using Kind = FakePrompts::Kind;

const std::filesystem::path kSamples = TALLYFORM_SAMPLES;

// Fails the second open of each reading with a given status.
class SecondOpenFails : public pcad::DesignServer {
 public:
  std::int32_t status = pcad::kDbxBusy;
  int opens = 0;
  std::int32_t OpenDesign(std::int32_t version, const std::string& name, ports::DbxHandle& handle) override {
    if (++opens == 2) return status;
    return DesignServer::OpenDesign(version, name, handle);
  }
};

class DbxReaderTest : public ::testing::Test {
 protected:
  testing::TempFolder home_;
  Application application_{home_.path(), std::make_unique<pcad::DesignServer>()};
  valuecheck::ValueCheck check_ = application_.NewValueCheck();
  FakePrompts prompts_;
};

// Every published design read through the link holds the ASCII reader's elements with the same attributes
// (the link adds the pattern of a board's components), and "Pattern" follows "Value" among the names.
TEST_F(DbxReaderTest, PublishedDesignsGiveTheAsciiReadersElements) {
  // The published designs lie beside the project, not in it; a machine without them skips this.
  if (!std::filesystem::is_directory(TALLYFORM_SAMPLES))
    GTEST_SKIP() << "no published designs at " << TALLYFORM_SAMPLES;
  for (const char* name : {"zxinet.pcb", "zxinet.sch", "TurboFMpro.pcb", "TurboFMpro.sch"}) {
    SCOPED_TRACE(name);
    const std::filesystem::path path = kSamples / name;
    const DbxDesignKind kind = path.extension() == ".pcb" ? DbxDesignKind::kBoard : DbxDesignKind::kSchematic;
    elements::ListData ascii;
    elements::AsciiReader(application_.kinds()).ReadFile(path, false, ascii);
    elements::ListData linked;
    bool mismatch = false;
    ASSERT_TRUE(ReadDesignThroughDbx(application_.dbx(), prompts_, application_.kinds(), check_, path, kind,
                                     false, linked, mismatch));
    ASSERT_EQ(linked.elements.count(), ascii.elements.count());
    for (std::size_t i = 0; i < ascii.elements.count(); ++i) {
      const elements::Element& a = *ascii.elements.storage()[i];
      const elements::Element& l = *linked.elements.storage()[i];
      for (std::string_view attribute : {model::kRefDes, model::kType, model::kValue, model::kFile,
                                         model::kGroup, model::kQuantity, model::kRowsInGroup}) {
        EXPECT_EQ(l.Get(attribute), a.Get(attribute)) << a.Get(model::kRefDes) << " " << attribute;
      }
    }
    EXPECT_EQ(linked.prefixes, ascii.prefixes);
    const auto& names = linked.attribute_names;
    const auto value = std::find(names.begin(), names.end(), model::kValue);
    if (value != names.end()) {
      ASSERT_NE(value + 1, names.end());
      EXPECT_EQ(*(value + 1), model::kPattern);
    }
    EXPECT_EQ(names.back(), model::kGoesInto);
  }
  // The question was asked each time and answered No: the last design stays loaded.
  EXPECT_EQ(prompts_.Texts(Kind::kTitledQuestion).size(), 4u);
  EXPECT_TRUE(static_cast<pcad::DesignServer&>(application_.dbx()).HoldsDesign());
}

TEST_F(DbxReaderTest, AppendsClosesAndFailsWithoutChanges) {
  // The published designs lie beside the project, not in it; a machine without them skips this.
  if (!std::filesystem::is_directory(TALLYFORM_SAMPLES))
    GTEST_SKIP() << "no published designs at " << TALLYFORM_SAMPLES;
  const std::filesystem::path path = kSamples / "zxinet.pcb";
  elements::ListData data;
  bool mismatch = false;
  pcad::DesignServer server;
  prompts_.titled_answers = {false, true};
  ASSERT_TRUE(ReadDesignThroughDbx(server, prompts_, application_.kinds(), check_, path,
                                   DbxDesignKind::kBoard, false, data, mismatch));
  const std::size_t count = data.elements.count();
  const auto names = data.attribute_names;
  ASSERT_TRUE(ReadDesignThroughDbx(server, prompts_, application_.kinds(), check_, path,
                                   DbxDesignKind::kBoard, true, data, mismatch));
  EXPECT_EQ(data.elements.count(), 2 * count);
  EXPECT_EQ(data.attribute_names, names);
  EXPECT_EQ(prompts_.Texts(Kind::kTitledQuestion).back(),
            std::string("Вопрос|Программа завершила работу с файлом P-CAD "_cp) + model::PathText(path) +
                ".\r\n" + std::string("Закрыть файл?"_cp));
  EXPECT_FALSE(server.HoldsDesign());  // Yes closed the file

  // A second pass that cannot open leaves the names of the first pass out: nothing changes.
  SecondOpenFails failing;
  elements::ListData other;
  other.attribute_names = {"Old"};
  EXPECT_FALSE(ReadDesignThroughDbx(failing, prompts_, application_.kinds(), check_, path,
                                    DbxDesignKind::kBoard, false, other, mismatch));
  EXPECT_EQ(other.attribute_names, std::vector<std::string>{"Old"});
  EXPECT_EQ(other.elements.count(), 0u);
  EXPECT_EQ(prompts_.Texts(Kind::kTitledMessage).back(), pcad::DbxStatusMessage(pcad::kDbxBusy));
  EXPECT_EQ(prompts_.message_titles.back().first, std::string(pcad::DbxErrorTitle()));
}

}  // namespace
}  // namespace tallyform::app
