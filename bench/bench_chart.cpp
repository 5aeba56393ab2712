// Times the chart of a column on a station's decade loaded through the real path: opening it
// (built and first painted), redrawing it after wheel zooms, a dragged rectangle, pans and
// "Vue entière", and following an edited cell, through the events that a user's mouse sends.
#include "review/chartwindow.h"
#include "synthetic.h"
#include "testsupport.h"

#include <qwt_plot.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void send(QWidget* canvas, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
          Qt::MouseButtons held)
{
    QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

// A press, a move and a release; the redraw follows the release.
double dragMilliseconds(ChartWindow& chart, QWidget* canvas, Qt::MouseButton button,
                        const QPoint& from, const QPoint& to)
{
    send(canvas, QEvent::MouseButtonPress, from, button, button);
    send(canvas, QEvent::MouseMove, to, Qt::NoButton, button);
    return millisecondsOf([&] {
        send(canvas, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
        chart.grab();
    });
}

struct Figures {
    QVector<double> milliseconds;
    void add(double ms) { milliseconds << ms; }
    double worst() const { return *std::max_element(milliseconds.begin(), milliseconds.end()); }
};

void measure(TableModel* model, int column, const char* title, const ChartWindow::StateOf& stateOf)
{
    ChartWindow* chart = nullptr;
    const double opening = millisecondsOf([&] {
        chart = new ChartWindow(
            model, column,
            qMax(0, Format::ruleDecimals(
                        Format::layout(Format::DataFileType::WS2300).fields[column].rule)),
            stateOf, nullptr);
        chart->show();
        chart->grab();
    });
    QWidget* canvas = chart->findChild<QwtPlot*>()->canvas();
    const QPoint centre = canvas->rect().center();

    Figures wheel;
    for (int notch = 0; notch < 30; ++notch) {
        QWheelEvent event(centre, canvas->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        wheel.add(millisecondsOf([&] {
            QApplication::sendEvent(canvas, &event);
            chart->grab();
        }));
    }
    QPushButton* whole = chart->findChild<QPushButton*>();
    const double reset = millisecondsOf([&] {
        whole->click();
        chart->grab();
    });
    Figures pan;
    for (int step = 0; step < 5; ++step)
        pan.add(dragMilliseconds(*chart, canvas, Qt::RightButton, centre,
                                 centre + QPoint(step % 2 ? 150 : -150, 20)));
    const double rectangle =
        dragMilliseconds(*chart, canvas, Qt::LeftButton, centre, centre + QPoint(40, 40));
    Figures edit;
    for (int row : {0, model->rowCount() / 2, model->rowCount() - 1}) {
        const QModelIndex cell = model->index(row, column);
        const QString text = model->cellText(row, column);
        edit.add(millisecondsOf([&] {
            model->setData(cell, QStringLiteral("99.9"), Qt::EditRole);
            QCoreApplication::processEvents();
            chart->grab();
        }));
        model->setData(cell, text, Qt::EditRole);
        QCoreApplication::processEvents();
    }
    std::printf("%-34s open %6.0f ms | redraw, worst of: 30 wheel notches %5.1f ms, "
                "5 pans %5.1f ms, rectangle %5.1f ms, whole view %5.1f ms | "
                "an edited cell followed in %5.1f ms at worst\n",
                title, opening, wheel.worst(), pan.worst(), rectangle, reset, edit.worst());
    delete chart;
}

} // namespace

int main(int argc, char* argv[])
{
    TestSupport::initProcess();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    FenPrincipale window;

    const QString path = folder.filePath(QStringLiteral("decade.DAT"));
    TestSupport::writeFile(path, Synthetic::stationFile(Format::DataFileType::WS2300,
                                                        QDateTime(QDate(2014, 1, 1), QTime(0, 0)),
                                                        10, 3650 * 24 * 6));
    TestAccess::load(window, Format::DataFileType::WS2300, path);
    TableModel* model = TestAccess::model(window);
    std::printf("WS2300 decade: %d records\n", model->rowCount());

    const auto reading = [](int) {
        return CellState::Reading;
    };
    measure(model, 1, "outdoor temperature", reading);
    measure(model, 4, "pressure", reading);
    measure(model, 1, "temperature, 3 in 4 no-data",
            [](int row) { return row % 4 ? CellState::NoData : CellState::Reading; });
    measure(model, 1, "temperature, every value suspect", [](int) { return CellState::Suspect; });
    TestAccess::clearTable(window);
    return 0;
}
