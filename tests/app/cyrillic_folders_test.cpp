// The whole road in folders whose names hold Cyrillic letters and spaces, as the program's users keep them:
// the program's folder with its kinds file and value-check report, designs read as files and through the
// design link, a document filled, saved over itself, filled again from the saved one and opened, the settings
// and the copy of a board for its assembly drawing.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/assembly_drawing.h"
#include "app/dbx_reader.h"
#include "app/fill_workflow.h"
#include "app/open_workflow.h"
#include "app/settings_file.h"
#include "model/platform.h"
#include "pcad/design_server.h"
#include "support/fake_ports.h"
#include "support/fake_text_measurer.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using testing::FileBytes;
using testing::TempFolder;

TEST(CyrillicFoldersTest, CarryTheWholeRoad) {
  TempFolder root;
  const std::filesystem::path home = root.path() / u8"Программа перечней";
  const std::filesystem::path project = root.path() / u8"Проекты" / u8"Усилитель мощности";
  std::filesystem::create_directories(home);
  std::filesystem::create_directories(project);
  const std::filesystem::path schematic = project / u8"Схема усилителя.sch";
  const std::filesystem::path board = project / u8"Плата.pcb";
  std::filesystem::copy_file(std::filesystem::path(TALLYFORM_EXAMPLES) / "amplifier.sch", schematic);
  std::filesystem::copy_file(std::filesystem::path(TALLYFORM_EXAMPLES) / "amplifier.pcb", board);

  Application application(home, std::make_unique<pcad::DesignServer>());
  EXPECT_TRUE(application.start_up_warnings().empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(home / "ElementNames.map"));

  // Read through the design link by name, as P-CAD is asked.
  testing::FakePrompts prompts;
  valuecheck::ValueCheck check = application.NewValueCheck();
  elements::ListData linked;
  bool mismatch = false;
  ASSERT_TRUE(ReadDesignThroughDbx(application.dbx(), prompts, application.kinds(), check, board,
                                   DbxDesignKind::kBoard, false, linked, mismatch));
  EXPECT_GT(linked.elements.count(), 0u);

  // Filled from both files, saved, then filled again over the saved document itself.
  testing::FakeTextMeasurer measurer;
  testing::FakeSettingsStore settings;
  testing::FakeSystemInfo system;
  const std::filesystem::path output = project / u8"Перечень элементов ПЭ3.enum";
  FillRequest request;
  request.kind = model::DocumentKind::kElementList;
  request.designs = {schematic, board};
  request.editor = "Иванов"_cp;
  request.output = output;
  const FillOutcome filled = RunFill(application, request, {measurer, prompts, settings, system});
  ASSERT_TRUE(filled.report.has_value());
  EXPECT_EQ(*filled.report, home / "errors.log");
  EXPECT_TRUE(std::filesystem::is_regular_file(home / "errors.log"));

  RunFill(application, request, {measurer, prompts, settings, system});  // over the saved file
  const std::filesystem::path second = project / u8"Перечень, второе исполнение.enum";
  FillRequest again;
  again.from = output;
  again.designs = {board};
  again.editor = "Петров"_cp;
  again.output = second;
  RunFill(application, again, {measurer, prompts, settings, system});
  const DocumentSession opened = OpenDocument(second);
  ASSERT_EQ(opened.document().history().size(), 2u);
  EXPECT_EQ(opened.document().history().front().file, model::PathText(output));
  EXPECT_EQ(opened.document().history().back().file, model::PathText(second));
  EXPECT_NE(opened.document().history().back().file.find("Усилитель мощности"_cp), std::string::npos);
  EXPECT_EQ(opened.document().path(), second);
  EXPECT_GT(opened.document().sheets().sheet_count(), 0);

  // The settings keep paths with such names.
  {
    SettingsFile file(SettingsFile::In(home));
    file.WritePath("Recent File List/File1", output);
  }
  EXPECT_EQ(SettingsFile(SettingsFile::In(home)).ReadPath("Recent File List/File1"), output);

  EXPECT_EQ(AssemblyCopyPath(board), project / u8"Плата_SB.pcb");
  for (const auto& entry : std::filesystem::directory_iterator(project)) {
    EXPECT_FALSE(model::Utf8FromPath(entry.path().filename()).starts_with(".")) << "a temporary file stayed";
  }
}

}  // namespace
}  // namespace tallyform::app
