// The user guide that ships with the program (resources/guide/), read against the menus it describes.

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

#include "gui/gui_test_support.h"

namespace tallyform::gui {
namespace {

// A menu's or a command's text as the guide writes it: without the mnemonic and the trailing dots.
QString Plain(QString text) {
  text.remove(QLatin1Char('&'));
  if (text.endsWith(QStringLiteral("..."))) text.chop(3);
  return text.trimmed();
}

QMenu* Submenu(const QList<QAction*>& actions, const QString& title) {
  for (QAction* action : actions) {
    if (action->menu() != nullptr && Plain(action->text()) == title) return action->menu();
  }
  return nullptr;
}

// Whether the path of titles ("Вид", "Масштаб", "Показать страницу целиком") leads from the menu bar to a
// command.
bool HasCommand(QMenuBar* bar, const QStringList& path) {
  QList<QAction*> actions = bar->actions();
  for (qsizetype i = 0; i + 1 < path.size(); ++i) {
    QMenu* menu = Submenu(actions, path[i]);
    if (menu == nullptr) return false;
    actions = menu->actions();
  }
  for (QAction* action : actions) {
    if (action->menu() == nullptr && Plain(action->text()) == path.back()) return true;
  }
  return false;
}

}  // namespace

class GuideTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  // The guide put "Показать отчет об ошибках" under "Документ", while the program has it in "Сервис", and
  // said nothing of several commands of "Файл".
  void theGuideNamesTheCommandsWhereTheMenusHaveThem() {
    QFile file(QStringLiteral(":/guide/guide.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(file.readAll());
    QVERIFY(desktop_.Start());
    MainWindow& window = desktop_.window();
    QVERIFY(window.NewDocument(model::DocumentKind::kElementList) != nullptr);  // the menus of a document
    QMenuBar* bar = window.menuBar();

    // "Меню → Команда" wherever the guide names a command.
    QStringList named;
    for (const QRegularExpressionMatch& path :
         QRegularExpression(QStringLiteral("<b>([^<]*→[^<]*)</b>")).globalMatch(guide)) {
      const QStringList titles = path.captured(1).split(QStringLiteral("→"), Qt::SkipEmptyParts);
      QStringList trimmed;
      for (const QString& title : titles) trimmed.append(title.trimmed());
      QVERIFY2(HasCommand(bar, trimmed), qPrintable(path.captured(1)));
      named.append(trimmed.join(QStringLiteral(" → ")));
    }
    // A section titled after a menu lists commands of that menu.
    const QStringList sections = guide.split(QStringLiteral("<h2>"));
    for (const QString& section : sections) {
      const QString title = section.section(QStringLiteral("</h2>"), 0, 0);
      if (Submenu(bar->actions(), title) == nullptr) continue;
      for (const QRegularExpressionMatch& command :
           QRegularExpression(QStringLiteral("<li><b>([^<→]*)</b>")).globalMatch(section)) {
        QVERIFY2(HasCommand(bar, {title, command.captured(1)}),
                 qPrintable(title + " / " + command.captured(1)));
      }
    }
    // Every command of "Файл" is described (the recent files are not commands).
    for (QAction* action : Submenu(bar->actions(), QStringLiteral("Файл"))->actions()) {
      if (action->isSeparator() || !action->isVisible() ||
          action->text().contains(QRegularExpression(QStringLiteral("^&\\d ")))) {
        continue;
      }
      const QString command = QStringLiteral("Файл → ") + Plain(action->text());
      QVERIFY2(named.contains(command), qPrintable(command));
    }
  }
};

int RunGuideTests(int argc, char** argv) {
  GuideTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "guide_test.moc"
