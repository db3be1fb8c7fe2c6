#pragma once
// The main window: the document windows in one area, the menus (one set while no document is active,
// the document's set while one is), the toolbar, the status bar with its panes, and the recent-file list.

#include <QMainWindow>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <map>

#include "app/recent_files.h"
#include "gui/printing.h"
#include "model/document_kind.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace tallyform::gui {

class DocumentWindow;
struct Services;

/// The commands of the menus and the toolbar.
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

/// The file name of the user guide, written into the program's folder when the help is asked for.
inline constexpr char kGuideFile[] = "guide.html";

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  /// The number of files the recent-file list keeps.
  static constexpr int kRecentFiles = static_cast<int>(app::RecentFiles::kCapacity);

  /// The settings of `services` keep the recent-file list.
  explicit MainWindow(Services& services, QWidget* parent = nullptr);
  ~MainWindow() override;

  QAction* action(Command command) const { return actions_.at(command); }
  /// The active document window, or nullptr.
  DocumentWindow* ActiveDocument() const;
  QList<DocumentWindow*> Documents() const;
  QMdiArea* area() const { return area_; }
  /// The text of a status pane: 118 editor, 108 sheet, 109 sheet of sheets.
  QLabel* pane(int id) const { return panes_.at(id); }
  QStringList RecentFiles() const;
  /// The keyboard indicators CAP, NUM and SCRL: enabled while their lock is on.
  const QList<QLabel*>& LockIndicators() const { return lock_indicators_; }

  /// A new document of a kind in a new window.
  DocumentWindow* NewDocument(model::DocumentKind kind);
  /// Opens a document file, or activates its window when it is open already; nullptr when it could not be
  /// read (the user was told).
  DocumentWindow* OpenDocument(const std::filesystem::path& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  /// Documents dropped on the window from a file manager are opened, each in its window.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void MakeActions();
  void MakeMenus();
  void MakeToolBar();
  void MakeStatusBar();
  void ShowMenus();
  void UpdateCommands();
  void UpdatePanes();
  void UpdateLockIndicators();
  void OnActivated(QMdiSubWindow* window);
  void Trigger(Command command);
  void RunCommand(Command command);
  DocumentWindow* AddWindow(DocumentWindow* window);
  void AddRecent(const std::filesystem::path& path);
  /// Writes the recent-file list to the settings and shows it in the file menus.
  void StoreRecent();
  void OpenRecent(int index);
  /// The help commands: the user guide shipped with the program, opened by the desktop.
  void ShowGuide();
  void UpdateRecentMenu();
  /// The window menu: the two window commands, then one line per open document, the active one checked.
  void FillWindowMenu();
  void Print();
  void PrintPreview();
  QAction* Make(Command command, const QString& text, const QString& status, const QString& icon = {});

  Services& services_;
  QString family_;
  QMdiArea* area_;
  std::map<Command, QAction*> actions_;
  std::map<int, QLabel*> panes_;
  QList<QLabel*> lock_indicators_;
  QMenu* file_menu_;           // menu 128's file menu
  QMenu* document_file_menu_;  // menu 129's file menu
  QMenu* window_menu_;
  QList<QMenu*> menus_without_document_;
  QList<QMenu*> menus_with_document_;
  QList<QAction*> recent_actions_;
  QList<QAction*> recent_separators_;
  QToolBar* toolbar_;
  app::RecentFiles recent_;
  QPrinter printer_;
  PrintScale print_scale_ = PrintScale::kTrueSize;
  int untitled_ = 0;
  bool menus_for_document_ = true;
};

}  // namespace tallyform::gui
