#include "app/design_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "elements/ascii_reader.h"
#include "model/element_kinds.h"
#include "model/errors.h"
#include "model/messages.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::elements {
namespace {

using namespace tallyform::text::literals;
using testing::FileBytes;
using testing::TempFolder;

std::filesystem::path Fixture(std::string_view name) {
  return std::filesystem::path(TALLYFORM_TEST_DATA) / "ascii" / name;
}

std::vector<std::string> Designators(const ListData& data) {
  std::vector<std::string> out;
  for (const auto& e : data.elements.storage()) out.emplace_back(e->Get(model::kRefDes));
  return out;
}

using Names = std::vector<std::string>;

std::vector<Element::Pair> Pairs(std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
  std::vector<Element::Pair> out;
  for (const auto& [name, value] : pairs) out.emplace_back(name, value);
  return out;
}

// A design in memory: the first line, then the given lines, CR LF.
std::string Design(std::initializer_list<std::string_view> lines) {
  std::string out = "ACCEL_ASCII \"D:\\test.sch\"\r\n\r\n(netlist \"Netlist_1\"\r\n";
  for (std::string_view line : lines) out.append(line).append("\r\n");
  return out + ")\r\n";
}

class DesignReaderTest : public ::testing::Test {
 protected:
  DesignReaderTest() : check_(folder_ / "errors.log"), reader_(kinds_, check_) { kinds_.FillBuiltIn(); }

  AsciiReadResult Read(std::string_view name, bool append = false) {
    return reader_.ReadFile(Fixture(name), append, data_, mismatch_);
  }
  AsciiReadResult ReadText(const std::string& design, bool append = false) {
    return reader_.ReadBytes(design, "D:\\test.sch", append, data_, mismatch_);
  }

  TempFolder folder_;
  model::ElementKinds kinds_;
  valuecheck::ValueCheck check_;
  app::DesignReader reader_;
  ListData data_;
  bool mismatch_ = false;
};

TEST_F(DesignReaderTest, ReadsTheComponentBlocksOfASchematic) {
  AsciiReadResult result = Read("filter_crlf.sch");
  EXPECT_EQ(result.elements_read, 7u);
  EXPECT_FALSE(result.cut_off);
  // The hole "1" is no element, and its attribute "Крепление" reaches no list.
  EXPECT_EQ(Designators(data_), (Names{"DA1", "R1", "R2", "C1", "C2", "VT1", "XS1"}));
  EXPECT_EQ(data_.attribute_names,
            (Names{"RefDes", "Type", "Pattern", std::string("ТУ"_cp), std::string("Количество"_cp),
                   std::string("Куда входит"_cp), "Value", std::string("Примечание"_cp)}));
  EXPECT_EQ(data_.prefixes, (Names{"DA", "R", "C", "VT", "XS"}));

  const std::string file = FileText(Fixture("filter_crlf.sch"));
  ASSERT_TRUE(std::filesystem::path(text::ToUtf8(file)).is_absolute());
  const Element& r1 = data_.elements.at(1);
  const std::vector<Element::Pair> expected = Pairs({
      {"RefDes", "R1"},
      {"Type", "С2-33Н-0,25-10 кОм-5%"_cp},
      {"Value", "10 кОм"_cp},
      {"Pattern", "RES-0.25W"},
      {"ТУ"_cp, "ОЖО.467.093 ТУ"_cp},
      {"Количество"_cp, "1"},
      {"Файл"_cp, file},
      {"Куда входит"_cp, ""},
      {"Group", "Резисторы"_cp},
      {"RowsInGroup", "1"},
  });
  EXPECT_EQ(r1.pairs(), expected);
  EXPECT_EQ(data_.elements.at(3).Get(model::kValue), "100 пФ"_cp);
  EXPECT_EQ(data_.elements.at(4).Get(model::kValue), "0,1 мкФ"_cp);
  EXPECT_EQ(data_.elements.at(0).Get(model::kGroup), "Микросхемы"_cp);
  EXPECT_EQ(data_.elements.at(6).Get("Примечание"_cp), "Вход сигнала"_cp);

  // R2 (4,6 кОм at 5 %) is off its series; the other resistors and capacitors fit.
  EXPECT_TRUE(mismatch_);
  EXPECT_EQ(check_.mismatch_count(), 1u);
  EXPECT_EQ(check_.unanalysable_count(), 0u);
  const std::string report = FileBytes(check_.report_path());
  EXPECT_NE(report.find("RefDes=R2"), std::string::npos);
  EXPECT_NE(report.find(file), std::string::npos);
}

TEST_F(DesignReaderTest, LineEndsAndUtf8GiveTheSameList) {
  Read("filter_crlf.sch");
  const ListData crlf = data_;
  for (std::string_view other : {"filter_lf.pcb", "filter_utf8.sch"}) {
    ListData read;
    bool flag = false;
    reader_.ReadFile(Fixture(other), false, read, flag);
    EXPECT_EQ(read.attribute_names, crlf.attribute_names) << other;
    EXPECT_EQ(read.prefixes, crlf.prefixes) << other;
    ASSERT_EQ(read.elements.count(), crlf.elements.count()) << other;
    for (std::size_t i = 0; i < read.elements.count(); ++i) {
      Element e = read.elements.at(i);
      e.Set(model::kFile, crlf.elements.at(i).Get(model::kFile));
      EXPECT_EQ(e, crlf.elements.at(i)) << other << " " << i;
    }
  }
}

TEST_F(DesignReaderTest, WhatIsNotADesignChangesNothing) {
  Read("filter_crlf.sch");
  ASSERT_TRUE(mismatch_);
  const ListData before = data_;
  const std::string report = FileBytes(check_.report_path());
  ASSERT_FALSE(report.empty());

  for (std::string_view name : {"empty.sch", "marker_second_line.sch", "binary.pcb"}) {
    for (bool append : {false, true}) {
      try {
        Read(name, append);
        ADD_FAILURE() << name << " was read";
      } catch (const DamagedFile& e) {
        EXPECT_EQ(e.message(), model::kUnknownFormat) << name;
      }
    }
  }
  try {
    Read("no-such-design.sch");
    ADD_FAILURE() << "a missing file was read";
  } catch (const UnreadableFile& e) {
    EXPECT_NE(e.message().find("no-such-design.sch"), std::string::npos);
  }
  EXPECT_THROW(reader_.ReadFile(folder_.path(), false, data_, mismatch_), UnreadableFile);  // a folder

  EXPECT_EQ(data_.elements, before.elements);
  EXPECT_EQ(data_.attribute_names, before.attribute_names);
  EXPECT_EQ(data_.prefixes, before.prefixes);
  EXPECT_TRUE(mismatch_);
  EXPECT_EQ(check_.mismatch_count(), 1u);
  EXPECT_EQ(FileBytes(check_.report_path()), report);
}

TEST_F(DesignReaderTest, RecognisesTheMarkerAnywhereOnTheFirstLineOnly) {
  EXPECT_TRUE(IsAsciiDesign("exported by a converter, ACCEL_ASCII \"x.sch\"\r\n"));
  EXPECT_TRUE(IsAsciiDesign("ACCEL_ASCII"));
  EXPECT_FALSE(IsAsciiDesign("\nACCEL_ASCII\n"));
  EXPECT_FALSE(IsAsciiDesign(std::string_view("ACCEL_ASCII\0\n", 13)));
  EXPECT_FALSE(IsAsciiDesign("II ACCEL_ASCII\n"));
  EXPECT_FALSE(IsAsciiDesign(""));
}

TEST_F(DesignReaderTest, ReadingAgainReplacesAndAppendingAddsAfterTheList) {
  Read("filter_crlf.sch");
  Read("filter_crlf.sch");
  EXPECT_EQ(data_.elements.count(), 7u);
  EXPECT_EQ(check_.mismatch_count(), 1u);  // the report started afresh

  Read("digit_designators.pcb", true);
  Read("filter_crlf.sch", true);
  EXPECT_EQ(Designators(data_), (Names{"DA1", "R1", "R2", "C1", "C2", "VT1", "XS1", "DD1", "DD2", "DA1", "R1",
                                       "R2", "C1", "C2", "VT1", "XS1"}));
  EXPECT_EQ(data_.attribute_names.size(), 8u);  // each name once
  EXPECT_EQ(data_.prefixes, (Names{"DA", "R", "C", "VT", "XS", "DD"}));
  EXPECT_TRUE(mismatch_);
  EXPECT_EQ(check_.mismatch_count(), 2u);

  // A new reading clears the flag, the report and its file.
  Read("digit_designators.pcb");
  EXPECT_FALSE(mismatch_);
  EXPECT_EQ(check_.mismatch_count(), 0u);
  EXPECT_EQ(FileBytes(check_.report_path()).find("RefDes="), std::string::npos);
}

TEST_F(DesignReaderTest, NumberDesignatorsAreNoElements) {
  Read("digit_designators.pcb");
  EXPECT_EQ(Designators(data_), (Names{"DD1", "DD2"}));
  // "drillSize" and "Mark" belong to the holes and fiducials only.
  EXPECT_EQ(data_.attribute_names, (Names{"RefDes", "Type", "Pattern", std::string("Количество"_cp),
                                          std::string("Куда входит"_cp)}));
  EXPECT_EQ(data_.prefixes, (Names{"DD"}));
}

TEST_F(DesignReaderTest, ADesignCutInsideABlockKeepsTheCompleteBlocks) {
  AsciiReadResult result = Read("cut_off.sch");
  EXPECT_EQ(Designators(data_), (Names{"DA1", "R1"}));
  EXPECT_TRUE(result.cut_off);
  EXPECT_EQ(result.cut_designator, "R2");
  // The cut R2 (off its series) is neither listed nor checked.
  EXPECT_FALSE(mismatch_);
  EXPECT_EQ(check_.mismatch_count(), 0u);

  // A file that ends right after the block's first line, or without the last line end, is handled alike.
  EXPECT_TRUE(ReadText("ACCEL_ASCII\r\n  (compInst \"R1\"").cut_off);
  EXPECT_EQ(data_.elements.count(), 0u);
  AsciiReadResult unterminated = ReadText("ACCEL_ASCII\n  (compInst \"R1\"\n    (compValue \"470\")\n  )");
  EXPECT_FALSE(unterminated.cut_off);
  EXPECT_EQ(data_.elements.at(0).Get(model::kValue), "470 Ом"_cp);
}

TEST_F(DesignReaderTest, LongLinesAreNeverCut) {
  Read("long_attr.sch");
  ASSERT_EQ(Designators(data_), (Names{"R5", "R6"}));
  const std::string_view note = data_.elements.at(0).Get("Примечание"_cp);
  EXPECT_GT(note.size(), 4000u);
  EXPECT_TRUE(note.starts_with("Примечание к позиции: "_cp));
  EXPECT_TRUE(note.ends_with("при настройке;"_cp));
  EXPECT_FALSE(data_.elements.at(1).Has("Примечание"_cp));
  EXPECT_EQ(data_.attribute_names.size(), 6u);
}

TEST_F(DesignReaderTest, AttributeNamesFollowTheOrderFirstMet) {
  ReadText(Design({"  (compInst \"C1\"", "    (compRef \"CAP_1\")", "    (originalName \"CAP\")",
                   "    (patternName \"C0805\")", "    (compValue \"\")", "  )", "  (compInst \"C2\"",
                   "    (compRef \"CAP_1\")", "    (originalName \"CAP\")", "    (compValue \"22p\")",
                   "    (patternName \"C0805\")", "  )"}));
  EXPECT_EQ(data_.attribute_names, (Names{"RefDes", "Type", "Pattern", "Value", std::string("Количество"_cp),
                                          std::string("Куда входит"_cp)}));
  EXPECT_EQ(data_.elements.at(0).Get(model::kValue), " пФ"_cp);  // an empty value is a bare number
  EXPECT_EQ(data_.elements.at(1).Get(model::kValue), "22пФ"_cp);
  EXPECT_FALSE(data_.elements.at(0).Has("compRef"));

  ReadText(Design({}));
  EXPECT_EQ(data_.attribute_names, (Names{"RefDes", "Type"}));
  EXPECT_EQ(data_.elements.count(), 0u);
}

TEST_F(DesignReaderTest, KeywordLinesOfABlock) {
  ReadText(Design({
      "  (compInst \"R1\"",
      "    (compValue \"4k7\")",
      "    (attr \"Value\" \"4.7k\" (textStyleRef \"(Default)\") )",  // later lines win, unnormalized
      "    (attr \"Примечание\" \"Подбирается \"при настройке\"\" )"_cp,
      "    (isFixed True)",  // other forms keep their own text
      "    (gateEq \"1\")",
      "    (attr \"RefDes\" \"1\")",  // the block's name stays the designator
      "    (RefDes \"2\")",
      "    continuation without a keyword \"x\"",
      "    ( spaced \"y\")",
      "    (attr \"Broken)",
      "  ) ",  // not a block end: trailing blank
      "\t)",   // not a block end: tab
      "  )",
      "  (compInst C5",  // no quoted designator: no block
      "    (compValue \"1\")",
      "  )",
      "  (compInst \"C6\"",
      "    (compValue \"1\")",
      "  )",
  }));
  ASSERT_EQ(Designators(data_), (Names{"R1", "C6"}));
  const Element& r1 = data_.elements.at(0);
  EXPECT_EQ(r1.Get(model::kRefDes), "R1");
  EXPECT_EQ(r1.Get(model::kValue), "4.7k");
  EXPECT_EQ(r1.Get("Примечание"_cp), "Подбирается "_cp);
  EXPECT_EQ(r1.Get("isFixed"), "True");
  EXPECT_EQ(r1.Get("gateEq"), "1");
  EXPECT_EQ(r1.size(), 10u);  // RefDes, Value, Примечание, isFixed, gateEq and the five derived attributes
  EXPECT_EQ(data_.elements.at(1).Get(model::kValue), "1 пФ"_cp);
}

TEST_F(DesignReaderTest, DesignationMapAndKindsGiveTheDerivedAttributes) {
  const auto path =
      folder_.Write("unit.sch", Design({"  (compInst \"DAX1\"", "  )", "  (compInst \"QWE5\"", "  )",
                                        "  (compInst \"MO1\"", "  )", "  (compInst \"Ж1\""_cp, "  )"}));
  data_.designations[FileText(path)] = "АБВГ.468157.001"_cp;
  reader_.ReadFile(path, false, data_, mismatch_);
  ASSERT_EQ(data_.elements.count(), 4u);
  EXPECT_EQ(data_.elements.at(0).Get(model::kGoesInto), "АБВГ.468157.001"_cp);
  EXPECT_EQ(data_.elements.at(0).Get(model::kGroup), "Микросхемы"_cp);
  EXPECT_EQ(data_.elements.at(1).Get(model::kGroup), "Выключатели"_cp);
  EXPECT_EQ(data_.elements.at(2).Get(model::kGroup), "Двигатели тока"_cp);
  EXPECT_EQ(data_.elements.at(3).Get(model::kGroup), "");
  EXPECT_TRUE(data_.elements.at(3).Has(model::kGroup));
  EXPECT_EQ(data_.prefixes, (Names{"DAX", "QWE", "MO", std::string("Ж"_cp)}));
}

TEST_F(DesignReaderTest, OnlyPrefixesExactlyRAndCAreChecked) {
  // RK1 and CT2 carry values off any series, but only R1 and C1 are examined; C1 has no tolerance.
  ReadText(Design(
      {"  (compInst \"RK1\"", "    (originalName \"ТР-4,6 кОм-5%\")"_cp, "    (compValue \"4k6\")", "  )",
       "  (compInst \"CT2\"", "    (originalName \"КТ-4,6 пФ-5%\")"_cp, "    (compValue \"4,6\")", "  )",
       "  (compInst \"R1\"", "    (originalName \"С2-33-4,6 кОм-5%\")"_cp, "    (compValue \"4k6\")", "  )",
       "  (compInst \"C1\"", "    (originalName \"К10-17\")"_cp, "    (compValue \"100\")", "  )"}));
  EXPECT_TRUE(mismatch_);
  EXPECT_EQ(check_.mismatch_count(), 1u);
  EXPECT_EQ(check_.unanalysable_count(), 1u);
  EXPECT_EQ(data_.elements.at(0).Get(model::kValue),
            "4,6 кОм"_cp);  // normalized by its first letter all the same
}

// Every real design of the samples folder is read; they hold only netlists of Latin text.
TEST_F(DesignReaderTest, ReadsEveryRealSample) {
  const std::filesystem::path samples = TALLYFORM_SAMPLES;
  if (!std::filesystem::is_directory(samples)) GTEST_SKIP() << "no samples at " << samples;
  std::size_t designs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(samples)) {
    if (entry.path().extension() == ".md") continue;
    ListData read;
    bool flag = false;
    AsciiReadResult result;
    ASSERT_NO_THROW(result = reader_.ReadFile(entry.path(), false, read, flag)) << entry.path();
    EXPECT_FALSE(result.cut_off) << entry.path();
    for (const auto& element : read.elements.storage()) {
      EXPECT_FALSE(model::BeginsWithDigit(element->Get(model::kRefDes))) << entry.path();
      EXPECT_EQ(element->Get(model::kRowsInGroup), "1");
    }
    ++designs;
  }
  EXPECT_GE(designs, 6u);
}

}  // namespace
}  // namespace tallyform::elements
