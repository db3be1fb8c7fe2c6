#include "adapters/qt_device.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <algorithm>
#include <cmath>

#include "adapters/qt_text.h"
#include "adapters/sheet_font.h"

namespace tallyform::adapters {

namespace {

QColor ToQColor(ports::Colour c) {
  return QColor(c.red, c.green, c.blue);
}

int Rounded(double v) {
  return static_cast<int>(std::lround(v));
}

}  // namespace

QtDevice::QtDevice(QPainter& painter, Use use, const QString& family, QSize client)
    : painter_(painter), use_(use), client_(client), measurer_(family) {
  // The face the measurer settled on, so that a face the system lacks is not left to Qt's substitution
  // in drawing while the widths come from another.
  family_ = measurer_.font().family();
  const QFontMetricsF metrics(measurer_.font());
  ascent_em_ = metrics.ascent() / QtTextMeasurer::kReferenceEmPixels;
  line_height_em_ = metrics.height() / QtTextMeasurer::kReferenceEmPixels;
  painter_.save();
  // Lines stay crisp as a plotter draws them; only the glyphs are smoothed.
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBrush(Qt::NoBrush);
  painter_.setBackgroundMode(Qt::TransparentMode);
}

QtDevice::~QtDevice() {
  painter_.restore();
}

int QtDevice::DpiX() const {
  return painter_.device()->logicalDpiX();
}
int QtDevice::DpiY() const {
  return painter_.device()->logicalDpiY();
}

ports::DeviceSize QtDevice::ClientSize() const {
  if (client_.isValid()) return {client_.width(), client_.height()};
  const QPaintDevice* device = painter_.device();
  return {device->width(), device->height()};
}

void QtDevice::SetPen(int width) {
  pen_width_ = std::max(0, width);
  if (painter_pen_ == PainterPen::kLine) painter_pen_ = PainterPen::kNone;
}

void QtDevice::UseLinePen() {
  if (painter_pen_ == PainterPen::kLine) return;
  // Square caps close the corners where two lines of a frame meet at their ends.
  painter_.setPen(QPen(QBrush(Qt::black), pen_width_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter_pen_ = PainterPen::kLine;
}

void QtDevice::UseTextPen() {
  if (painter_pen_ == PainterPen::kText) return;
  painter_.setPen(ToQColor(text_colour_));
  painter_pen_ = PainterPen::kText;
}

void QtDevice::Line(int x0, int y0, int x1, int y1) {
  UseLinePen();
  painter_.drawLine(x0, y0, x1, y1);
}

void QtDevice::SetFont(const ports::DeviceFont& font) {
  ports::DeviceFont made = font;
  made.character_height = std::max(1, font.character_height);
  if (made == font_) return;
  font_ = made;
  font_made_ = false;
}

// Shrinking tries many heights and keeps one; only the font a text is drawn in is made.
void QtDevice::UseFont() {
  if (font_made_) return;
  QFont qfont = MakeSheetFont(family_, font_.character_height, font_.underline);
  qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font_.weight, 100, 900)));
  painter_.setFont(qfont);
  font_made_ = true;
}

ports::DeviceSize QtDevice::TextExtent(std::string_view text) const {
  // The measurer's text height whose character height is this font's.
  const double text_height = font_.character_height * 72.0 / 96.0;
  return {Rounded(measurer_.Width(text, text_height)), Rounded(line_height_em_ * font_.character_height)};
}

void QtDevice::Text(int x, int y, std::string_view text) {
  UseTextPen();
  UseFont();
  const QString s = ToQString(text);
  const double ascent = ascent_em_ * font_.character_height;
  if (font_.rotation == ports::DeviceFont::kUpwards) {
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-90);
    painter_.drawText(QPointF(0, ascent), s);
    painter_.restore();
    return;
  }
  painter_.drawText(QPointF(x, y + ascent), s);
}

ports::Colour QtDevice::SetTextColour(ports::Colour colour) {
  const ports::Colour previous = text_colour_;
  text_colour_ = colour;
  if (painter_pen_ == PainterPen::kText) painter_pen_ = PainterPen::kNone;
  return previous;
}

void QtDevice::FillRect(int left, int top, int right, int bottom, ports::Colour colour) {
  painter_.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), ToQColor(colour));
}

}  // namespace tallyform::adapters
