#pragma once
// Telling the views of a document what changed in it: a listener subscribes to the document's session and
// gets every change until its subscription ends.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tallyform::app {

/// One change of a document, as its session tells it: what changed, and where.
struct DocumentChange {
  /// The aspects of a document a change can touch; a change touches one or more.
  enum Aspect : unsigned {
    kSheets = 1u << 0,        ///< cells and rows of the sheets, or their number (fill, edit, undo, redo)
    kSettings = 1u << 1,      ///< the title block, text heights, line widths, products or fill parameters
    kListData = 1u << 2,      ///< the element list and its side data
    kEditor = 1u << 3,        ///< the editor's name
    kSaved = 1u << 4,         ///< saved: the path, the file name and the history
    kModified = 1u << 5,      ///< the modified mark went on or off
    kRowClipboard = 1u << 6,  ///< the session's row clipboard
  };
  /// Every sheet from `first_sheet` on.
  static constexpr std::size_t kToLastSheet = static_cast<std::size_t>(-1);

  unsigned aspects = 0;
  /// The sheets touched, 0-based and inclusive; nothing when `first_sheet` > `last_sheet`.
  std::size_t first_sheet = 0;
  std::size_t last_sheet = kToLastSheet;
  /// The rows touched on `first_sheet`, 0-based and inclusive; every row when not given.
  std::optional<std::pair<std::size_t, std::size_t>> rows;

  bool Touches(unsigned aspect) const { return (aspects & aspect) != 0; }
  bool TouchesSheet(std::size_t sheet) const { return sheet >= first_sheet && sheet <= last_sheet; }
  friend bool operator==(const DocumentChange&, const DocumentChange&) = default;
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
  void Notify(const DocumentChange& change) const;

 private:
  std::shared_ptr<detail::ListenerList> list_;
};

}  // namespace tallyform::app
