#include "testsupport.h"

#include "review/chartwindow.h"
#include "review/suspects.h"

#include <cmath>

using Format::DataFileType;
using Format::Quantity;

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

class TestReview : public QObject
{
    Q_OBJECT

private slots:
    void init() { e = std::make_unique<TestSupport::Editor>(); }
    void cleanExtremesAreNoSuspects_data()
    {
        QTest::addColumn<int>("type");
        for (const Format::RecordLayout& layout : Format::layouts)
            QTest::newRow(layout.name) << int(&layout - Format::layouts.data());
    }
    // Each column spends its first rows at the bottom of its range and the rest at the top, a rain
    // counter rises by a millimetre a record, and a second temperature rises by exactly the spike
    // threshold: weather, however harsh, is no fault.
    void cleanExtremesAreNoSuspects()
    {
        QFETCH(int, type);
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        open(DataFileType(type), 6, [&](int row, int column) {
            const Format::Field& field = layout.fields[column];
            const Format::PlausibleRange& range = Format::plausibleRange(field.quantity);
            if (field.quantity == Quantity::None)
                return 1.0;
            if (field.quantity == Quantity::RainTotal)
                return double(row);
            if (column == 1 && range.jump > 0)
                return typical(field.quantity) + (row == 3 ? range.jump : 0);
            return row < 3 ? range.lowest : range.highest;
        });
        QCOMPARE(count(), QStringLiteral("Aucune valeur suspecte"));
    }
    // Just beyond a range's end, or just more than a jump off both neighbours: found, in reading
    // order, round to the top again, in the shown columns only, gone once corrected, and moved
    // with their records.
    void plantedFaultsAreFoundInOrder()
    {
        const Format::RecordLayout& layout = Format::layout(DataFileType::WswinWD);
        const QList<QList<double>> planted{{3, 1, 18.1},   {4, 13, -21.9},  {5, 17, 0},
                                           {7, 39, 250.1}, {9, 32, 1018.1}, {10, 0, 50.1},
                                           {10, 12, -60.1}};
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
        QCOMPARE(count(), QStringLiteral("7 valeurs suspectes"));
        e->trigger("Sondes...");
        TestAccess::sensorBoxes(e->window()).at(39)->setChecked(false);
        e->click("OK");
        QVERIFY(e->view()->isColumnHidden(39));
        QCOMPARE(count(), QStringLiteral("6 valeurs suspectes"));
        QStringList visited;
        for (int step = 0; step < 7; ++step) {
            e->trigger("Valeur suspecte suivante");
            visited << QStringLiteral("%1,%2")
                           .arg(e->view()->currentIndex().row())
                           .arg(e->view()->currentIndex().column());
        }
        QCOMPARE(visited.join(' '), QStringLiteral("3,1 4,13 5,17 9,32 10,0 10,12 3,1"));
        e->edit(9, 32, QStringLiteral("1013.0"));
        e->edit(3, 1, QStringLiteral("10.0"));
        e->edit(8, 1, QStringLiteral("-20.0"));
        QCOMPARE(QString("%1%2%3%4")
                     .arg(int(state(9, 32)))
                     .arg(int(state(3, 1)))
                     .arg(int(state(8, 1)))
                     .arg(int(state(2, 2))),
                 QStringLiteral("0010"));
        QCOMPARE(count(), QStringLiteral("5 valeurs suspectes"));
        e->view()->setCurrentIndex(e->model()->index(4, 0));
        e->window().addRow();
        QCOMPARE(QString("%1%2").arg(int(state(10, 0))).arg(int(state(11, 0))),
                 QStringLiteral("01"));
    }
    void noDataValuesAreNoReadings_data()
    {
        TestSupport::columns<int, int, double>({"type", "column", "value"});
        QTest::newRow("WS2300 outdoor temperature") << 3 << 1 << 81.1;
        QTest::newRow("WS2300 outdoor humidity") << 3 << 3 << 110.0;
        QTest::newRow("WS2300 wind of 51.0 m/s") << 3 << 6 << 183.6;
        QTest::newRow("WS3600 gust") << 4 << 10 << 51.0;
    }
    // The value the station writes for no reading is neither a suspect nor a neighbour to compare.
    void noDataValuesAreNoReadings()
    {
        QFETCH(int, type);
        QFETCH(int, column);
        QFETCH(double, value);
        const Format::RecordLayout& layout = Format::layout(DataFileType(type));
        open(DataFileType(type), 3, [&](int row, int c) {
            return row == 1 && c == column ? value : typical(layout.fields[c].quantity);
        });
        QCOMPARE(state(1, column), CellState::NoData);
        QCOMPARE(count(), QStringLiteral("Aucune valeur suspecte"));
    }
    // The cell editor opens on the cell's text and, closed unchanged, changes nothing; a click on a
    // chart's point makes that record's cell current.
    void editorAndChartLeadToTheCell()
    {
        open(DataFileType::WswinWM, 4, [](int row, int) { return 12.0 + row; });
        e->view()->edit(e->model()->index(1, 0));
        auto* editor = e->view()->viewport()->findChild<QLineEdit*>();
        QCOMPARE(editor->text(), QStringLiteral("13.0"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(TestAccess::undoCount(e->window()) == 0 && !e->enabled("Enregistrer"));
        QCOMPARE(e->window().windowTitle(), QStringLiteral("f.DAT[*] - Stratomark v1.0.11"));
        e->view()->setCurrentIndex(e->model()->index(0, 2));
        e->trigger("Graphique...");
        ChartWindow* chart = TestAccess::review(e->window())->chart();
        QCOMPARE(chart->windowTitle(), QStringLiteral("Temp. 2 (°C)"));
        emit chart->recordClicked(3);
        QCOMPARE(e->view()->currentIndex(), e->model()->index(3, 2));
        e->open(DataFileType::WS3600, 2);
        QVERIFY(!TestAccess::review(e->window())->chart());
    }

private:
    // A file of rows records whose every column holds value(row, column) as the table shows it.
    void open(DataFileType type, int rows, const std::function<double(int, int)>& value);
    CellState state(int row, int column)
    {
        return TestAccess::review(e->window())->suspectCells()->state(row, column);
    }
    QString count() { return TestAccess::statusBar(e->window())->findChild<QLabel*>()->text(); }

    std::unique_ptr<TestSupport::Editor> e;
};

void TestReview::open(DataFileType type, int rows, const std::function<double(int, int)>& value)
{
    const Format::RecordLayout& layout = Format::layout(type);
    QByteArray bytes = TestSupport::stationFile(type, rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < layout.columnCount; ++column) {
            const Format::Field& field = layout.fields[column];
            TestAccess::writeField(field,
                                   bytes.data() + layout.headerSize + row * layout.recordSize,
                                   QString::number(value(row, column), 'f',
                                                   qMax(0, Format::ruleDecimals(field.rule))));
        }
    }
    e->open(type, bytes);
}

STRATOMARK_TEST_MAIN(TestReview)
#include "tst_review.moc"
