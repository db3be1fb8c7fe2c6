// The GUI tests' own main(): one QApplication on the offscreen platform for every test class.

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "gui/desktop.h"

namespace tallyform::gui {
int RunMainWindowTests(int argc, char** argv);
int RunPageViewTests(int argc, char** argv);
int RunFileDialogsTests(int argc, char** argv);
int RunPrintDialogsTests(int argc, char** argv);
int RunDocumentWindowTests(int argc, char** argv);
int RunPrintingTests(int argc, char** argv);
int RunDesktopTests(int argc, char** argv);
int RunGuideTests(int argc, char** argv);
int RunOpenRequestsTests(int argc, char** argv);
int RunDialogsTests(int argc, char** argv);
int RunDocumentControllerTests(int argc, char** argv);
int RunEditableGridTests(int argc, char** argv);
int RunScreenshotsTests(int argc, char** argv);
int RunElementListWindowTests(int argc, char** argv);
int RunSettingsDialogsTests(int argc, char** argv);
int RunEditViewTests(int argc, char** argv);
int RunAssemblyTests(int argc, char** argv);
}  // namespace tallyform::gui

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  tallyform::gui::InitResources();
  tallyform::gui::UseRussianForQt(app);
  // A dialog nobody answers blocks its test until the test runner gives up; say which one it is.
  QTimer watchdog;
  QPointer<QWidget> waiting;
  QObject::connect(&watchdog, &QTimer::timeout, [&waiting] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal == waiting) {
      std::fprintf(stderr, "%s: a modal %s \"%s\" has waited for an answer over a minute\n",
                   QTest::currentTestFunction(), modal->metaObject()->className(),
                   modal->windowTitle().toUtf8().constData());
    }
    waiting = modal;
  });
  watchdog.start(60000);
  int status = 0;
  for (const auto run :
       {tallyform::gui::RunMainWindowTests, tallyform::gui::RunPageViewTests,
        tallyform::gui::RunFileDialogsTests, tallyform::gui::RunPrintDialogsTests,
        tallyform::gui::RunDocumentWindowTests, tallyform::gui::RunPrintingTests,
        tallyform::gui::RunDesktopTests, tallyform::gui::RunGuideTests, tallyform::gui::RunOpenRequestsTests,
        tallyform::gui::RunDialogsTests, tallyform::gui::RunDocumentControllerTests,
        tallyform::gui::RunEditableGridTests, tallyform::gui::RunScreenshotsTests,
        tallyform::gui::RunElementListWindowTests, tallyform::gui::RunSettingsDialogsTests,
        tallyform::gui::RunEditViewTests, tallyform::gui::RunAssemblyTests}) {
    status |= run(argc, argv);
  }
  return status;
}
