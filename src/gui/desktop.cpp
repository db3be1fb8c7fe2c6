#include "gui/desktop.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string_view>

#include "adapters/qt_text.h"
#include "gui/main_window.h"
#include "gui/open_requests.h"
#include "gui/splash_screen.h"

// Q_INIT_RESOURCE names a function of the global namespace.
static void InitTallyformResources() {
  Q_INIT_RESOURCE(tallyform);
}

namespace tallyform::gui {
namespace {

// The command line: --help and --version answer without a display.
void DescribeOptions(QCommandLineParser& parser, const QCommandLineOption& no_splash,
                     const QCommandLineOption& open) {
  parser.setApplicationDescription(
      QStringLiteral("Tallyform: перечни элементов и ведомости покупных изделий из проектов P-CAD."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption(no_splash);
  parser.addOption(open);
}

bool AsksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" || arg == "-v")
      return true;
  }
  return false;
}

}  // namespace

void InitResources() {
  InitTallyformResources();
}

QStringList WithoutEmptyOpen(QStringList arguments) {
  if (!arguments.isEmpty() &&
      (arguments.last() == QStringLiteral("--open") || arguments.last() == QStringLiteral("--open=") ||
       arguments.last() == QStringLiteral("-open"))) {
    arguments.removeLast();
  }
  return arguments;
}

bool UseRussianForQt(QCoreApplication& application) {
  const QLocale russian(QLocale::Russian, QLocale::Russia);
  QLocale::setDefault(russian);
  auto* translator = new QTranslator(&application);
  if (!translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

Desktop::Desktop(const std::filesystem::path& folder)
    : application_(folder, app::Application::NotStarted{}),
      settings_(app::SettingsFile::In(folder)),
      services_{application_, prompts_, settings_, system_, shell_, measurer_},
      window_(std::make_unique<MainWindow>(services_)) {
  prompts_.SetParent(window_.get());
}

Desktop::~Desktop() = default;

void Desktop::StartUp(bool splash) {
  if (splash && ShowSplash() != nullptr) {
    // The splash screen is painted before the kinds and the series take their time.
    QApplication::processEvents();
  }
  application_.StartUp();
  window_->showMaximized();
  // Told once the window is there: the program works on without what start-up could not do.
  QTimer::singleShot(0, window_.get(), [this] {
    for (const std::string& warning : application_.start_up_warnings()) prompts_.Warning(warning);
  });
}

int RunDesktop(int argc, char** argv) {
  QElapsedTimer started;
  started.start();
  InitResources();
  const QCommandLineOption no_splash(QStringLiteral("nosplash"), QStringLiteral("Запустить без заставки."));
  const QCommandLineOption open(QStringLiteral("open"),
                                QStringLiteral("Открыть документ (.enum) при запуске; когда программа уже "
                                               "запущена, документ откроется в ее окне."),
                                QStringLiteral("ФАЙЛ"));
  if (AsksForHelpOrVersion(argc, argv)) {
    QCoreApplication core(argc, argv);
    UseRussianForQt(core);
    QCoreApplication::setApplicationName(QStringLiteral("tallyform"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALLYFORM_VERSION));
    QCommandLineParser parser;
    DescribeOptions(parser, no_splash, open);
    parser.process(core);  // prints and exits
    return 0;
  }

  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tallyform"));
  QApplication::setApplicationVersion(QStringLiteral(TALLYFORM_VERSION));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tallyform.svg")));
  UseRussianForQt(qt);

  QCommandLineParser parser;
  DescribeOptions(parser, no_splash, open);
  parser.process(WithoutEmptyOpen(QApplication::arguments()));

  try {
    const std::filesystem::path folder = app::ProgramFolder();
    // A document the desktop opens while the program runs goes to the running program.
    const QString server = OpenRequests::ServerName(folder);
    if (server.isEmpty()) {
      std::fputs(
          "tallyform: нет папки, закрытой для других пользователей (XDG_RUNTIME_DIR); документы "
          "открываются в новой копии программы, а не в уже запущенной.\n",
          stderr);
    }
    if (parser.isSet(open) && OpenRequests::SendToRunning(server, parser.value(open))) return 0;

    Desktop desktop(folder);
    desktop.StartUp(!parser.isSet(no_splash));
    MainWindow& window = desktop.window();
    const auto open_file = [&window](const QString& file) {
      window.OpenDocument(adapters::QStringToPath(file));
    };
    OpenRequests requests;
    requests.Listen(server);
    QObject::connect(&requests, &OpenRequests::openRequested, &window,
                     [&window, open_file](const QString& file) {
                       window.activateWindow();
                       window.raise();
                       open_file(file);
                     });
    if (parser.isSet(open)) {
      const QString file = parser.value(open);
      QTimer::singleShot(0, &window, [open_file, file] { open_file(file); });
    }
    if (std::getenv("TALLYFORM_STARTUP_TIME") != nullptr) {
      QTimer::singleShot(0, &window, [&started] {
        std::fprintf(stderr, "startup: %lld ms\n", static_cast<long long>(started.elapsed()));
      });
    }
    return QApplication::exec();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tallyform: %s\n", e.what());
    return 1;
  }
}

}  // namespace tallyform::gui
