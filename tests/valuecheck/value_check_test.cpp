#include "valuecheck/value_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "text/literal.h"

namespace tallyform::valuecheck {
namespace {

using namespace text::literals;
namespace fs = std::filesystem;

const std::string kRule(52, '-');

std::string Cp(std::string_view s) {
  return std::string(s);
}

class ValueCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("tallyform-valuecheck-" + std::to_string(random()));
    fs::create_directories(folder_);
    check_ = std::make_unique<ValueCheck>(folder_ / "errors.log");
  }
  void TearDown() override {
    check_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string ReadReport() const {
    std::ifstream in(check_->report_path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // The report's lines; every line must end in CR LF.
  std::vector<std::string> ReportLines() const {
    const std::string bytes = ReadReport();
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < bytes.size()) {
      const std::size_t end = bytes.find("\r\n", from);
      EXPECT_NE(end, std::string::npos) << "unterminated last line";
      if (end == std::string::npos) break;
      lines.push_back(bytes.substr(from, end - from));
      EXPECT_EQ(lines.back().find('\n'), std::string::npos) << "bare line feed";
      from = end + 2;
    }
    return lines;
  }

  // The lines of the one entry in a report with one section and one file header.
  std::vector<std::string> OnlyEntry() const {
    const auto lines = ReportLines();
    return lines.size() > 8 ? std::vector<std::string>(lines.begin() + 8, lines.end()) : lines;
  }

  std::vector<std::string> Expected(std::initializer_list<std::string_view> lines) {
    std::vector<std::string> out;
    for (auto line : lines) out.emplace_back(line);
    return out;
  }

  bool R(std::string ref, std::string_view type, std::string_view value, std::string file = "a.sch") {
    return check_->CheckResistor(std::move(ref), Cp(type), Cp(value), std::move(file));
  }
  bool C(std::string ref, std::string_view type, std::string_view value, std::string file = "a.sch") {
    return check_->CheckCapacitor(std::move(ref), Cp(type), Cp(value), std::move(file));
  }

  fs::path folder_;
  std::unique_ptr<ValueCheck> check_;
};

std::string Nearest(std::string_view key_and_value) {
  return Cp("Ближайшее значение номинала при заданной точности "_cp) + Cp(key_and_value);
}

std::string Possible(std::string_view value_and_key) {
  return Cp("Возможная точность для заданного номинала "_cp) + Cp(value_and_key);
}

TEST_F(ValueCheckTest, WritesTheReportOfOneResistorByteForByte) {
  EXPECT_FALSE(R("R1", "Р1-12-0,125-4,6 кОм-5%"_cp, "4,6 кОм"_cp, "D:\\pcb\\board.pcb"));
  const std::string expected =
      kRule + "\r\n" + Cp(" РЕЗИСТОРЫ:"_cp) + "\r\n" + kRule + "\r\n\r\n" +  //
      kRule + "\r\n" + Cp(" ФАЙЛ: "_cp) + "D:\\pcb\\board.pcb\r\n" + kRule + "\r\n\r\n" +
      "RefDes=R1\tType=" + Cp("Р1-12-0,125-4,6 кОм-5%"_cp) + "\tValue=" + Cp("4,6 кОм"_cp) + "\r\n\r\n" +
      Cp("ВОЗМОЖНЫЕ ВАРИАНТЫ:"_cp) + "\r\n" +  //
      Nearest("5%: 4,3 кОм"_cp) + "\r\n" + Nearest("5%: 4,7 кОм"_cp) + "\r\n\r\n\r\n";
  EXPECT_EQ(ReadReport(), expected);
  EXPECT_EQ(check_->RenderReport(), expected);
  EXPECT_EQ(check_->mismatch_count(), 1u);
  EXPECT_EQ(check_->unanalysable_count(), 0u);
}

TEST_F(ValueCheckTest, ResistorEntriesNameNearestValuesAndPossibleTolerances) {
  // 95 lies above the last E24 number: no nearest value.
  EXPECT_FALSE(R("R1", "С2-33-0,25-95 Ом-5%"_cp, "95 Ом"_cp));
  EXPECT_EQ(OnlyEntry(),
            Expected({"RefDes=R1\tType=" + Cp("С2-33-0,25-95 Ом-5%"_cp) + "\tValue=" + Cp("95 Ом"_cp), "",
                      "ВОЗМОЖНЫЕ ВАРИАНТЫ:"_cp, "", ""}));

  // 470 is not in E96 but 47 is in E24, E12, E6 and 470 in E192, named in the registry's order.
  check_->ClearReport();
  EXPECT_FALSE(R("R2", "Р1-12-0,125-47 кОм-1%"_cp, "47 кОм"_cp));
  EXPECT_EQ(OnlyEntry(),
            Expected({"RefDes=R2\tType=" + Cp("Р1-12-0,125-47 кОм-1%"_cp) + "\tValue=" + Cp("47 кОм"_cp), "",
                      "ВОЗМОЖНЫЕ ВАРИАНТЫ:"_cp, Nearest("1%: 46,4 кОм"_cp), Nearest("1%: 47,5 кОм"_cp),
                      Possible("47 кОм: 5%"_cp), Possible("47 кОм: 0,5%"_cp), Possible("47 кОм: 20%"_cp),
                      Possible("47 кОм: 10%"_cp), "", ""}));

  // 30 is in E24 only; 300 is in none of the three-digit series.
  check_->ClearReport();
  EXPECT_FALSE(R("R3", "Р1-12-0,125-30 кОм-10%"_cp, "30 кОм"_cp));
  EXPECT_EQ(OnlyEntry(),
            Expected({"RefDes=R3\tType=" + Cp("Р1-12-0,125-30 кОм-10%"_cp) + "\tValue=" + Cp("30 кОм"_cp), "",
                      "ВОЗМОЖНЫЕ ВАРИАНТЫ:"_cp, Nearest("10%: 27 кОм"_cp), Nearest("10%: 33 кОм"_cp),
                      Possible("30 кОм: 5%"_cp), "", ""}));

  // An empty value is taken from the type text and shown as such.
  check_->ClearReport();
  EXPECT_FALSE(R("R4", "Р1-12-0,125-4,6 кОм-5%"_cp, ""));
  const auto lines = OnlyEntry();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "RefDes=R4\tType=" + Cp("Р1-12-0,125-4,6 кОм-5%"_cp) + "\tValue=" + Cp("4,6 кОм"_cp));
  EXPECT_EQ(check_->mismatch_count(), 1u);
}

TEST_F(ValueCheckTest, ValuesOnTheirSeriesAndUnexaminedTolerancesPass) {
  EXPECT_TRUE(R("R1", "Р1-12-0,125-4,7 кОм-5%"_cp, "4,7 кОм"_cp));
  EXPECT_TRUE(R("R2", "Р1-12-0,125-10 кОм-20%"_cp, "1 кОм"_cp));
  EXPECT_TRUE(R("R3", "Р1-12-0,125-1 кОм-1%"_cp, "1 кОм"_cp));  // 100 in E96
  EXPECT_TRUE(R("R4", "Р1-12-0,125-4,64 кОм-1%"_cp, "4,64 кОм"_cp));
  EXPECT_TRUE(R("R5", "Р1-12-0,125-46 кОм-25%"_cp, "46 кОм"_cp));  // no key: not examined
  EXPECT_TRUE(C("C1", "К10-17-0,1 мкФ-20%"_cp, "0,1 мкФ"_cp));
  EXPECT_EQ(check_->mismatch_count() + check_->unanalysable_count(), 0u);
  EXPECT_TRUE(fs::exists(check_->report_path()));
  EXPECT_EQ(ReadReport(), "");
}

TEST_F(ValueCheckTest, CapacitorsAreComparedWithThreeDigitSeriesAndListedFirst) {
  EXPECT_FALSE(R("R1", "Р1-12-0,125-4,6 кОм-5%"_cp, "4,6 кОм"_cp));
  EXPECT_TRUE(C("C1", "К10-17-4,7 мкФ-1%"_cp, "4,7 мкФ"_cp));  // 1 % means E24: 470
  EXPECT_TRUE(C("C2", "К10-17-15 пФ-5%"_cp, "15 пФ"_cp));      // 150
  EXPECT_FALSE(C("C3", "К10-17-4,6 мкФ-1%"_cp, "4,6 мкФ"_cp));
  EXPECT_FALSE(C("C4", "К10-17-1,1 мкФ-10%"_cp, "1,1 мкФ"_cp));
  const auto lines = ReportLines();
  const auto resistors = std::find(lines.begin(), lines.end(), Cp(" РЕЗИСТОРЫ:"_cp));
  ASSERT_NE(resistors, lines.end());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], Cp(" КОНДЕНСАТОРЫ:"_cp));
  const std::vector<std::string> capacitors(lines.begin() + 8, resistors - 1);
  EXPECT_EQ(capacitors,
            Expected({"RefDes=C3\tType=" + Cp("К10-17-4,6 мкФ-1%"_cp) + "\tValue=" + Cp("4,6 мкФ"_cp), "",
                      "ВОЗМОЖНЫЕ ВАРИАНТЫ:"_cp, Nearest("5%: 4,3 мкФ"_cp), Nearest("5%: 4,7 мкФ"_cp), "", "",
                      "RefDes=C4\tType=" + Cp("К10-17-1,1 мкФ-10%"_cp) + "\tValue=" + Cp("1,1 мкФ"_cp), "",
                      "ВОЗМОЖНЫЕ ВАРИАНТЫ:"_cp, Nearest("10%: 1,0 мкФ"_cp), Nearest("10%: 1,2 мкФ"_cp),
                      Possible("1,1 мкФ: 5%"_cp), Possible("1,1 мкФ: 0,5%"_cp), "", ""}));
  EXPECT_EQ(check_->mismatch_count(), 3u);
}

TEST_F(ValueCheckTest, ElementsThatCannotBeAnalysedHaveTheirOwnSection) {
  EXPECT_FALSE(R("R1", "Р1-12-0,125-10 кОм"_cp, "10 кОм"_cp, "x.sch"));  // no tolerance
  EXPECT_FALSE(R("R2", "Р1-5%"_cp, "", "x.sch"));                        // no value anywhere
  EXPECT_FALSE(C("C1", "К10-17- мкФ-5%"_cp, "", "x.sch"));               // the value in use is not a number
  EXPECT_FALSE(C("C2", "К10-17-5%"_cp, "n/c", "y.sch"));
  const std::string header =
      kRule + "\r\n" + Cp(" ЭЛЕМЕНТЫ, НЕ ПОДДАЮЩИЕСЯ АНАЛИЗУ:"_cp) + "\r\n" + kRule + "\r\n\r\n";
  auto file = [](std::string_view name) {
    return kRule + "\r\n" + Cp(" ФАЙЛ: "_cp) + Cp(name) + "\r\n" + kRule + "\r\n\r\n";
  };
  EXPECT_EQ(ReadReport(), header + file("x.sch") +                                             //
                              "RefDes=R1\tType=" + Cp("Р1-12-0,125-10 кОм"_cp) + "\tValue=" +  //
                              Cp("10 кОм"_cp) + "\r\n" +                                       //
                              "RefDes=R2\tType=" + Cp("Р1-5%"_cp) + "\tValue=\r\n" +           //
                              "RefDes=C1\tType=" + Cp("К10-17- мкФ-5%"_cp) + "\tValue=" + Cp(" мкФ"_cp) +
                              "\r\n" + file("y.sch") + "RefDes=C2\tType=" + Cp("К10-17-5%"_cp) +
                              "\tValue=n/c\r\n\r\n");
  EXPECT_EQ(check_->unanalysable_count(), 4u);

  // A line feed inside a text is written as the file's line end, like every other.
  EXPECT_FALSE(C("C3", "two\nlines", "n/\nc", "y.sch"));
  EXPECT_NE(ReadReport().find("Type=two\r\nlines\tValue=n/\r\nc\r\n"), std::string::npos);
  EXPECT_EQ(check_->mismatch_count(), 0u);
}

TEST_F(ValueCheckTest, FileHeadersMarkEachChangeOfSourceFile) {
  const std::string_view type = "Р1-12-0,125-4,6 кОм-5%"_cp;
  R("R1", type, "4,6 кОм"_cp, "a.sch");
  R("R2", type, "4,6 кОм"_cp, "a.sch");
  R("R3", type, "4,6 кОм"_cp, "b.sch");
  R("R4", type, "4,6 кОм"_cp, "a.sch");
  std::vector<std::string> files;
  for (const auto& line : ReportLines()) {
    if (line.starts_with(Cp(" ФАЙЛ: "_cp))) files.push_back(line.substr(7));
  }
  EXPECT_EQ(files, (std::vector<std::string>{"a.sch", "b.sch", "a.sch"}));
}

// Emptying the report used to keep the remembered file name, so a second run on the same design wrote
// its entries without a file header.
TEST_F(ValueCheckTest, EveryRunAfterClearingHasItsFileHeaders) {
  for (int run = 0; run < 2; ++run) {
    check_->ClearReport();
    check_->DeleteReportFile();
    EXPECT_FALSE(R("R1", "Р1-12-0,125-4,6 кОм-5%"_cp, "4,6 кОм"_cp, "board.pcb"));
    EXPECT_FALSE(R("R2", "Р1-12-0,125-10 кОм"_cp, "10 кОм"_cp, "board.pcb"));
    const auto lines = ReportLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), Cp(" ФАЙЛ: board.pcb"_cp)), 2) << "run " << run;
  }
}

// A resistor tolerance of 3 % selects E24, yet its mantissa used to be lengthened to three digits, so no
// value could ever match.
TEST_F(ValueCheckTest, ToleranceBetweenTwoAndFourPercentUsesTwoDigitE24) {
  EXPECT_TRUE(R("R1", "Р1-12-0,125-4,7 кОм-3%"_cp, "4,7 кОм"_cp));
  EXPECT_FALSE(R("R2", "Р1-12-0,125-4,6 кОм-3%"_cp, "4,6 кОм"_cp));
  EXPECT_NE(ReadReport().find(Nearest("5%: 4,3 кОм"_cp)), std::string::npos);
}

// Removes `count` lines from the one that begins with `start`.
std::vector<std::string> Without(std::vector<std::string> lines, const std::string& start,
                                 std::size_t count) {
  auto at =
      std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); });
  EXPECT_NE(at, lines.end()) << start;
  if (at == lines.end()) return lines;
  lines.erase(at, at + static_cast<std::ptrdiff_t>(count));
  return lines;
}

TEST_F(ValueCheckTest, ForgettingRemovesExactlyOneEntryBlock) {
  const std::string type(Cp("Р1-12-0,125-4,6 кОм-5%"_cp));
  const std::string value(Cp("4,6 кОм"_cp));
  R("R1", type, value, "a.sch");
  R("R2", type, value, "a.sch");
  R("R3", type, value, "b.sch");
  C("C1", "К10-17-4,6 мкФ-5%"_cp, "4,6 мкФ"_cp, "a.sch");
  R("R4", "Р1"_cp, value, "b.sch");
  const auto all = ReportLines();
  const std::size_t kEntry = 7;  // designator line, empty, title, two nearest values, two empty lines
  const std::size_t kHeader = 4;

  check_->ForgetEntries(ComponentClass::kResistor, "R2");
  check_->ForgetEntries(ComponentClass::kResistor, "R9");   // never failed
  check_->ForgetEntries(ComponentClass::kCapacitor, "R1");  // not a capacitor entry
  const auto without_r2 = Without(all, "RefDes=R2", kEntry);
  EXPECT_EQ(ReportLines(), without_r2);
  EXPECT_EQ(check_->mismatch_count(), 3u);

  // The last entry under a file header takes the header with it; checking it again brings both back.
  check_->ForgetEntries(ComponentClass::kResistor, "R3");
  auto expected = Without(without_r2, "RefDes=R3", kEntry);
  const auto b_header = std::find(expected.begin(), expected.end(), Cp(" ФАЙЛ: b.sch"_cp));
  ASSERT_NE(b_header, expected.end());
  expected.erase(b_header - 1, b_header - 1 + kHeader);
  EXPECT_EQ(ReportLines(), expected);
  R("R3", type, value, "b.sch");
  EXPECT_EQ(ReportLines(), without_r2);

  check_->ForgetEntries(ComponentClass::kResistor, "R4");
  EXPECT_EQ(check_->unanalysable_count(), 0u);
  const auto lines = ReportLines();
  EXPECT_EQ(std::find(lines.begin(), lines.end(), Cp(" ЭЛЕМЕНТЫ, НЕ ПОДДАЮЩИЕСЯ АНАЛИЗУ:"_cp)), lines.end());
}

TEST_F(ValueCheckTest, RunsWriteTheReportOnceWhenTheOutermostRunEnds) {
  const std::string type(Cp("Р1-12-0,125-4,6 кОм-5%"_cp));
  {
    ReportRun run(*check_);
    check_->ClearReport();
    R("R1", type, Cp("4,6 кОм"_cp));
    {
      ReportRun inner(*check_);
      R("R2", type, Cp("4,6 кОм"_cp));
    }
    R("R3", "Р1"_cp, "");
    EXPECT_FALSE(fs::exists(check_->report_path())) << "written inside a run";
  }
  EXPECT_EQ(ReadReport(), check_->RenderReport());
  EXPECT_EQ(check_->mismatch_count(), 2u);

  // Forgetting inside a run is mirrored at its end; outside a run every change is written at once.
  check_->BeginRun();
  check_->ForgetEntries(ComponentClass::kResistor, "R1");
  check_->EndRun();
  EXPECT_EQ(ReadReport(), check_->RenderReport());
  EXPECT_EQ(ReadReport().find("RefDes=R1"), std::string::npos);
  check_->EndRun();  // unbalanced: ignored
  R("R5", type, Cp("4,6 кОм"_cp));
  EXPECT_NE(ReadReport().find("RefDes=R5"), std::string::npos);

  // A run that passes every check still leaves a file behind, empty.
  check_->ClearReport();
  check_->DeleteReportFile();
  {
    ReportRun run(*check_);
    R("R1", "Р1-12-0,125-4,7 кОм-5%"_cp, Cp("4,7 кОм"_cp));
  }
  EXPECT_TRUE(fs::exists(check_->report_path()));
  EXPECT_EQ(ReadReport(), "");
}

TEST_F(ValueCheckTest, AReportThatCannotBeWrittenKeepsItsLists) {
  ValueCheck check(folder_ / "missing" / "errors.log");
  EXPECT_FALSE(check.CheckResistor("R1", Cp("Р1-12-0,125-4,6 кОм-5%"_cp), Cp("4,6 кОм"_cp), "a.sch"));
  EXPECT_FALSE(fs::exists(check.report_path()));
  fs::create_directories(folder_ / "missing");
  EXPECT_TRUE(check.CheckResistor("R2", Cp("Р1-12-0,125-4,7 кОм-5%"_cp), Cp("4,7 кОм"_cp), "a.sch"));
  std::ifstream in(check.report_path(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), check.RenderReport());
  EXPECT_EQ(check.mismatch_count(), 1u);
}

TEST(CheckedClassTest, OnlyThePrefixesRAndCAreChecked) {
  EXPECT_EQ(CheckedClass("R1"), ComponentClass::kResistor);
  EXPECT_EQ(CheckedClass("R"), ComponentClass::kResistor);
  EXPECT_EQ(CheckedClass("C12"), ComponentClass::kCapacitor);
  EXPECT_EQ(CheckedClass("RK1"), std::nullopt);
  EXPECT_EQ(CheckedClass("CT2"), std::nullopt);
  EXPECT_EQ(CheckedClass("VD1"), std::nullopt);
  EXPECT_EQ(CheckedClass(""), std::nullopt);
}

}  // namespace
}  // namespace tallyform::valuecheck
