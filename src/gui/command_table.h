#pragma once
// The commands of the main window as one table: each command is one row that gives its text, status text,
// icon and key, the menus it stands in, when it is enabled or checked, and what it runs. The menus, the
// toolbar, the enabling and the dispatch are all made from the rows (MainWindow::Commands()).

#include <QKeyCombination>
#include <span>

namespace tallyform::gui {

class MainWindow;

enum class Command {
  kNew,
  kOpen,
  kClose,
  kSave,
  kSaveAs,
  kPrint,
  kPrintPreview,
  kPrintSetup,
  kExit,
  kUndo,
  kRedo,
  kFill,
  kTitleBlock,
  kProducts,
  kEditMode,
  kChangeEditor,
  kHistory,
  kFont,
  kLines,
  kToolbar,
  kStatusBar,
  kFirstSheet,
  kPreviousSheet,
  kNextSheet,
  kLastSheet,
  kZoomIn,
  kZoomOut,
  kWholeSheet,
  kNextWindow,
  kPreviousWindow,
  kAssembly,
  kReport,
  kHelp,
  kContextHelp,
  kAbout,
};

/// The menus of the two menu bars (one while no document window is active, one while a document window
/// is) and the toolbar, as bits: a command stands in every menu whose bit its row has, in the order of the
/// rows.
namespace menu {
inline constexpr unsigned kFile = 1u << 0;          ///< "&Файл" of a document
inline constexpr unsigned kBareFile = 1u << 1;      ///< "&Файл" without a document
inline constexpr unsigned kEdit = 1u << 2;          ///< "&Правка"
inline constexpr unsigned kDocument = 1u << 3;      ///< "&Документ"
inline constexpr unsigned kSetup = 1u << 4;         ///< "&Настройка"
inline constexpr unsigned kView = 1u << 5;          ///< "&Вид" of a document
inline constexpr unsigned kBareView = 1u << 6;      ///< "&Вид" without a document
inline constexpr unsigned kGoTo = 1u << 7;          ///< "Пере&йти на", under "&Вид"
inline constexpr unsigned kZoom = 1u << 8;          ///< "&Масштаб", under "&Вид"
inline constexpr unsigned kService = 1u << 9;       ///< "&Сервис" of a document
inline constexpr unsigned kBareService = 1u << 10;  ///< "&Сервис" without a document
inline constexpr unsigned kWindow = 1u << 11;       ///< "&Окно", then one line per document
inline constexpr unsigned kHelp = 1u << 12;         ///< "&Справка" of both bars
inline constexpr unsigned kToolbar = 1u << 13;      ///< the toolbar
}  // namespace menu

/// One menu: its bit, its title, and the menu it hangs in (0 for the menu bar).
struct MenuRow {
  unsigned bit;
  const char* title;  ///< UTF-8, "&" before the access key
  unsigned parent;
};

/// When a command can be given.
enum class Enabling {
  kAlways,
  kDocument,          ///< a document window is active
  kSeveralDocuments,  ///< more than one document is open
  kFill,              ///< the document's session says so (app::EnabledCommands), as all below
  kFirstSheet,
  kPreviousSheet,
  kNextSheet,
  kLastSheet,
  kUndo,
  kRedo,
  kTitleBlock,
  kProducts,
  kTextHeights,
  kLineWidths,
  kPageView,  ///< a document window shows its page view (not the edit view)
};

/// What a checkable command's check mark shows.
enum class Check { kNone, kToolbar, kStatusBar, kZoomInMode, kZoomOutMode, kEditMode };

struct CommandRow {
  Command command;
  const char* text;     ///< UTF-8, "&" before the access key
  const char* status;   ///< the status bar's text while the command is pointed at
  const char* icon;     ///< the icon's name in the resources, or nullptr
  QKeyCombination key;  ///< Qt::Key_unknown for none
  unsigned menus;       ///< the menu bits of the menus it stands in
  unsigned separated;   ///< the menu bits of the menus in which a separator comes before it
  Enabling enabling;
  Check check;
  void (MainWindow::*run)();
};

/// The menus, in the order of their bars.
std::span<const MenuRow> MenuRows();
/// The menus of the bar without a document and of the bar of a document, left to right.
inline constexpr unsigned kBareBar[] = {menu::kBareFile, menu::kBareService, menu::kBareView, menu::kHelp};
inline constexpr unsigned kDocumentBar[] = {menu::kFile, menu::kEdit,    menu::kDocument, menu::kSetup,
                                            menu::kView, menu::kService, menu::kWindow,   menu::kHelp};

}  // namespace tallyform::gui
