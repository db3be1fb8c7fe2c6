#pragma once
// Telling the views of a document what changed in it: a listener subscribes and gets every change until
// its subscription ends.

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tallyform::document {

/// One change to a document.
struct DocumentChange {
  enum class Kind {
    kSheets,    ///< the sheets: their tables, rows, cells or layout (fill, edit, undo, redo)
    kListData,  ///< the element list and its side data
    kSettings,  ///< the title block, text heights, line widths or fill parameters of the settings table
    kSaved,     ///< saved: the path, the file name and the history
    kModified,  ///< the modified flag
    kReplaced,  ///< everything: another document was read into this one
  };
  Kind kind;
};

using ChangeListener = std::function<void(const DocumentChange&)>;

namespace detail {
struct ListenerList {
  std::uint64_t next_id = 1;
  std::vector<std::pair<std::uint64_t, ChangeListener>> entries;
};
}  // namespace detail

/// A listener's place in a document's list: while it lives, the listener is told every change; destroying
/// or resetting it takes the listener off. It may outlive the document (then it does nothing).
class Subscription {
 public:
  Subscription() = default;
  ~Subscription() { Reset(); }
  Subscription(Subscription&& other) noexcept
      : list_(std::move(other.list_)), id_(std::exchange(other.id_, 0)) {}
  Subscription& operator=(Subscription&& other) noexcept {
    if (this != &other) {
      Reset();
      list_ = std::move(other.list_);
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

  /// Takes the listener off now.
  void Reset();
  bool active() const { return id_ != 0 && !list_.expired(); }

 private:
  friend class ChangeNotifier;
  Subscription(std::weak_ptr<detail::ListenerList> list, std::uint64_t id)
      : list_(std::move(list)), id_(id) {}

  std::weak_ptr<detail::ListenerList> list_;
  std::uint64_t id_ = 0;
};

/// The listeners of one document. Moving the notifier takes its listeners along.
class ChangeNotifier {
 public:
  ChangeNotifier() : list_(std::make_shared<detail::ListenerList>()) {}

  [[nodiscard]] Subscription Subscribe(ChangeListener listener);
  /// Tells every listener, in the order they subscribed. A listener may subscribe or unsubscribe others
  /// (or itself) while it is told: one taken off is not told any more, one added is told from the next
  /// change on.
  void Notify(DocumentChange::Kind kind) const;

 private:
  std::shared_ptr<detail::ListenerList> list_;
};

}  // namespace tallyform::document
