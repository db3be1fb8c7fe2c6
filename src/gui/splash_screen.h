#pragma once
// The splash screen: the program's picture in a frameless window on top, centred on the screen, for
// 2500 ms or until a key or a mouse button is pressed.

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace tallyform::gui {

class SplashScreen : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kShowMs = 2500;

  /// The picture of the splash screen with the program's version written on; a null pixmap when it cannot
  /// be loaded.
  static QPixmap LoadPicture();
  /// Shows the picture; `shown_ms` is how long it stays. A key or a mouse button pressed in any window of
  /// the program closes it at once. The window deletes itself when it closes.
  explicit SplashScreen(const QPixmap& picture, int shown_ms = kShowMs);
  ~SplashScreen() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Finish();
  QPixmap picture_;
  QTimer timer_;
};

/// Shows the splash screen unless its picture cannot be loaded; the window, or nullptr.
SplashScreen* ShowSplash(int shown_ms = SplashScreen::kShowMs);

}  // namespace tallyform::gui
