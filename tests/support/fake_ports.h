#pragma once
// Scripted fakes of the ports a core workflow talks to. Each records what it was asked, so a test can
// check the questions, proposals and writes as well as the answers' effect.
//
// FakePrompts answers from queues the test fills; with a queue empty it answers No to questions and takes
// every proposal as it stands (the save dialog returns the proposed path, the editor dialog the proposed
// name, the sort choice the marked choice).

#include <cstddef>
#include <ctime>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/errors.h"
#include "model/platform.h"
#include "ports/progress.h"
#include "ports/prompts.h"
#include "ports/settings_store.h"
#include "ports/shell.h"
#include "ports/system_info.h"

namespace tallyform::testing {

/// A progress bar that counts what it was told.
class FakeProgress : public ports::Progress {
 public:
  int starts = 0;
  int maximum = -1;
  int steps = 0;
  int finishes = 0;
  void Start(int max) override {
    ++starts;
    maximum = max;
    steps = 0;
  }
  void Step() override { ++steps; }
  void Finish() override { ++finishes; }
};

class FakePrompts : public ports::Prompts {
 public:
  enum class Kind {
    kWarning,
    kError,
    kInformation,
    kQuestion,
    kWarningQuestion,
    kSaveFile,
    kEditor,
    kSortChoice,
    kDesignations,
    kRoles,
    kMapping,
    kTitledMessage,
    kTitledQuestion,
    kOpenFile,
    kRefDes2
  };
  struct Call {
    Kind kind;
    std::string text;  ///< the message, the proposed path (native), the proposed name or the dialog's text
  };

  // Answers, taken front first.
  std::deque<bool> question_answers;                              ///< Question and WarningQuestion
  std::deque<std::optional<std::filesystem::path>> save_answers;  ///< nullopt cancels
  std::deque<std::optional<std::string>> editor_answers;          ///< nullopt is "Отмена"
  std::deque<std::optional<std::size_t>> sort_answers;            ///< the choice's index; nullopt cancels
  /// The designation dialog's answers; with none left the map as shown is taken.
  std::deque<std::optional<std::map<std::string, std::string>>> designation_answers;
  /// The roles dialog's answers; with none left it is cancelled.
  std::deque<std::optional<model::RoleSelection>> role_answers;
  /// The column mapping dialog's answers; with none left the proposal is taken.
  std::deque<std::optional<model::ColumnMapping>> mapping_answers;
  /// TitledQuestion's answers; with none left No.
  std::deque<bool> titled_answers;
  /// OpenFileName's answers; with none left it is cancelled.
  std::deque<std::optional<std::filesystem::path>> open_answers;
  /// The RefDes2 dialog's answers; with none left it is cancelled. The offer of the last one.
  std::deque<std::optional<model::RefDes2Choice>> refdes2_answers;
  model::RefDes2Offer last_refdes2_offer;
  /// The title and icon of each titled message, in order.
  std::vector<std::pair<std::string, ports::MessageIcon>> message_titles;
  /// The choices and the marked one of the last sort choice dialog.
  std::vector<std::string> last_sort_choices;
  std::size_t last_sort_current = 0;

  std::vector<Call> calls;

  void Warning(const std::string& text) override { calls.push_back({Kind::kWarning, text}); }
  void ErrorMessage(const std::string& text) override { calls.push_back({Kind::kError, text}); }
  void Information(const std::string& text) override { calls.push_back({Kind::kInformation, text}); }
  bool Question(const std::string& text) override {
    calls.push_back({Kind::kQuestion, text});
    return NextAnswer();
  }
  bool WarningQuestion(const std::string& text) override {
    calls.push_back({Kind::kWarningQuestion, text});
    return NextAnswer();
  }
  void TitledMessage(ports::MessageIcon icon, const std::string& title, const std::string& text) override {
    calls.push_back({Kind::kTitledMessage, text});
    message_titles.emplace_back(title, icon);
  }
  bool TitledQuestion(const std::string& title, const std::string& text) override {
    calls.push_back({Kind::kTitledQuestion, title + "|" + text});
    return Next(titled_answers, false);
  }
  std::optional<std::filesystem::path> OpenFileName(const std::string& title,
                                                    const std::string& filter) override {
    calls.push_back({Kind::kOpenFile, title + "|" + filter});
    return Next(open_answers, std::optional<std::filesystem::path>());
  }
  std::optional<model::RefDes2Choice> RefDes2Properties(const model::RefDes2Offer& offer) override {
    calls.push_back({Kind::kRefDes2, offer.copy_path});
    last_refdes2_offer = offer;
    return Next(refdes2_answers, std::optional<model::RefDes2Choice>());
  }
  std::optional<std::filesystem::path> SaveFileName(const std::filesystem::path& proposal) override {
    calls.push_back({Kind::kSaveFile, model::Utf8FromPath(proposal)});
    if (save_answers.empty()) return proposal;
    auto answer = save_answers.front();
    save_answers.pop_front();
    return answer;
  }
  std::optional<std::string> EditorName(const std::string& proposal) override {
    calls.push_back({Kind::kEditor, proposal});
    if (editor_answers.empty()) return proposal;
    auto answer = editor_answers.front();
    editor_answers.pop_front();
    return answer;
  }

  std::optional<std::size_t> SortChoice(const std::string& text, const std::vector<std::string>& choices,
                                        std::size_t current) override {
    calls.push_back({Kind::kSortChoice, text});
    last_sort_choices = choices;
    last_sort_current = current;
    if (sort_answers.empty()) return current;
    auto answer = sort_answers.front();
    sort_answers.pop_front();
    return answer;
  }

  std::optional<std::map<std::string, std::string>> Designations(
      const std::map<std::string, std::string>& map) override {
    calls.push_back({Kind::kDesignations, {}});
    return Next(designation_answers, std::optional(map));
  }
  std::optional<model::RoleSelection> RoleChoice(const model::RoleSelection&,
                                                 const std::vector<std::string>&) override {
    calls.push_back({Kind::kRoles, {}});
    return Next(role_answers, std::optional<model::RoleSelection>());
  }
  std::optional<model::ColumnMapping> Mapping(const model::ColumnMapping& proposed,
                                              const std::vector<std::string>&) override {
    calls.push_back({Kind::kMapping, {}});
    return Next(mapping_answers, std::optional(proposed));
  }

  /// The texts of the calls of one kind, in order.
  std::vector<std::string> Texts(Kind kind) const {
    std::vector<std::string> out;
    for (const Call& call : calls) {
      if (call.kind == kind) out.push_back(call.text);
    }
    return out;
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& answers, T otherwise) {
    if (!answers.empty()) {
      otherwise = std::move(answers.front());
      answers.pop_front();
    }
    return otherwise;
  }
  bool NextAnswer() {
    if (question_answers.empty()) return false;
    const bool answer = question_answers.front();
    question_answers.pop_front();
    return answer;
  }
};

class FakeSettingsStore : public ports::SettingsStore {
 public:
  std::map<std::string, std::string> values;
  /// False makes every write fail (tallyform::UnreadableFile "settings.ini", nothing stored).
  bool writable = true;
  /// Every write attempted, in order, successful or not.
  std::vector<std::pair<std::string, std::string>> writes;

  std::optional<std::string> Read(const std::string& key) override {
    auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Write(const std::string& key, const std::string& value) override {
    writes.emplace_back(key, value);
    if (!writable) throw UnreadableFile("settings.ini");
    values[key] = value;
  }
  std::optional<std::filesystem::path> ReadPath(const std::string& key) override {
    const std::optional<std::string> value = Read(key);
    if (!value) return std::nullopt;
    return model::PathFromUtf8(*value);
  }
  void WritePath(const std::string& key, const std::filesystem::path& value) override {
    Write(key, model::Utf8FromPath(value));
  }
  void Remove(const std::string& key) override {
    if (!writable) throw UnreadableFile("settings.ini");
    values.erase(key);
  }
};

class FakeSystemInfo : public ports::SystemInfo {
 public:
  std::string computer = "BENCH-7";
  std::string user = "engineer";
  std::string owner;
  /// 05.03.2024 09:07:02 unless a test sets another time.
  std::tm time = MakeTime(2024, 3, 5, 9, 7, 2);

  static std::tm MakeTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
  }

  std::string ComputerName() override { return computer; }
  std::string UserName() override { return user; }
  std::string RegisteredOwner() override { return owner; }
  std::tm LocalTime() override { return time; }
};

class FakeShell : public ports::Shell {
 public:
  std::vector<std::filesystem::path> opened;
  void Open(const std::filesystem::path& file) override { opened.push_back(file); }
};

}  // namespace tallyform::testing
