// The editable grid as a user drives it: clicks, keys and the wheel over a small model, in each mode.

#include "gui/editable_grid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace tallyform::gui {
namespace {

using Kind = EditableGrid::EditorKind;

// A window of its own with a grid over `rows` rows of `columns` columns, "r.c" in every cell.
struct Fixture {
  explicit Fixture(int rows, int columns) : model(rows, columns) {
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < columns; ++c)
        model.setItem(r, c, new QStandardItem(QStringLiteral("%1.%2").arg(r).arg(c)));
    }
    grid = new EditableGrid(&window);
    grid->setModel(&model);
    (new QVBoxLayout(&window))->addWidget(grid);
    window.resize(420, 220);
    QObject::connect(grid, &EditableGrid::aboutToChange, [this](int row, int column) {
      events << QStringLiteral("about %1 %2 '%3'").arg(row).arg(column).arg(Text(row, column));
    });
    QObject::connect(grid, &EditableGrid::changed, [this](int row, int column) {
      events << QStringLiteral("changed %1 %2 '%3'").arg(row).arg(column).arg(Text(row, column));
    });
  }

  bool Show() {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
  }
  QString Text(int row, int column) const { return model.index(row, column).data().toString(); }
  QPoint Centre(int row, int column) const { return grid->visualRect(model.index(row, column)).center(); }
  void Click(int row, int column) const {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Centre(row, column));
  }
  QLineEdit* Box() const { return qobject_cast<QLineEdit*>(grid->open_editor()); }
  QComboBox* List() const { return qobject_cast<QComboBox*>(grid->open_editor()); }
  /// The cell of the open editor, or (-1, -1).
  QPoint EditorCell() const {
    if (grid->open_editor() == nullptr) return {-1, -1};
    return {grid->currentIndex().row(), grid->currentIndex().column()};
  }
  QPoint Cell(int row, int column) const { return {row, column}; }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
    QWidget* target = grid->open_editor() != nullptr ? grid->open_editor() : grid;
    QTest::keyClick(target, key, modifiers);
  }
  void Wheel(int delta) const {
    const QPointF at = Centre(1, 1);
    QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
  }

  QStandardItemModel model;  // outlives the window and its grid
  QWidget window;
  EditableGrid* grid;
  QStringList events;
};

// Types `text` key by key (QTest's own typing knows only ASCII).
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
}

}  // namespace

class EditableGridTest : public QObject {
  Q_OBJECT

 private slots:
  void cellModeEditsAcrossRowsAndColumns() {
    Fixture f(20, 3);
    QVERIFY(f.Show());
    EditableGrid& grid = *f.grid;

    // A click highlights (white on blue, the rest of the row selected), a second click opens the box; the
    // first column never opens.
    f.Click(2, 0);
    f.Click(2, 0);
    QVERIFY(grid.open_editor() == nullptr);
    f.Click(0, 1);
    QVERIFY(grid.open_editor() == nullptr);
    const QImage image = grid.viewport()->grab().toImage();
    const QRect cell = grid.visualRect(f.model.index(0, 1));
    QCOMPARE(image.pixelColor(cell.right() - 3, cell.top() + 2), EditableGrid::kHighlight);
    const QRect beside = grid.visualRect(f.model.index(0, 2));
    QCOMPARE(image.pixelColor(beside.right() - 3, beside.top() + 2),
             grid.palette().color(QPalette::Active, QPalette::Highlight));
    f.Click(0, 1);
    QVERIFY(f.Box() != nullptr);
    QCOMPARE(f.Box()->text(), QStringLiteral("0.1"));

    // The box widens with its text, up to the grid's right edge.
    Type(f.Box(), QStringLiteral("Обозн"));
    QCOMPARE(f.Box()->width(), cell.width());
    Type(f.Box(), QStringLiteral(" документа АБВГ.123456.001 и ещё"));
    QVERIFY(f.Box()->width() > cell.width());
    QVERIFY(f.Box()->width() >= f.Box()->fontMetrics().horizontalAdvance(f.Box()->text()));
    Type(f.Box(), QString(60, QLatin1Char('x')));
    QCOMPARE(f.Box()->geometry().right(), grid.viewport()->width() - 1);
    QTest::keyClick(f.Box(), Qt::Key_A, Qt::ControlModifier);
    Type(f.Box(), QStringLiteral("АБВГ.1"));

    // Tab commits, telling before and after the write, and goes on; the moves after it change nothing and
    // say nothing.
    f.Key(Qt::Key_Tab);
    QCOMPARE(f.events, QStringList({"about 0 1 '0.1'", "changed 0 1 'АБВГ.1'"}));
    QCOMPARE(f.EditorCell(), f.Cell(0, 2));
    const int page = grid.viewport()->height() / grid.rowHeight(0);
    const struct {
      const char* what;
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      QPoint cell;
    } moves[] = {
        {"Tab from the last column", Qt::Key_Tab, {}, f.Cell(1, 1)},
        {"Shift+Tab from the second column", Qt::Key_Tab, Qt::ShiftModifier, f.Cell(0, 2)},
        {"Right at the end of the last column", Qt::Key_Right, {}, f.Cell(0, 2)},
        {"Left away from the start", Qt::Key_Left, {}, f.Cell(0, 2)},
        {"Home", Qt::Key_Home, {}, f.Cell(0, 2)},
        {"Left at the start", Qt::Key_Left, {}, f.Cell(0, 1)},
        {"Home", Qt::Key_Home, {}, f.Cell(0, 1)},
        {"Left at the start of the second column", Qt::Key_Left, {}, f.Cell(0, 1)},
        {"End", Qt::Key_End, {}, f.Cell(0, 1)},
        {"Right at the end", Qt::Key_Right, {}, f.Cell(0, 2)},
        {"Up from the first row", Qt::Key_Up, {}, f.Cell(0, 2)},
        {"Down", Qt::Key_Down, {}, f.Cell(1, 2)},
        {"Page Down", Qt::Key_PageDown, {}, f.Cell(1 + page, 2)},
        {"Page Up", Qt::Key_PageUp, {}, f.Cell(1, 2)},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, f.Cell(19, 2)},
    };
    for (const auto& move : moves) {
      f.Key(move.key, move.modifiers);
      QVERIFY2(f.EditorCell() == move.cell, move.what);
    }
    QCOMPARE(f.events.size(), 2);

    // Esc leaves the model and says nothing; Enter on the grid opens the box again, and Enter commits.
    Type(f.Box(), QStringLiteral("zzz"));
    f.Key(Qt::Key_Escape);
    QVERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.Text(19, 2), QStringLiteral("19.2"));
    QCOMPARE(f.events.size(), 2);
    f.Key(Qt::Key_Return);
    QCOMPARE(f.EditorCell(), f.Cell(19, 2));
    Type(f.Box(), QStringLiteral("Конец"));
    f.Key(Qt::Key_Return);
    QVERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.events.mid(2), QStringList({"about 19 2 '19.2'", "changed 19 2 'Конец'"}));

    // Losing the focus commits (a click on another cell only highlights it), and so does CommitEditor.
    f.Key(Qt::Key_Return);
    Type(f.Box(), QStringLiteral("Фокус"));
    f.Click(18, 1);
    QVERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.Text(19, 2), QStringLiteral("Фокус"));
    QVERIFY(grid.OpenEditor(18, 2));
    Type(f.Box(), QStringLiteral("OK"));
    grid.CommitEditor();
    QVERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.Text(18, 2), QStringLiteral("OK"));
    QCOMPARE(f.events.size(), 8);
    f.Click(18, 1);

    // Without a box the arrows move the highlighted cell, into the first column too.
    f.Key(Qt::Key_Left);
    f.Key(Qt::Key_Left);
    QCOMPARE(grid.currentIndex(), f.model.index(18, 0));
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Right);
    QCOMPARE(grid.currentIndex(), f.model.index(17, 1));
    QVERIFY(grid.open_editor() == nullptr);
  }

  void choiceModeDropsTheListOnASelectedRow() {
    Fixture f(6, 2);
    QVERIFY(f.Show());
    EditableGrid& grid = *f.grid;
    grid.SetMode(EditableGrid::Mode::kChoice);
    const QStringList titles = {QStringLiteral("Поз. обозначение"), QStringLiteral("Наименование"),
                                QStringLiteral("Примечание")};
    grid.SetChoices(titles);
    f.model.item(1, 1)->setText(titles[1]);

    f.Click(1, 1);  // selects the row
    f.Click(1, 0);  // the first column never opens
    QVERIFY(grid.open_editor() == nullptr);
    f.Click(1, 1);
    QVERIFY(f.List() != nullptr);
    QCOMPARE(f.List()->count(), 3);
    QCOMPARE(f.List()->currentText(), titles[1]);
    QTRY_VERIFY(f.List()->view()->isVisible());

    // The item chosen from the dropped list lands in the model.
    QTest::keyClick(f.List()->view(), Qt::Key_Down);
    QTest::keyClick(f.List()->view(), Qt::Key_Return);
    QTRY_VERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.events, QStringList({"about 1 1 'Наименование'", "changed 1 1 'Примечание'"}));

    // A cell whose text is none of the choices keeps it when nothing is chosen; Tab goes on to the next row;
    // Esc forgets what was chosen.
    QVERIFY(grid.OpenEditor(2, 1));
    QCOMPARE(f.List()->currentIndex(), -1);
    f.List()->hidePopup();
    f.Key(Qt::Key_Tab);
    QCOMPARE(f.EditorCell(), f.Cell(3, 1));
    f.List()->hidePopup();
    f.List()->setCurrentIndex(0);
    f.Key(Qt::Key_Escape);
    QVERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.Text(2, 1), QStringLiteral("2.1"));
    QCOMPARE(f.Text(3, 1), QStringLiteral("3.1"));
    QCOMPARE(f.events.size(), 2);
  }

  void perColumnModeOpensEachColumnsEditor() {
    Fixture f(4, 3);
    QVERIFY(f.Show());
    EditableGrid& grid = *f.grid;
    grid.SetMode(EditableGrid::Mode::kPerColumn);
    grid.SetColumnEditor(0, {Kind::kNone, {}});
    grid.SetColumnEditor(2, {Kind::kChoice, {QStringLiteral("шт."), QStringLiteral("компл.")}});

    f.Click(0, 0);
    f.Click(0, 0);
    QVERIFY(grid.open_editor() == nullptr);
    f.Key(Qt::Key_Return);  // opens the first editable cell of the row
    QVERIFY(f.Box() != nullptr);
    QCOMPARE(f.EditorCell(), f.Cell(0, 1));
    f.Key(Qt::Key_Tab);
    QVERIFY(f.List() != nullptr);
    QCOMPARE(f.List()->itemText(1), QStringLiteral("компл."));
    f.List()->hidePopup();
    f.Key(Qt::Key_Tab, Qt::ShiftModifier);
    f.Key(Qt::Key_Tab, Qt::ShiftModifier);  // no row before the first
    QCOMPARE(f.EditorCell(), f.Cell(0, 1));

    // A cell the model keeps read-only is passed over.
    f.model.item(1, 1)->setEditable(false);
    f.Key(Qt::Key_Down);
    QCOMPARE(f.EditorCell(), f.Cell(0, 1));
    QVERIFY(!grid.OpenEditor(1, 1));
    QVERIFY(f.events.isEmpty());
  }

  void wheelAndRightButtonGoToTheParentWhileNoBoxIsOpen() {
    Fixture f(30, 2);
    QVERIFY(f.Show());
    EditableGrid& grid = *f.grid;
    QSignalSpy wheel(&grid, &EditableGrid::wheelTurned);
    QSignalSpy context(&grid, &EditableGrid::contextRequested);
    f.Click(1, 1);

    f.Wheel(-120);
    QCOMPARE(wheel.size(), 1);
    QCOMPARE(wheel.at(0).at(0).toInt(), -120);
    QCOMPARE(grid.verticalScrollBar()->value(), 0);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, f.Centre(3, 1));
    QCOMPARE(context.size(), 1);
    QCOMPARE(context.at(0).at(0).toPoint(), grid.viewport()->mapToGlobal(f.Centre(3, 1)));
    QCOMPARE(context.at(0).at(1).toInt(), 3);
    QCOMPARE(grid.currentIndex(), f.model.index(1, 1));

    // With a box open the wheel commits it and scrolls the grid.
    f.Click(1, 1);
    Type(f.Box(), QStringLiteral("Правка"));
    f.Wheel(-120);
    QVERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.events, QStringList({"about 1 1 '1.1'", "changed 1 1 'Правка'"}));
    QCOMPARE(wheel.size(), 1);
    QVERIFY(grid.verticalScrollBar()->value() > 0);

    // A right press beside an open box takes the focus from it, which commits it, and then goes on.
    QVERIFY(grid.OpenEditor(4, 1));
    Type(f.Box(), QStringLiteral("Ещё"));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, f.Centre(5, 1));
    QVERIFY(grid.open_editor() == nullptr);
    QCOMPARE(f.Text(4, 1), QStringLiteral("Ещё"));
    QCOMPARE(context.size(), 2);
    QCOMPARE(context.at(1).at(1).toInt(), 5);
  }

  void cutKeepsTheLongestBeginningThatFitsWithTheDots() {
    const QFontMetrics metrics(QApplication::font());
    const QString text = QStringLiteral("Обозначение документа АБВГ.468732.001");
    QCOMPARE(EditableGrid::CutToWidth(text, metrics, metrics.horizontalAdvance(text)), text);
    const int width = metrics.horizontalAdvance(text) / 2;
    const QString cut = EditableGrid::CutToWidth(text, metrics, width);
    QVERIFY(cut.endsWith(QStringLiteral("...")));
    QVERIFY(text.startsWith(cut.chopped(3)));
    QVERIFY(metrics.horizontalAdvance(cut) <= width);
    QVERIFY(metrics.horizontalAdvance(text.left(cut.size() - 2) + QStringLiteral("...")) > width);
    QVERIFY(metrics.horizontalAdvance(EditableGrid::CutToWidth(text, metrics, 3)) <= 3);
  }
};

int RunEditableGridTests(int argc, char** argv) {
  EditableGridTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "editable_grid_test.moc"
