// The desktop program as it starts: its command line, its version and its splash screen.

#include "gui/desktop.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "gui/dialogs.h"
#include "gui/gui_test_support.h"
#include "gui/main_window.h"
#include "gui/splash_screen.h"

namespace tallyform::gui {
namespace {

using testing::Native;

// The standard output of a program run with the arguments; empty when it failed.
QString Output(const QString& program, const QStringList& arguments) {
  QProcess run;
  run.start(program, arguments);
  if (!run.waitForFinished(30000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
    return {};
  return QString::fromUtf8(run.readAllStandardOutput());
}

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  // "--version" said 0.1.0 while the splash screen and the about box said 1.0.
  void everyPlaceShowsTheSameVersion() {
    const QRegularExpressionMatch printed = QRegularExpression(QStringLiteral("^tallyform (\\S+)\\n$"))
                                                .match(Output(QStringLiteral(TALLYFORM_GUI), {"--version"}));
    QVERIFY(printed.hasMatch());
    const QString version = printed.captured(1);
    QCOMPARE(Output(QStringLiteral(TALLYFORM_CLI), {"--version"}),
             QStringLiteral("tallyform-cli %1\n").arg(version));
    AboutDialog about;
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) texts.append(label->text());
    QVERIFY2(texts.contains(QStringLiteral("Tallyform. Версия %1").arg(version)),
             qPrintable(texts.join('|')));
    // The splash screen's picture has no version of its own; the program writes it on.
    QFile picture(QStringLiteral(":/splash.svg"));
    QVERIFY(picture.open(QIODevice::ReadOnly));
    QVERIFY(!QString::fromUtf8(picture.readAll()).contains(QStringLiteral("Версия")));
    QCOMPARE(VersionText(), QStringLiteral("Версия %1").arg(version));
    QSvgRenderer renderer(QStringLiteral(":/splash.svg"));
    QImage bare(renderer.defaultSize(), QImage::Format_RGB32);
    bare.fill(Qt::white);
    QPainter painter(&bare);
    renderer.render(&painter);
    painter.end();
    QVERIFY(SplashScreen::LoadPicture().toImage().convertToFormat(QImage::Format_RGB32) != bare);
  }

  // "--help" spoke English.
  void theHelpIsRussian() {
    const QString help = Output(QStringLiteral(TALLYFORM_GUI), {"--help"});
    for (const char* russian : {"Использование:", "перечни элементов", "Вывод справки", "сведения о версии",
                                "Запустить без заставки", "--open <ФАЙЛ>"}) {
      QVERIFY2(help.contains(QString::fromUtf8(russian)), qPrintable(help));
    }
    QVERIFY2(!help.contains(QRegularExpression(QStringLiteral("Displays|Start|Open|Usage|Options"))),
             qPrintable(help));
  }

  void startsUpInOrderMainWindowFirstThenKindsThenShown() {
    QTemporaryDir folder;
    const std::filesystem::path path = Native(folder.path());
    Desktop desktop(path);
    // The main window exists before the kinds are loaded, and it is not shown yet.
    QVERIFY(!desktop.window().isVisible());
    QVERIFY(!desktop.application().started());
    QVERIFY(!std::filesystem::exists(path / "ElementNames.map"));
    desktop.StartUp(/*splash=*/false);
    QVERIFY(desktop.application().started());
    QVERIFY(std::filesystem::exists(path / "ElementNames.map"));
    QVERIFY(desktop.window().isVisible());
    QVERIFY(desktop.window().isMaximized());
    QVERIFY(desktop.window().ActiveDocument() == nullptr);
  }

  void theDesktopEntryStartsFromTheMenuWithoutAFile() {
    // "tallyform --open %f" from the menu has no file: a plain start, not a command-line error.
    QCOMPARE(WithoutEmptyOpen({"tallyform", "--open"}), QStringList{"tallyform"});
    QCOMPARE(WithoutEmptyOpen({"tallyform", "--nosplash", "--open="}),
             (QStringList{"tallyform", "--nosplash"}));
    QCOMPARE(WithoutEmptyOpen({"tallyform", "--open", "a.enum"}),
             (QStringList{"tallyform", "--open", "a.enum"}));
    QCOMPARE(WithoutEmptyOpen({"tallyform"}), QStringList{"tallyform"});
    QFile entry(QStringLiteral(TALLYFORM_SOURCE_DIR) + QStringLiteral("/resources/tallyform.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(entry.readAll()).contains(QStringLiteral("\nExec=tallyform --open %f\n")));
  }
};

int RunDesktopTests(int argc, char** argv) {
  DesktopTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "desktop_test.moc"
