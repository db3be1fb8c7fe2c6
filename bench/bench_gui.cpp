// The desktop program's speeds that a user feels: start-up to an idle main window (the application object
// with its kinds and series, the settings, the main window shown, one pass of the event loop; no splash),
// the page view's paint of a filled A3 bill while paging through its sheets and zooming, and the element
// list window over 5,000 elements, opened and shown again after an undo.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <string>

#include "adapters/qt_shell.h"
#include "adapters/qt_system_info.h"
#include "adapters/qt_text_measurer.h"
#include "adapters/sheet_font.h"
#include "app/application.h"
#include "app/element_list_session.h"
#include "app/fill_workflow.h"
#include "app/settings_file.h"
#include "gui/desktop.h"
#include "gui/document_window.h"
#include "gui/element_list_window.h"
#include "gui/main_window.h"
#include "gui/page_view.h"
#include "gui/services.h"
#include "gui/widget_prompts.h"
#include "support/generated_board.h"

namespace {

using namespace tallyform;

std::filesystem::path Folder() {
  static QTemporaryDir dir;
  return std::filesystem::path(dir.path().toStdString());
}

// Everything the program makes between main() and its first idle pass of the event loop.
void BM_StartUpToIdleMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    gui::Desktop desktop(Folder());
    desktop.StartUp(/*splash=*/false);
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_StartUpToIdleMainWindow)->Unit(benchmark::kMillisecond);

// A bill of purchased items filled from the example design, shown maximised at 1280 x 900.
struct BillWindow {
  BillWindow()
      : application(Folder()), settings(app::SettingsFile::In(Folder())), services{application, prompts,
                                                                                   settings,    system,
                                                                                   shell,       measurer} {
    app::FillRequest request;
    request.kind = model::DocumentKind::kPurchasedBill;
    request.designs = {std::filesystem::path(TALLYFORM_EXAMPLES) / "amplifier.sch"};
    app::FillOutcome outcome = app::RunFill(application, request, {measurer, prompts, settings, system});
    window = std::make_unique<gui::DocumentWindow>(std::move(outcome.session), services,
                                                   adapters::ChooseSheetFamily());
    window->resize(1280, 900);
    window->show();
    QCoreApplication::processEvents();
  }
  app::Application application;
  app::SettingsFile settings;
  adapters::QtSystemInfo system;
  adapters::QtShell shell;
  adapters::QtTextMeasurer measurer;
  gui::WidgetPrompts prompts;
  gui::Services services;
  std::unique_ptr<gui::DocumentWindow> window;
};

// One repaint per sheet turn: the next sheet (back to the first after the last), drawn whole.
void BM_PaintBillSheetWhilePaging(benchmark::State& state) {
  BillWindow bill;
  gui::PageView& view = bill.window->view();
  for (auto _ : state) {
    if (view.state().current_sheet() >= view.state().sheet_count()) {
      view.FirstSheet();
    } else {
      view.NextSheet();
    }
    view.viewport()->repaint();
  }
  state.counters["sheets"] = view.state().sheet_count();
}
BENCHMARK(BM_PaintBillSheetWhilePaging)->Unit(benchmark::kMillisecond);

// One repaint per zoom step, walking the whole range with "+" up to the largest step and "-" down to the
// smallest and back, as the keys do it.
void BM_PaintBillSheetWhileZooming(benchmark::State& state) {
  BillWindow bill;
  gui::PageView& view = bill.window->view();
  bool in = true;
  for (auto _ : state) {
    const int step = view.state().zoom_step();
    if (step >= presentation::PageViewState::kMaxZoomStep) in = false;
    if (step <= presentation::PageViewState::kMinZoomStep) in = true;
    QKeyEvent key(QEvent::KeyPress, in ? Qt::Key_Plus : Qt::Key_Minus, Qt::NoModifier, in ? "+" : "-");
    QCoreApplication::sendEvent(&view, &key);
    view.viewport()->repaint();
  }
}
BENCHMARK(BM_PaintBillSheetWhileZooming)->Unit(benchmark::kMillisecond);

// The element list window over a list of 5,000 elements read from a generated board.
struct ListWindow {
  ListWindow()
      : application(Folder()),
        board(5000, "window"),
        document(document::Document::Assemble({model::DocumentKind::kElementList, {}, board.data(), {}})) {}
  app::Application application;
  bench::GeneratedBoard board;
  document::Document document;
  adapters::QtShell shell;
  gui::WidgetPrompts prompts;
};

// Opening the window: the session's copies of the list, the window shown with its first rows drawn.
void BM_OpenElementListWindow5000(benchmark::State& state) {
  ListWindow list;
  for (auto _ : state) {
    app::ElementListSession session(list.application, list.document, list.prompts, list.shell);
    gui::ElementListWindow window(session, list.prompts);
    window.show();
    window.list()->viewport()->repaint();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_OpenElementListWindow5000)->Unit(benchmark::kMillisecond);

// After an undo (and a redo, to come back) the list is shown again: the model reset, the rows in view
// drawn.
void BM_RefreshElementListAfterUndo5000(benchmark::State& state) {
  ListWindow list;
  app::ElementListSession session(list.application, list.document, list.prompts, list.shell);
  elements::JoinSpec join{"Type", elements::JoinMethod::kLink, {{"Value", " "}}};
  session.Join(join);
  gui::ElementListWindow window(session, list.prompts);
  window.show();
  QCoreApplication::processEvents();
  bool back = true;
  for (auto _ : state) {
    window.action(back ? gui::ElementListWindow::Command::kUndo : gui::ElementListWindow::Command::kRedo)
        ->trigger();
    window.list()->viewport()->repaint();
    back = !back;
  }
}
BENCHMARK(BM_RefreshElementListAfterUndo5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("TALLYFORM_HOME", QByteArray::fromStdString(Folder().string()));
  benchmark::Initialize(&argc, argv);
  QApplication app(argc, argv);
  tallyform::gui::InitResources();
  tallyform::adapters::RegisterBundledFonts();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
