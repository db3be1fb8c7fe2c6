#pragma once
// What the assembly drawing preparation shows: the properties of the RefDes2 attribute it writes, and the
// progress bar over the window while it walks the board.

#include <QDialog>
#include <QStringList>
#include <optional>
#include <vector>

#include "ports/progress.h"

class QCheckBox;
class QComboBox;
class QProgressBar;

namespace tallyform::gui {

/// "Свойства атрибута RefDes2": the board's layers and text styles, the justifications ("CENTER" chosen) and
/// "Заменить существующий атрибут RefDes2". OK with a list left without a choice says which ("Не выбран
/// слой.", "Не выбран стиль текста.", "Не выбрано выравнивание.", in that order) and stays open.
class RefDes2Dialog : public QDialog {
  Q_OBJECT
 public:
  /// `justifications` in the list's order; `centre` is the one chosen at first.
  RefDes2Dialog(const QStringList& layers, const QStringList& styles, const QStringList& justifications,
                int centre, QWidget* parent = nullptr);

  /// The positions chosen in the three lists, and the box.
  int layer() const;
  int style() const;
  int justification() const;
  bool replace() const;

  QComboBox* layers() const { return layers_; }
  QComboBox* styles() const { return styles_; }
  QComboBox* justifications() const { return justifications_; }
  QCheckBox* replace_box() const { return replace_; }

 public slots:
  void accept() override;

 private:
  QComboBox* layers_;
  QComboBox* styles_;
  QComboBox* justifications_;
  QCheckBox* replace_;
};

/// The progress bar of a long walk over a window: 30 pixels high, centred vertically, from a quarter to
/// three quarters of the window's width, from Start until Finish (or the object's end).
class WindowProgress : public ports::Progress {
 public:
  explicit WindowProgress(QWidget* window) : window_(window) {}
  ~WindowProgress() override;
  WindowProgress(const WindowProgress&) = delete;
  WindowProgress& operator=(const WindowProgress&) = delete;

  void Start(int maximum) override;
  void Step() override;
  void Finish() override;
  QProgressBar* bar() const { return bar_; }

 private:
  QWidget* window_;
  QProgressBar* bar_ = nullptr;
};

}  // namespace tallyform::gui
