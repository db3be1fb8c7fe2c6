#include "gui/splash_screen.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

#include "gui/dialogs.h"

namespace tallyform::gui {

QPixmap SplashScreen::LoadPicture() {
  QSvgRenderer renderer(QStringLiteral(":/splash.svg"));
  if (!renderer.isValid()) return {};
  QPixmap picture(renderer.defaultSize());
  picture.fill(Qt::white);
  QPainter painter(&picture);
  renderer.render(&painter);
  // The version is the program's own, written under the picture's lines.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(QColor(0x9f, 0xb6, 0xcf));
  painter.drawText(QPointF(38, 266), VersionText());
  return picture;
}

SplashScreen::SplashScreen(const QPixmap& picture, int shown_ms)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(picture) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(picture_.size());
  if (const QScreen* screen = QApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &SplashScreen::Finish);
  timer_.start(shown_ms);
  qApp->installEventFilter(this);
}

void SplashScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

SplashScreen::~SplashScreen() {
  qApp->removeEventFilter(this);
}

bool SplashScreen::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (isVisible()) {
        Finish();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void SplashScreen::Finish() {
  timer_.stop();
  close();
}

SplashScreen* ShowSplash(int shown_ms) {
  const QPixmap picture = SplashScreen::LoadPicture();
  if (picture.isNull()) return nullptr;
  auto* splash = new SplashScreen(picture, shown_ms);
  splash->show();
  return splash;
}

}  // namespace tallyform::gui
