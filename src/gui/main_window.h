#pragma once
// The main window: the document windows in one area, the menus (one bar while no document is active, the
// document's bar while one is), the toolbar, the status bar with its panes, and the recent-file list. Its
// commands are the rows of one table (command_table.h), from which the menus, the toolbar, the enabling
// and the dispatch are made.

#include <QMainWindow>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <map>
#include <span>

#include "app/recent_files.h"
#include "gui/command_table.h"
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

/// The file name of the user guide, written into the program's folder when the help is asked for.
inline constexpr char kGuideFile[] = "guide.html";

/// The panes of the status bar after the message pane.
enum class Pane {
  kEditor,         ///< "Редактировал: %s"
  kSheet,          ///< "Лист %d"
  kSheetOfSheets,  ///< "%d/%d"
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  /// The number of files the recent-file list keeps.
  static constexpr int kRecentFiles = static_cast<int>(app::RecentFiles::kCapacity);

  /// The rows of the commands, in the order of their menus.
  static std::span<const CommandRow> Commands();

  /// The settings of `services` keep the recent-file list.
  explicit MainWindow(Services& services, QWidget* parent = nullptr);
  ~MainWindow() override;

  QAction* action(Command command) const { return actions_.at(command); }
  /// The active document window, or nullptr.
  DocumentWindow* ActiveDocument() const;
  QList<DocumentWindow*> Documents() const;
  QMdiArea* area() const { return area_; }
  QLabel* pane(Pane pane) const { return panes_.at(pane); }
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
  // Building the window from the table (main_window.cpp).
  void MakeActions();
  void MakeMenus();
  void MakeToolBar();
  void MakeStatusBar();
  void ShowMenus();
  void UpdateCommands();
  void UpdatePanes();
  void UpdateLockIndicators();
  void OnActivated(QMdiSubWindow* window);
  /// Runs a command through the error boundary, then brings the enabling, the panes and the focus up to
  /// date.
  void Trigger(const CommandRow& row);
  DocumentWindow* AddWindow(DocumentWindow* window);

  // The files (main_window_files.cpp).
  void AddRecent(const std::filesystem::path& path);
  /// Shows the recent-file list in the file menus and keeps it in the settings.
  void StoreRecent();
  void OpenRecent(int index);
  void UpdateRecentMenu();
  /// The window menu: the two window commands, then one line per open document, the active one checked.
  void FillWindowMenu();

  // The commands (main_window_commands.cpp), one per row of the table.
  void NewCommand();
  void OpenCommand();
  void CloseCommand();
  void SaveCommand();
  void SaveAsCommand();
  void PrintCommand();
  void PrintPreviewCommand();
  void PrintSetupCommand();
  void ExitCommand();
  void FillCommand();
  void UndoCommand();
  void RedoCommand();
  void TitleBlockCommand();
  void ProductsCommand();
  void FontCommand();
  void LinesCommand();
  void ChangeEditorCommand();
  void HistoryCommand();
  void AssemblyCommand();
  void ReportCommand();
  void ToolbarCommand();
  void StatusBarCommand();
  void FirstSheetCommand();
  void PreviousSheetCommand();
  void NextSheetCommand();
  void LastSheetCommand();
  void EditModeCommand();
  void ZoomInCommand();
  void ZoomOutCommand();
  void WholeSheetCommand();
  void NextWindowCommand();
  void PreviousWindowCommand();
  /// The help commands: the user guide shipped with the program, opened by the desktop.
  void HelpCommand();
  void ContextHelpCommand();
  void AboutCommand();

  Services& services_;
  QString family_;
  QMdiArea* area_;
  std::map<Command, QAction*> actions_;
  std::map<unsigned, QMenu*> menus_;
  std::map<Pane, QLabel*> panes_;
  QList<QLabel*> lock_indicators_;
  QList<QAction*> recent_actions_;
  QList<QAction*> recent_separators_;
  QToolBar* toolbar_ = nullptr;
  app::RecentFiles recent_;
  QPrinter printer_;
  PrintScale print_scale_ = PrintScale::kTrueSize;
  int untitled_ = 0;
  bool menus_for_document_ = true;
};

}  // namespace tallyform::gui
