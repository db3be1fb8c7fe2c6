#include "adapters/qt_device.h"

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
    : painter_(painter), use_(use), family_(family), client_(client) {
  painter_.save();
  // Lines stay crisp as a plotter draws them; only the glyphs are smoothed.
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBrush(Qt::NoBrush);
  painter_.setBackgroundMode(Qt::TransparentMode);
  SetFont(font_);
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
  if (metrics_ && font == font_) return;
  font_ = font;
  font_.character_height = std::max(1, font.character_height);
  qfont_ = MakeSheetFont(family_, font_.character_height, font_.underline);
  qfont_.setWeight(static_cast<QFont::Weight>(std::clamp(font_.weight, 100, 900)));
  metrics_.emplace(qfont_, painter_.device());
  ascent_ = metrics_->ascent();
  painter_.setFont(qfont_);
}

ports::DeviceSize QtDevice::TextExtent(std::string_view text) const {
  return {Rounded(metrics_->horizontalAdvance(ToQString(text))), Rounded(metrics_->height())};
}

void QtDevice::Text(int x, int y, std::string_view text) {
  UseTextPen();
  const QString s = ToQString(text);
  if (font_.rotation == ports::DeviceFont::kUpwards) {
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-90);
    painter_.drawText(QPointF(0, ascent_), s);
    painter_.restore();
    return;
  }
  painter_.drawText(QPointF(x, y + ascent_), s);
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
