#pragma once
// What the GUI tests share: answering modal dialogs, native paths, documents filled by the command-line
// program, and a main window over a private program folder.

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "adapters/qt_system_info.h"
#include "adapters/qt_text.h"
#include "adapters/qt_text_measurer.h"
#include "app/application.h"
#include "app/settings_file.h"
#include "gui/dialogs.h"
#include "gui/element_list_window.h"
#include "gui/list_dialogs.h"
#include "gui/main_window.h"
#include "gui/services.h"
#include "gui/widget_prompts.h"
#include "support/fake_ports.h"

namespace tallyform::testing {

/// Answers the next modal dialog of type T when it opens (polling, since exec() blocks the test). A title,
/// when given, must match too: a plain QDialog is also every dialog of ours, and a slow machine may poll
/// while the dialog before the awaited one is still the modal one.
template <typename T>
void WhenModal(std::function<void(T*)> answer, const QString& title = {}) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer, title] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog != nullptr && (title.isEmpty() || dialog->windowTitle() == title)) {
      timer->stop();
      timer->deleteLater();
      answer(dialog);
    }
  });
  timer->start();
}

/// Types a file's name into a file dialog's name field and presses Return, as a user does. On a busy machine
/// the dialog may be polled before its widgets are made, and the folder's listing and the completer's list
/// may arrive late and swallow a Return, so this waits for the field and presses again while the dialog
/// stays.
inline void TypeFileName(QFileDialog* dialog, const QString& name) {
  auto* again = new QTimer(dialog);
  again->setInterval(50);
  QObject::connect(again, &QTimer::timeout, dialog, [dialog, name, typed = false]() mutable {
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!dialog->isVisible() || field == nullptr || !field->isVisible()) return;
    if (!typed) {
      field->clear();
      for (const QChar c : name) QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, c, Qt::NoModifier);
      typed = true;
    }
    if (QCompleter* completer = field->completer(); completer != nullptr) completer->popup()->hide();
    if (field->text() != name) field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
  });
  again->start();
}

/// Answers the element list window "Заполнить документ" opens: "Заполнить" with the list as it stands, and
/// OK in the column mapping dialog the fill shows.
inline void FillAsItStands() {
  WhenModal<gui::MappingDialog>([](gui::MappingDialog* dialog) { dialog->accept(); });
  WhenModal<gui::ElementListWindow>([](gui::ElementListWindow* window) { window->fill_button()->click(); });
}

/// Chooses a document kind in the next "Выбор документа".
inline void ChooseKind(int kind) {
  WhenModal<gui::KindChoiceDialog>([kind](gui::KindChoiceDialog* dialog) {
    dialog->list()->setCurrentRow(kind);
    dialog->accept();
  });
}

inline std::filesystem::path Native(const QString& path) {
  return adapters::QStringToPath(path);
}

/// A program folder of its own (set as TALLYFORM_HOME while the desktop lives) and a main window over it.
class TestDesktop {
 public:
  TestDesktop() : measurer_(std::make_unique<adapters::QtTextMeasurer>()) {
    qputenv("TALLYFORM_HOME", QFile::encodeName(home_.path()));
  }

  const QTemporaryDir& home() const { return home_; }
  gui::MainWindow& window() { return *window_; }
  gui::WidgetPrompts& prompts() { return prompts_; }
  app::Application& application() { return *application_; }
  /// Records what the desktop would be asked to open instead of opening it.
  FakeShell& shell() { return shell_; }
  adapters::QtSystemInfo& system() { return system_; }
  const adapters::QtTextMeasurer& measurer() const { return *measurer_; }

  /// A fresh main window of the size, shown; false when it never appeared.
  bool Start(QSize size = {1000, 800}) {
    window_.reset();
    application_ = std::make_unique<app::Application>(Native(home_.path()));
    settings_ = std::make_unique<app::SettingsFile>(app::SettingsFile::In(Native(home_.path())));
    services_ = std::make_unique<gui::Services>(
        gui::Services{*application_, prompts_, *settings_, system_, shell_, *measurer_});
    window_ = std::make_unique<gui::MainWindow>(*services_);
    prompts_.SetParent(window_.get());
    window_->resize(size);
    window_->show();
    return QTest::qWaitForWindowExposed(window_.get());
  }

  void Stop() { window_.reset(); }

  /// A document of the kind ("list", "bill", "simple") filled by the command-line program from the example
  /// design, saved under `name` in the program folder; empty when the program failed.
  QString FilledDocument(const QString& kind, const QString& name) const {
    const QString out = home_.filePath(name);
    QProcess cli;
    cli.start(QStringLiteral(TALLYFORM_CLI),
              {QStringLiteral("fill"), QStringLiteral("--kind"), kind,
               QStringLiteral(TALLYFORM_EXAMPLES) + QStringLiteral("/amplifier.sch"), QStringLiteral("-o"),
               out, QStringLiteral("--editor"), QStringLiteral("Петров П.")});
    cli.waitForFinished(60000);
    return cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0 ? out : QString();
  }

 private:
  // Named with Cyrillic letters and a space, as the users' folders are, so that every document the tests
  // open, save and list goes through such a name.
  QTemporaryDir home_{QDir::tempPath() + QStringLiteral("/tallyform тест-XXXXXX")};
  std::unique_ptr<adapters::QtTextMeasurer> measurer_;
  std::unique_ptr<app::Application> application_;
  std::unique_ptr<app::SettingsFile> settings_;
  adapters::QtSystemInfo system_;
  FakeShell shell_;
  gui::WidgetPrompts prompts_;
  std::unique_ptr<gui::Services> services_;
  std::unique_ptr<gui::MainWindow> window_;
};

}  // namespace tallyform::testing
