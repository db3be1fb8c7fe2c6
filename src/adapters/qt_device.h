#pragma once
// The drawing surface of the sheets over a QPainter: the screen (a QImage for now), a printer or any other
// QPagedPaintDevice, PDF (QPdfWriter), SVG (QSvgGenerator) and PNG (QImage).
//
// Device units are the paint device's pixels (dots of a printer or a PDF at its resolution). Texts are drawn
// in the sheet font (MakeSheetFont) of one family, with its pixel size as the character height, and
// measured by the fitting's own QtTextMeasurer: without hinting and kerning a text's width is proportional
// to the character height, so drawn widths equal fitted widths and measuring makes no font at all.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QSize>
#include <QString>

#include "adapters/qt_text_measurer.h"
#include "ports/device.h"

namespace tallyform::adapters {

class QtDevice : public ports::Device {
 public:
  enum class Use {
    kScreen,    ///< scaled to a window, with the sheet's edge and the selection
    kPrinting,  ///< a printer or a file made for print, at true size
  };

  /// Draws with `painter`, which must be active on its device and outlive this object; every text is in
  /// the face ChooseSheetFamily(family) picks. The client size is `client` when valid, otherwise the size
  /// of the painter's device. The painter's state is saved here and restored by the destructor.
  QtDevice(QPainter& painter, Use use, const QString& family, QSize client = {});
  ~QtDevice() override;
  QtDevice(const QtDevice&) = delete;
  QtDevice& operator=(const QtDevice&) = delete;

  bool IsPrinting() const override { return use_ == Use::kPrinting; }
  int DpiX() const override;
  int DpiY() const override;
  ports::DeviceSize ClientSize() const override;

  void SetPen(int width) override;
  int pen() const override { return pen_width_; }
  void Line(int x0, int y0, int x1, int y1) override;

  void SetFont(const ports::DeviceFont& font) override;
  ports::DeviceFont font() const override { return font_; }
  ports::DeviceSize TextExtent(std::string_view text) const override;
  void Text(int x, int y, std::string_view text) override;
  ports::Colour SetTextColour(ports::Colour colour) override;

  void FillRect(int left, int top, int right, int bottom, ports::Colour colour) override;

 private:
  enum class PainterPen { kNone, kLine, kText };
  void UseLinePen();
  void UseTextPen();
  void UseFont();

  QPainter& painter_;
  Use use_;
  QString family_;
  QSize client_;
  QtTextMeasurer measurer_;
  double ascent_em_ = 0;       // ascent of the face, in em
  double line_height_em_ = 0;  // ascent plus descent, in em
  int pen_width_ = 0;
  ports::DeviceFont font_;
  bool font_made_ = false;  // the painter has font_
  ports::Colour text_colour_ = ports::kBlack;
  PainterPen painter_pen_ = PainterPen::kNone;
};

}  // namespace tallyform::adapters
