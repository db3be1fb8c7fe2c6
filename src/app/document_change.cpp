#include "app/document_change.h"

#include <algorithm>

namespace tallyform::app {

void Subscription::Reset() {
  if (id_ == 0) return;
  if (const std::shared_ptr<detail::ListenerList> list = list_.lock()) {
    std::erase_if(list->entries, [&](const auto& entry) { return entry.first == id_; });
  }
  list_.reset();
  id_ = 0;
}

Subscription ChangeNotifier::Subscribe(ChangeListener listener) {
  if (!list_) list_ = std::make_shared<detail::ListenerList>();  // a notifier moved from
  const std::uint64_t id = list_->next_id++;
  list_->entries.emplace_back(id, std::move(listener));
  return Subscription(list_, id);
}

void ChangeNotifier::Notify(const DocumentChange& change) const {
  if (!list_) return;
  // The list may change under the calls; each listener is looked up again before it is told. The list is
  // kept alive here even if a listener destroys the document.
  const std::shared_ptr<detail::ListenerList> list = list_;
  std::vector<std::uint64_t> ids;
  ids.reserve(list->entries.size());
  for (const auto& entry : list->entries) ids.push_back(entry.first);
  for (std::uint64_t id : ids) {
    const auto it = std::find_if(list->entries.begin(), list->entries.end(),
                                 [&](const auto& entry) { return entry.first == id; });
    if (it == list->entries.end()) continue;
    const ChangeListener listener = it->second;  // the entry may go while it is told
    listener(change);
  }
}

}  // namespace tallyform::app
