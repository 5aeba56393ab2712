#include "testsupport.h"

#include "review/suspects.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

using Format::DataFileType;
using Format::Quantity;

class TestReview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanExtremesAreNoSuspects_data();
    void cleanExtremesAreNoSuspects();
    void plantedFaultsAreFoundInOrder();
    void noDataValuesAreNoReadings_data();
    void noDataValuesAreNoReadings();
    void editorStartsWithTheCellText();

private:
    // A file of rows records whose every column holds value(row, column) as the table shows it.
    void open(DataFileType type, int rows, const std::function<double(int, int)>& value);
    CellState state(int row, int column)
    {
        return TestAccess::review(e->window())->suspectCells()->state(row, column);
    }
    QString countText() { return TestAccess::statusBar(e->window())->findChild<QLabel*>()->text(); }

    std::unique_ptr<TestSupport::Editor> e;
};

namespace
{

// A plausible reading of each quantity, which every field of that quantity can hold.
double typical(Quantity quantity)
{
    const Format::PlausibleRange& range = Format::plausibleRange(quantity);
    return quantity == Quantity::None
               ? 0
               : std::round(range.lowest + (range.highest - range.lowest) / 4);
}

} // namespace

void TestReview::init()
{
    e = std::make_unique<TestSupport::Editor>();
}

void TestReview::open(DataFileType type, int rows, const std::function<double(int, int)>& value)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QByteArray bytes = TestSupport::stationFile(type, rows);
    for (int row = 0; row < rows; ++row) {
        char* record = bytes.data() + layout.headerSize + row * layout.recordSize;
        for (int column = 0; column < layout.columnCount; ++column) {
            const Format::Field& field = layout.fields[column];
            TestAccess::writeField(field, record,
                                   QString::number(value(row, column), 'f',
                                                   qMax(0, Format::ruleDecimals(field.rule))));
        }
    }
    e->open(type, bytes);
}

void TestReview::cleanExtremesAreNoSuspects_data()
{
    QTest::addColumn<int>("type");
    for (const Format::RecordLayout& layout : Format::layouts)
        QTest::newRow(layout.name) << int(&layout - Format::layouts.data());
}

// Each column spends its first rows at the bottom of its range and the rest at the top, and a
// second temperature rises by exactly the spike threshold: weather, however harsh, is no fault.
void TestReview::cleanExtremesAreNoSuspects()
{
    QFETCH(int, type);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    open(DataFileType(type), 6, [&](int row, int column) {
        const Format::Field& field = layout.fields[column];
        const Format::PlausibleRange& range = Format::plausibleRange(field.quantity);
        if (field.quantity == Quantity::None)
            return 1.0;
        if (column == 1 && range.jump > 0)
            return typical(field.quantity) + (row == 3 ? range.jump : 0);
        return row < 3 ? range.lowest : range.highest;
    });
    QCOMPARE(countText(), QStringLiteral("Aucune valeur suspecte"));
}

// Just beyond a range's end, or just more than a jump off both neighbours: found, in reading
// order, round to the top again, in the shown columns only, and gone once corrected.
void TestReview::plantedFaultsAreFoundInOrder()
{
    const Format::RecordLayout& layout = Format::layout(DataFileType::WswinWD);
    const QList<QList<double>> planted{{3, 1, 10 + 8.1}, {5, 17, 0},    {7, 39, 250.1},
                                       {9, 32, 1018.1},  {10, 0, 50.1}, {10, 12, -60.1}};
    open(DataFileType::WswinWD, 12, [&](int row, int column) {
        for (const QList<double>& fault : planted) {
            if (int(fault.at(0)) == row && int(fault.at(1)) == column)
                return fault.at(2);
        }
        const Quantity quantity = layout.fields[column].quantity;
        return quantity == Quantity::OutdoorTemperature ? 10.0
               : quantity == Quantity::Pressure         ? 1013.0
                                                        : typical(quantity);
    });
    QCOMPARE(countText(), QStringLiteral("6 valeurs suspectes"));
    QTableView* view = e->view();
    e->trigger("Sondes...");
    TestAccess::sensorBoxes(e->window()).at(39)->setChecked(false);
    for (QPushButton* button : TestAccess::currentDialog(e->window())->findChildren<QPushButton*>())
        if (button->text() == QLatin1String("OK"))
            button->click();
    QVERIFY(view->isColumnHidden(39));
    QCOMPARE(countText(), QStringLiteral("5 valeurs suspectes"));

    QAction* next = e->action("Valeur suspecte suivante");
    QList<QPair<int, int>> visited;
    for (int step = 0; step < 6; ++step) {
        next->trigger();
        visited << qMakePair(view->currentIndex().row(), view->currentIndex().column());
    }
    const QList<QPair<int, int>> expected{{3, 1}, {5, 17}, {9, 32}, {10, 0}, {10, 12}, {3, 1}};
    QCOMPARE(visited, expected);
    for (int row = 0; row < 12; ++row)
        QCOMPARE(state(row, 2), CellState::Reading);

    e->edit(9, 32, QStringLiteral("1013.0"));
    e->edit(3, 1, QStringLiteral("10.0"));
    e->edit(8, 1, QStringLiteral("-20.0"));
    QCOMPARE(state(9, 32), CellState::Reading);
    QCOMPARE(state(3, 1), CellState::Reading);
    QCOMPARE(state(8, 1), CellState::Suspect);
    QCOMPARE(countText(), QStringLiteral("4 valeurs suspectes"));
}

void TestReview::noDataValuesAreNoReadings_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("column");
    QTest::addColumn<double>("value");
    QTest::newRow("WS2300 outdoor temperature") << int(DataFileType::WS2300) << 1 << 81.1;
    QTest::newRow("WS2300 outdoor humidity") << int(DataFileType::WS2300) << 3 << 110.0;
    QTest::newRow("WS2300 wind of 51.0 m/s") << int(DataFileType::WS2300) << 6 << 183.6;
    QTest::newRow("WS3600 gust") << int(DataFileType::WS3600) << 10 << 51.0;
}

// The value the station writes for no reading is neither a suspect nor a neighbour to compare.
void TestReview::noDataValuesAreNoReadings()
{
    QFETCH(int, type);
    QFETCH(int, column);
    QFETCH(double, value);
    const Format::RecordLayout& layout = Format::layout(DataFileType(type));
    open(DataFileType(type), 3, [&](int row, int c) {
        return row == 1 && c == column ? value : typical(layout.fields[c].quantity);
    });
    QCOMPARE(state(1, column), CellState::NoData);
    QCOMPARE(countText(), QStringLiteral("Aucune valeur suspecte"));
}

void TestReview::editorStartsWithTheCellText()
{
    open(DataFileType::WswinWM, 2, [](int, int) { return 12.0; });
    QTableView* view = e->view();
    view->edit(e->model()->index(1, 0));
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    QCOMPARE(editor->text(), QStringLiteral("12.0"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(TestAccess::undoCount(e->window()), 0);
    QVERIFY(!e->enabled("Enregistrer"));
    QCOMPARE(e->window().windowTitle(), QStringLiteral("f.DAT[*] - Stratomark v1.0.11"));
    QVERIFY(!e->window().isWindowModified());
}

STRATOMARK_TEST_MAIN(TestReview)
#include "tst_review.moc"
