#include "app/document_change.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tallyform::app {
namespace {

TEST(DocumentChangeTest, ListenersMayLeaveWhileTheyAreToldAndTokensOutliveTheNotifier) {
  std::optional<ChangeNotifier> notifier(std::in_place);
  std::vector<int> told;
  std::optional<Subscription> second;
  Subscription first = notifier->Subscribe([&](const DocumentChange&) {
    told.push_back(1);
    second.reset();  // the second listener leaves before its turn
  });
  second = notifier->Subscribe([&](const DocumentChange&) { told.push_back(2); });
  Subscription third = notifier->Subscribe([&](const DocumentChange&) { told.push_back(3); });
  notifier->Notify(DocumentChange{DocumentChange::kSheets, 0, DocumentChange::kToLastSheet, std::nullopt});
  EXPECT_EQ(told, (std::vector<int>{1, 3}));

  // Moving the notifier takes its listeners along; a token may outlive it.
  ChangeNotifier moved = std::move(*notifier);
  notifier.reset();
  moved.Notify(DocumentChange{DocumentChange::kEditor, 1, 0, std::nullopt});
  EXPECT_EQ(told, (std::vector<int>{1, 3, 1, 3}));
  EXPECT_TRUE(third.active());
  {
    ChangeNotifier gone;
    third = gone.Subscribe([&](const DocumentChange&) { told.push_back(4); });
  }
  EXPECT_FALSE(third.active());
}

}  // namespace
}  // namespace tallyform::app
