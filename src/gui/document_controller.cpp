#include "gui/document_controller.h"

#include <QApplication>
#include <QCursor>
#include <exception>
#include <utility>

#include "adapters/qt_text.h"
#include "app/application.h"
#include "app/editor_identity.h"
#include "app/fill_workflow.h"
#include "app/save_workflow.h"
#include "gui/services.h"
#include "gui/widget_prompts.h"
#include "model/errors.h"
#include "model/messages.h"
#include "ports/shell.h"
#include "valuecheck/value_check.h"

namespace tallyform::gui {
namespace {

// The wait cursor for as long as a long command runs.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

DocumentController::DocumentController(document::Document document, Services& services, int number,
                                       QObject* parent)
    : QObject(parent), document_(std::move(document)), services_(services), number_(number) {}

template <typename Command>
bool DocumentController::Guard(Command&& command) {
  try {
    command();
    return true;
  } catch (const Error& e) {
    services_.prompts.ErrorMessage(e.message());
  } catch (const std::exception& e) {
    services_.prompts.ErrorMessage(adapters::FromQString(QString::fromLocal8Bit(e.what())));
  }
  return false;
}

QString DocumentController::Title() const {
  if (!document_.path().empty()) return adapters::ToQString(document_.Title());
  return adapters::ToQString(document::kNewDocumentTitle) + QString::number(number_);
}

QString DocumentController::EditorName() const {
  return adapters::ToQString(document_.editor_name());
}

bool DocumentController::Save() {
  return RunSave(false);
}

bool DocumentController::SaveAs() {
  return RunSave(true);
}

bool DocumentController::RunSave(bool new_name) {
  app::SaveResult result = app::SaveResult::kCancelled;
  Guard([&] {
    app::SaveWorkflow save(services_.prompts, services_.settings, services_.system, services_.shell,
                           services_.application.report_path());
    result = new_name ? save.SaveAs(document_) : save.Save(document_);
  });
  emit describedChanged();
  return result == app::SaveResult::kSaved;
}

void DocumentController::ChangeEditor() {
  Guard([&] {
    app::EditorIdentity identity(services_.settings, services_.system);
    if (std::optional<std::string> name = identity.Ask(services_.prompts)) {
      document_.SetEditorName(std::move(*name));
      emit describedChanged();
    }
  });
}

void DocumentController::ShowHistory() {
  Guard([&] { services_.prompts.History(document_.history()); });
}

void DocumentController::ShowReport() {
  Guard([&] {
    // The document's own report, written again in case another document's run has written the file since.
    if (const valuecheck::ValueCheck* report = document_.value_report()) {
      valuecheck::ShowReport(services_.shell, *report);
    } else {
      services_.shell.Open(services_.application.report_path());
    }
  });
}

void DocumentController::Fill() {
  const bool filled = Guard([&] {
    WaitCursor wait;
    app::FillAgain(services_.application, document_,
                   {services_.measurer, services_.prompts, services_.settings, services_.system});
  });
  if (!filled) return;
  emit changed();
  emit describedChanged();
  if (document_.mismatch() && services_.prompts.WarningQuestion(model::DocumentMismatchQuestion())) {
    ShowReport();
  }
}

bool DocumentController::PrepareClose() {
  if (!document_.modified()) return true;
  switch (services_.prompts.AskSaveChanges(Title())) {
    case WidgetPrompts::SaveChanges::kSave:
      return Save();
    case WidgetPrompts::SaveChanges::kDiscard:
      return true;
    case WidgetPrompts::SaveChanges::kCancel:
      break;
  }
  return false;
}

}  // namespace tallyform::gui
