// A station history of five million WS2300 records, generated here: how long it takes to open
// through the real loading path and what memory it adds, how promptly the table scrolls through
// it, how long a date search and a column's chart take.
#include "benchsupport.h"
#include "synthetic.h"
#include "testsupport.h"

#include "review/chartwindow.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <malloc.h>

#include <cstdio>
#include <functional>

namespace
{

using BenchSupport::resetPeakMemory;
using BenchSupport::statusKilobytes;

double secondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

// Fifty jumps of the scroll bar from the top to the bottom, each painted.
void measureScrolling(QTableView* view)
{
    QScrollBar* bar = view->verticalScrollBar();
    double worst = 0;
    double total = 0;
    const int jumps = 50;
    for (int jump = 0; jump < jumps; ++jump) {
        const double seconds = secondsOf([&] {
            bar->setValue(int(qint64(bar->maximum()) * jump / (jumps - 1)));
            view->viewport()->grab();
        });
        worst = qMax(worst, seconds);
        total += seconds;
    }
    std::printf("%-40s %8.1f ms each, %.1f ms at worst\n", "scroll and paint, 50 jumps",
                total / jumps * 1000, worst * 1000);
}

void measureSearch(FenPrincipale& window, TableModel* model)
{
    BenchSupport::askForLastDate(window);
    std::printf("%-40s %8.1f ms\n", "search the last row's date",
                secondsOf([&] { window.rechercher_date(); }) * 1000);
    if (TestAccess::view(window)->currentIndex().row() != model->rowCount() - 1)
        std::printf("(the search did not land on the last row)\n");
}

void measureChart(TableModel* model)
{
    ChartWindow* chart = nullptr;
    const double seconds = secondsOf([&] {
        chart = new ChartWindow(
            model, 1, 1, [](int) { return CellState::Reading; }, nullptr);
        chart->show();
        chart->grab();
    });
    std::printf("%-40s %8.1f ms\n", "chart of the outdoor temperature", seconds * 1000);
    delete chart;
}

} // namespace

int main(int argc, char* argv[])
{
    TestSupport::initProcess();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const int records = argc > 1 ? QByteArray(argv[1]).toInt() : 5000000;
    const QString path = folder.filePath(QStringLiteral("history.DAT"));
    TestSupport::writeFile(path, Synthetic::stationFile(Format::DataFileType::WS2300,
                                                        QDateTime(QDate(2010, 1, 1), QTime(0, 0)),
                                                        1, records));
    FenPrincipale window;
    window.resize(1000, 700);
    window.show();

    malloc_trim(0);
    resetPeakMemory();
    const qint64 before = statusKilobytes("VmRSS:");
    const double opening =
        secondsOf([&] { TestAccess::load(window, Format::DataFileType::WS2300, path); });
    TableModel* model = TestAccess::model(window);
    const qint64 cells = qint64(model->rowCount()) * model->columnCount();
    const qint64 added = statusKilobytes("VmHWM:") - before;
    std::printf("WS2300 history, %d records, %lld cells\n", model->rowCount(), cells);
    std::printf("%-40s %8.2f s, %lld MB added at the peak (%.1f bytes/cell)\n", "open", opening,
                added * 1024 / 1000000, added * 1024.0 / cells);
    measureScrolling(TestAccess::view(window));
    measureSearch(window, model);
    measureChart(model);
    TestAccess::clearTable(window);
    return 0;
}
