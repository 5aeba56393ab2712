// The chart of a column: which cells become points and where, which row a click names as the
// table changes, and how suspect and no-data values show.
#include "review/chartwindow.h"
#include "testsupport.h"

#include <qwt_date_scale_draw.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

// Row 2 is out of date order, row 4 not dated yet, row 5 holds an added cell's placeholder;
// 30.0 is suspect and 81.1 the station's no-data value.
static const char* const table[][2] = {{"01/03/2023 00:00", "10.0"}, {"01/03/2023 01:00", "11.0"},
                                       {"01/03/2023 05:00", "13.0"}, {"01/03/2023 02:00", "12.0"},
                                       {"--/--/---- --:--", "14.0"}, {"01/03/2023 03:00", "--"},
                                       {"01/03/2023 04:00", "30.0"}, {"01/03/2023 06:00", "81.1"},
                                       {"01/03/2023 07:00", "15.0"}, {"01/03/2023 08:00", "16.0"}};
static const QHash<QString, CellState> states{{"30.0", CellState::Suspect},
                                              {"81.1", CellState::NoData}};

class ChartTest : public QObject
{
    Q_OBJECT
    QScopedPointer<TableModel> model;
    QScopedPointer<ChartWindow> chart;
    QwtPlot* plot;
    const QwtPlotCurve* curve;

    QPoint pixel(const QPointF& p) const
    {
        return QPointF(plot->transform(QwtPlot::xBottom, p.x()),
                       plot->transform(QwtPlot::yLeft, p.y()))
            .toPoint();
    }
    int clickedRow(const QPoint& at)
    {
        QSignalSpy spy(chart.data(), &ChartWindow::recordClicked);
        QTest::mouseClick(plot->canvas(), Qt::LeftButton, Qt::NoModifier, at);
        return spy.isEmpty() ? -1 : spy[0][0].toInt();
    }
    // The row a click on each point names, in line order; -1 for a point that is not that
    // row's value at that row's date, as the date axis reads it.
    QList<int> pointRows()
    {
        const auto* dates =
            static_cast<const QwtDateScaleDraw*>(plot->axisScaleDraw(QwtPlot::xBottom));
        QList<int> rows;
        for (int i = 0; i < int(curve->dataSize()); ++i) {
            const QPointF p = curve->sample(i);
            const int row = clickedRow(pixel(p));
            const QString drawn = dates->toDateTime(p.x()).toString("dd/MM/yyyy hh:mm ") +
                                  QString::number(p.y(), 'f', 1);
            rows << (row >= 0 && drawn == model->headerData(row, Qt::Vertical, 0).toString() + ' ' +
                                              model->cellText(row, 0)
                         ? row
                         : -1);
        }
        return rows;
    }

private slots:
    void init()
    {
        model.reset(new TableModel(10, 1, nullptr));
        model->setHeaderData(0, Qt::Horizontal, QStringLiteral("Temp. E.\n(°C)"), Qt::EditRole);
        for (int row = 0; row < 10; ++row) {
            model->setHeaderData(row, Qt::Vertical, table[row][0], Qt::EditRole);
            model->setData(model->index(row, 0), table[row][1], Qt::EditRole);
        }
        chart.reset(new ChartWindow(
            model.data(), 0, 1,
            [this](int row) { return states.value(model->cellText(row, 0), CellState::Reading); },
            nullptr));
        plot = chart->findChild<QwtPlot*>();
        curve = static_cast<QwtPlotCurve*>(plot->itemList(QwtPlotItem::Rtti_PlotCurve)[0]);
        chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(chart.data()));
        QCOMPARE(chart->windowTitle(), QStringLiteral("Temp. E. (°C)"));
    }

    // Row 0 relabelled or retyped (null leaves it), rows inserted then removed (at, count, at,
    // count), and the row that a click on each point then names, in line order.
    void pointsFollowTheTable_data()
    {
        TestSupport::columns<QString, QString, QList<int>, QList<int>>(
            {"label", "text", "moves", "rows"});
        const QList<int> none{0, 0, 0, 0};
        QTest::newRow("as loaded")
            << QString() << QString() << none << QList<int>{0, 1, 3, 6, 2, 8, 9};
        QTest::newRow("edited") << QString() << "20.5" << none << QList<int>{0, 1, 3, 6, 2, 8, 9};
        QTest::newRow("redated") << "01/03/2023 09:00" << QString() << none
                                 << QList<int>{1, 3, 6, 2, 8, 9, 0};
        QTest::newRow("rows added above") << QString() << QString() << QList<int>{0, 2, 0, 0}
                                          << QList<int>{2, 3, 5, 8, 4, 10, 11};
        QTest::newRow("first removed")
            << QString() << QString() << QList<int>{0, 0, 0, 1} << QList<int>{0, 2, 5, 1, 7, 8};
        QTest::newRow("rows added, then removed")
            << QString() << QString() << QList<int>{0, 3, 2, 2} << QList<int>{2, 4, 7, 3, 9, 10};
    }

    void pointsFollowTheTable()
    {
        const auto [label, text, moves, rows] =
            TestSupport::fetch<QString, QString, QList<int>, QList<int>>("label", "text", "moves",
                                                                         "rows");
        if (!label.isNull())
            model->setHeaderData(0, Qt::Vertical, label, Qt::EditRole);
        if (!text.isNull())
            model->setData(model->index(0, 0), text, Qt::EditRole);
        model->insertRows(moves[0], moves[1], QModelIndex());
        model->removeRows(moves[2], moves[3], QModelIndex());
        QTRY_COMPARE(pointRows(), rows);
    }

    // The canvas on a point, or halfway between two points in line order, and a click there.
    void pointsShowTheirState_data()
    {
        TestSupport::columns<int, int, int, int, int>({"from", "to", "red", "line", "clicked"});
        QTest::newRow("suspect value") << 3 << 3 << 1 << 0 << 6;
        QTest::newRow("reading") << 1 << 1 << 0 << 1 << 1;
        QTest::newRow("between readings") << 5 << 6 << 0 << 1 << -1;
        QTest::newRow("across the no-data value") << 4 << 5 << 0 << 0 << -1;
    }

    void pointsShowTheirState()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        const QPoint at = pixel((curve->sample(from) + curve->sample(to)) / 2);
        const QColor c = plot->canvas()->grab().toImage().pixelColor(at);
        QTEST(int(c.red() > 150 && c.green() < 100), "red");
        QTEST(int(c.blue() > c.red() + 40), "line");
        QTEST(clickedRow(at), "clicked");
    }

    // The line breaks where the table finds records missing: after ten-minute records, more than
    // an hour without one.
    void gapsBreakTheLine_data()
    {
        TestSupport::columns<QString, int>({"label", "line"});
        QTest::newRow("an hour after the last") << "01/03/2023 01:20" << 1;
        QTest::newRow("a minute more") << "01/03/2023 01:21" << 0;
    }
    void gapsBreakTheLine()
    {
        QFETCH(QString, label);
        const Format::RecordLayout& layout = Format::layout(Format::DataFileType::WS3600);
        QByteArray bytes = TestSupport::stationFile(Format::DataFileType::WS3600, 4);
        const QStringList labels{"01/03/2023 00:00", "01/03/2023 00:10", "01/03/2023 00:20", label};
        for (int row = 0; row < 4; ++row)
            TestAccess::writeTimestamp(layout.timestamp, bytes.data() + row * layout.recordSize,
                                       labels.at(row));
        TestSupport::Editor e;
        e.open(Format::DataFileType::WS3600, bytes);
        TestAccess::review(e.window())->showChart();
        ChartWindow* shown = TestAccess::review(e.window())->chart();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QwtPlot* charting = shown->findChild<QwtPlot*>();
        const auto* charted =
            static_cast<const QwtPlotCurve*>(charting->itemList(QwtPlotItem::Rtti_PlotCurve)[0]);
        QTRY_COMPARE(int(charted->dataSize()), 4);
        const QPointF middle = (charted->sample(2) + charted->sample(3)) / 2;
        const QPoint at(int(charting->transform(QwtPlot::xBottom, middle.x())),
                        int(charting->transform(QwtPlot::yLeft, middle.y())));
        const QColor c = charting->canvas()->grab().toImage().pixelColor(at);
        QTEST(int(c.blue() > c.red() + 40), "line");
    }

    // Shift and the wheel zoom the values in to ten steps of the texts, 1.0, and out to a
    // hundred times the column's range, from 10.0 to the suspect 30.0.
    void valueZoomStopsAtItsBounds()
    {
        for (const auto& [notches, span] : {std::pair{200, 1.0}, {-1, 1.25}, {-200, 2000.0}}) {
            for (int i = 0; i < qAbs(notches); ++i) {
                QWheelEvent wheel(QPoint(50, 50), QPoint(50, 50), {}, {0, notches > 0 ? 120 : -120},
                                  Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(plot->canvas(), &wheel);
            }
            QCOMPARE(plot->axisInterval(QwtPlot::yLeft).width(), span);
        }
    }

    // The import runs the event loop at each progress step; the chart of a column that it writes
    // shows the table as it was until the import ends, then the imported values.
    void chartFollowsAnImportAtItsEnd()
    {
        TestSupport::Editor e;
        const TestSupport::BoxLog boxes;
        e.open(Format::DataFileType::WS2300, 60);
        QString file = QStringLiteral("Date;Heure;Temp. I. (°C)\n");
        for (int row = 0; row < 60; ++row)
            file += e.label(row).replace(' ', ';') + ";12.5\n";
        TestSupport::writeFile(e.path("in.csv"), file.toUtf8());
        TestAccess::review(e.window())->showChart();
        const QwtPlot* charting = TestAccess::review(e.window())->chart()->findChild<QwtPlot*>();
        const auto* charted =
            static_cast<const QwtPlotCurve*>(charting->itemList(QwtPlotItem::Rtti_PlotCurve)[0]);
        const auto values = [charted] {
            QVector<double> y;
            for (int i = 0; i < int(charted->dataSize()); ++i)
                y << charted->sample(i).y();
            return y;
        };
        const QVector<double> before = values();
        bool moved = false;
        const auto watch = TestSupport::whenModalShown([&](QWidget*) {
            moved |= values() != before;
            return false;
        });
        const auto answer = TestSupport::chooseFile(e.path("in.csv"));
        e.trigger("&Importer");
        QVERIFY(!moved);
        QTRY_COMPARE(values(), QVector<double>(60, 12.5));
    }
};

STRATOMARK_TEST_MAIN(ChartTest)
#include "tst_chart.moc"
