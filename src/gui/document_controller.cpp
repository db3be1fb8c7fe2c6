#include "gui/document_controller.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <exception>
#include <utility>

#include "adapters/qt_text.h"
#include "app/application.h"
#include "app/editor_identity.h"
#include "app/element_list_session.h"
#include "app/fill_workflow.h"
#include "app/save_workflow.h"
#include "app/value_report.h"
#include "gui/cell_text_dialog.h"
#include "gui/dialogs.h"
#include "gui/element_list_window.h"
#include "gui/error_boundary.h"
#include "gui/services.h"
#include "gui/settings_dialogs.h"
#include "gui/wait_cursor.h"
#include "model/errors.h"
#include "model/messages.h"
#include "ports/prompts.h"
#include "ports/shell.h"

namespace tallyform::gui {
DocumentController::DocumentController(app::DocumentSession session, Services& services, QObject* parent)
    : QObject(parent), session_(std::move(session)), services_(services) {
  subscription_ = session_.Subscribe([this](const app::DocumentChange& change) {
    emit changed(change);
    constexpr unsigned kDescribed =
        app::DocumentChange::kEditor | app::DocumentChange::kSaved | app::DocumentChange::kModified;
    if (change.Touches(kDescribed)) emit describedChanged();
  });
}

QString DocumentController::Title() const {
  return adapters::ToQString(session_.Title());
}

QString DocumentController::EditorName() const {
  return adapters::ToQString(document().editor_name());
}

bool DocumentController::Save() {
  return RunSave(false);
}

bool DocumentController::SaveAs() {
  return RunSave(true);
}

bool DocumentController::RunSave(bool new_name) {
  app::SaveResult result = app::SaveResult::kCancelled;
  Guard(services_.prompts, [&] {
    app::SaveWorkflow save(services_.prompts, services_.settings, services_.system, services_.shell,
                           services_.application.report_path());
    result = new_name ? save.SaveAs(session_) : save.Save(session_);
  });
  return result == app::SaveResult::kSaved;
}

void DocumentController::ChangeEditor() {
  Guard(services_.prompts, [&] {
    app::EditorIdentity identity(services_.settings, services_.system);
    if (std::optional<std::string> name = identity.Ask(services_.prompts)) {
      session_.Apply(app::commands::EditorName{std::move(*name)});
    }
  });
}

void DocumentController::ShowHistory() {
  Guard(services_.prompts, [&] { HistoryDialog(document().history(), DialogParent()).exec(); });
}

void DocumentController::ShowReport() {
  Guard(services_.prompts, [&] {
    app::ShowDocumentReport(document(), services_.application.report_path(), services_.shell,
                            services_.prompts);
  });
}

void DocumentController::Fill() {
  // The element list window works on copies of the document's list; only "Заполнить" hands them back.
  std::optional<app::ElementListSession> list;
  if (!Guard(services_.prompts,
             [&] { list.emplace(services_.application, document(), services_.prompts, services_.shell); })) {
    return;
  }
  ElementListWindow window(*list, services_.prompts, DialogParent());
  if (window.exec() != QDialog::Accepted) return;
  const bool filled = Guard(services_.prompts, [&] {
    const WaitCursor wait;
    session_.Apply(
        app::commands::Fill{list->HandOver(), app::FillToolsOf(services_.application, services_.measurer)});
  });
  if (filled && document().mismatch() &&
      services_.prompts.WarningQuestion(model::DocumentMismatchQuestion())) {
    ShowReport();
  }
}

bool DocumentController::Apply(app::Command command) {
  return Guard(services_.prompts, [&] { session_.Apply(std::move(command)); });
}

app::EnabledCommands DocumentController::EnabledOn(int current_sheet) const {
  app::ViewState view;
  view.current_sheet = current_sheet;
  return session_.Enabled(view);
}

void DocumentController::EditTitleBlock(int current_sheet) {
  if (!EnabledOn(current_sheet).title_block) return;
  Guard(services_.prompts, [&] {
    const std::size_t count = document().sheets().sheet_count();
    const auto take = [this, count](const document::TitleBlockForm& form) {
      return Apply(
          app::commands::TitleBlock{form.FieldsToStore(count), form.customer_approval, form.heights});
    };
    TitleBlockDialog(document::TitleBlockForm::Open(document().settings_table(), current_sheet, count), take,
                     DialogParent())
        .exec();
  });
}

void DocumentController::EditTextHeights() {
  Guard(services_.prompts, [&] {
    const auto take = [this](const document::TextHeights& heights) {
      return Apply(app::commands::TextHeights{heights});
    };
    TextHeightsDialog(document::TextHeightsOf(document().settings_table()), take, DialogParent()).exec();
  });
}

void DocumentController::EditLineWidths() {
  Guard(services_.prompts, [&] {
    const auto take = [this](const document::LineWidths& widths) {
      return Apply(app::commands::LineWidths{widths});
    };
    LineWidthsDialog(document::LineWidthsOf(document().settings_table()), take, DialogParent()).exec();
  });
}

void DocumentController::EditNumberOfProducts(int current_sheet) {
  if (!EnabledOn(current_sheet).number_of_products) return;
  const auto sheet = static_cast<std::size_t>(current_sheet - 1);
  const int products = document().sheets().sheet(sheet).number_of_products();
  if (products < 1) return;
  Guard(services_.prompts, [&] {
    const auto take = [this, sheet](int n) { return Apply(app::commands::NumberOfProducts{sheet, n}); };
    ProductsDialog(products, take, DialogParent()).exec();
  });
}

void DocumentController::Undo() {
  Guard(services_.prompts, [&] { session_.Undo(); });
}

void DocumentController::Redo() {
  Guard(services_.prompts, [&] { session_.Redo(); });
}

bool DocumentController::EditCell(std::size_t sheet, int row, int cell, std::string text) {
  // The grid is still closing its text box: the question waits until it has.
  return ApplyCellText(app::commands::CellText{sheet, row, cell, std::move(text), std::nullopt,
                                               app::FillToolsOf(services_.application, services_.measurer)},
                       /*ask_later=*/true);
}

void DocumentController::EditCellText(std::size_t sheet, int row, int cell) {
  const document::SheetSet& sheets = document().sheets();
  if (sheet >= sheets.sheet_count() || row < 0 ||
      static_cast<std::size_t>(row) >= sheets.sheet(sheet).row_count()) {
    return;
  }
  const document::CCell& shown =
      sheets.sheet(sheet).cell(static_cast<std::size_t>(row), static_cast<std::size_t>(cell));
  CellTextDialog dialog(document::CellTextForm::Open(shown.text(), shown.attributes()), DialogParent());
  if (dialog.exec() != QDialog::Accepted) return;
  const document::CellTextForm form = dialog.form();
  ApplyCellText(app::commands::CellText{sheet, row, cell, form.text, form.Attributes(shown.attributes()),
                                        app::FillToolsOf(services_.application, services_.measurer)});
}

bool DocumentController::ApplyCellText(app::commands::CellText edit, bool ask_later) {
  app::Applied applied;
  if (!Guard(services_.prompts, [&] { applied = session_.Apply(std::move(edit)); })) return false;
  if (applied.value_off == app::ValueOff::kNone) return true;
  const auto ask = [this, question = app::ValueOffQuestion(applied.value_off)] {
    if (services_.prompts.WarningQuestion(question)) ShowReport();
  };
  if (ask_later) {
    QTimer::singleShot(0, this, ask);
  } else {
    ask();
  }
  return true;
}

QWidget* DocumentController::DialogParent() const {
  const auto* window = qobject_cast<const QWidget*>(parent());
  return window != nullptr ? window->window() : nullptr;
}

void DocumentController::TellLater(const std::string& message) {
  QTimer::singleShot(0, this, [this, message] { services_.prompts.ErrorMessage(message); });
}

bool DocumentController::PrepareClose() {
  if (!document().modified()) return true;
  switch (AskSaveChanges(DialogParent(), Title())) {
    case SaveChanges::kSave:
      return Save();
    case SaveChanges::kDiscard:
      return true;
    case SaveChanges::kCancel:
      break;
  }
  return false;
}

}  // namespace tallyform::gui
