// Times the export, the import and the print document on large tables through the real slots,
// beside floors that do only the unavoidable work, how promptly "Annuler" stops them, and the
// import with a chart open on a column that it writes.
#include "synthetic.h"
#include "testsupport.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextStream>

#include <cstdio>
#include <functional>

using Format::DataFileType;

namespace
{

double secondsSince(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e9;
}

void triggerAction(FenPrincipale& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text)
            action->trigger();
    }
}

// Answers the file dialog with path; timer, when given, starts once the dialog is answered.
TestSupport::ModalWatch chooseFile(const QString& path, QElapsedTimer* timer = nullptr)
{
    return TestSupport::whenShown<QFileDialog>([path, timer](QFileDialog* dialog) {
        dialog->selectNameFilter(QStringLiteral("*.*"));
        dialog->selectFile(path);
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        static_cast<QDialog*>(dialog)->accept();
        if (timer)
            timer->start();
    });
}

void clickOk(FenPrincipale& window)
{
    for (QPushButton* button : TestAccess::currentDialog(window)->findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String("OK"))
            button->click();
    }
}

double exportSeconds(FenPrincipale& window, const QString& path)
{
    triggerAction(window, QStringLiteral("&Exporter"));
    QElapsedTimer timer;
    const auto answer = chooseFile(path, &timer);
    clickOk(window);
    return secondsSince(timer);
}

// The same text as the export, written through one buffered stream and nothing else.
double exportFloorSeconds(FenPrincipale& window, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Text);
    QTextStream out(&file);
    out.setCodec(QTextCodec::codecForName("ISO 8859-1"));
    TableModel* model = TestAccess::model(window);
    const QString separator = QStringLiteral(";");
    out << "Date;Heure;";
    for (int column = 0; column < model->columnCount(); ++column)
        out << model->headerData(column, Qt::Horizontal, Qt::DisplayRole)
                   .toString()
                   .replace(QLatin1Char('\n'), QLatin1Char(' '))
            << separator;
    out << '\n';
    for (int row = 0; row < model->rowCount(); ++row) {
        out << model->headerData(row, Qt::Vertical, Qt::DisplayRole)
                   .toString()
                   .replace(QLatin1Char(' '), separator)
            << separator;
        for (int column = 0; column < model->columnCount(); ++column)
            out << model->data(model->index(row, column), Qt::DisplayRole).toString() << separator;
        out << '\n';
    }
    out.flush();
    file.close();
    return secondsSince(timer);
}

// The summary of refused values, if any, is answered as soon as it shows; the time stops there.
double importSeconds(FenPrincipale& window, const QString& path)
{
    QElapsedTimer timer;
    const auto answer = chooseFile(path, &timer);
    double seconds = 0;
    const auto summary = TestSupport::whenShown<QMessageBox>([&](QMessageBox* box) {
        seconds = secondsSince(timer);
        box->accept();
    });
    triggerAction(window, QStringLiteral("&Importer"));
    return seconds > 0 ? seconds : secondsSince(timer);
}

double loadSeconds(FenPrincipale& window, DataFileType type, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    TestAccess::load(window, type, path);
    return secondsSince(timer);
}

QString writeStation(const QString& path, DataFileType type, int year, int intervalMinutes,
                     int count)
{
    return TestSupport::writeFile(
        path, Synthetic::stationFile(type, QDateTime(QDate(year, 1, 1), QTime(0, 0)),
                                     intervalMinutes, count));
}

// How long "Annuler", pressed a tenth of a second into operation, takes to stop it.
void measureCancel(const char* title, const std::function<void()>& operation)
{
    QElapsedTimer sinceStart;
    QElapsedTimer sinceCancel;
    int rows = 0;
    const auto watch = TestSupport::whenModalShown([&](QWidget* modal) {
        auto* progress = qobject_cast<QProgressDialog*>(modal);
        if (!progress)
            return false;
        if (!sinceStart.isValid())
            sinceStart.start();
        if (sinceStart.elapsed() < 100)
            return false;
        rows = progress->value();
        sinceCancel.start();
        progress->cancel();
        return true;
    });
    operation();
    std::printf("%-14s \"Annuler\" at row %d stopped it %.3f s later\n", title, rows,
                sinceCancel.isValid() ? secondsSince(sinceCancel) : -1.0);
}

// How many times the progress dialog moves during a whole operation.
int progressMoves(const std::function<void()>& operation)
{
    int moves = 0;
    int lastValue = -1;
    const auto watch = TestSupport::whenModalShown([&](QWidget* modal) {
        auto* progress = qobject_cast<QProgressDialog*>(modal);
        if (progress && progress->value() != lastValue) {
            lastValue = progress->value();
            ++moves;
        }
        return false;
    });
    operation();
    return moves;
}

void benchWs2300(FenPrincipale& window, const QString& folder)
{
    const int tenYears = 3650 * 24 * 6;
    const QString station = writeStation(folder + QStringLiteral("/ws2300.DAT"),
                                         DataFileType::WS2300, 2004, 10, tenYears);
    const QString other = writeStation(folder + QStringLiteral("/other.DAT"), DataFileType::WS2300,
                                       2005, 10, tenYears);
    const QString exported = folder + QStringLiteral("/ws2300.csv");
    const QString changed = folder + QStringLiteral("/other.csv");
    const QString values = folder + QStringLiteral("/values.csv");

    // The other station's values at this station's dates: a spreadsheet round trip that changed
    // every value and kept the dates.
    QByteArray sameDates = TestSupport::readFile(other);
    const QByteArray dates = TestSupport::readFile(station);
    for (int record = 0; record < tenYears; ++record)
        sameDates.replace(record * 36 + 4, 4, dates.mid(record * 36 + 4, 4));
    loadSeconds(window, DataFileType::WS2300,
                TestSupport::writeFile(folder + QStringLiteral("/values.DAT"), sameDates));
    exportSeconds(window, values);
    const double load = loadSeconds(window, DataFileType::WS2300, other);
    exportSeconds(window, changed);
    loadSeconds(window, DataFileType::WS2300, station);
    const double floor = exportFloorSeconds(window, folder + QStringLiteral("/floor.csv"));
    int moves = 0;
    double seconds = 0;
    moves = progressMoves([&] { seconds = exportSeconds(window, exported); });
    std::printf("WS2300 ten years, %d rows x 9 columns\n", TestAccess::recordCount(window));
    std::printf("export         %6.2f s  floor %6.2f s  ratio %5.2f  (%d progress moves)\n",
                seconds, floor, seconds / floor, moves);

    moves = progressMoves([&] { seconds = importSeconds(window, exported); });
    std::printf("import same    %6.2f s  load  %6.2f s  ratio %5.2f  (%d progress moves)\n",
                seconds, load, seconds / load, moves);
    loadSeconds(window, DataFileType::WS2300, station);
    moves = progressMoves([&] { seconds = importSeconds(window, values); });
    std::printf("import values  %6.2f s  load  %6.2f s  ratio %5.2f  (%d progress moves, every "
                "value new, the dates kept)\n",
                seconds, load, seconds / load, moves);
    loadSeconds(window, DataFileType::WS2300, station);
    moves = progressMoves([&] { seconds = importSeconds(window, changed); });
    std::printf("import changed %6.2f s  load  %6.2f s  ratio %5.2f  (%d progress moves, every "
                "date and value new)\n",
                seconds, load, seconds / load, moves);
    measureCancel("export", [&] { exportSeconds(window, exported); });
}

// The chart should follow the import once, at its end, rather than at each of its progress
// steps: the import with the chart open should take little more than without it.
void benchImportWithChart(FenPrincipale& window, const QString& folder)
{
    const int rows = 200000;
    const QString station =
        writeStation(folder + QStringLiteral("/charted.DAT"), DataFileType::WS2300, 2004, 10, rows);
    const QString other = writeStation(folder + QStringLiteral("/charted-other.DAT"),
                                       DataFileType::WS2300, 2005, 10, rows);
    const QString changed = folder + QStringLiteral("/charted-other.csv");
    loadSeconds(window, DataFileType::WS2300, other);
    exportSeconds(window, changed);

    loadSeconds(window, DataFileType::WS2300, station);
    const double closed = importSeconds(window, changed);
    loadSeconds(window, DataFileType::WS2300, station);
    QTableView* view = TestAccess::view(window);
    view->setCurrentIndex(view->model()->index(0, 1));
    TestAccess::review(window)->showChart();
    QCoreApplication::processEvents();
    const double open = importSeconds(window, changed);
    QElapsedTimer follow;
    follow.start();
    QCoreApplication::processEvents();
    const double followed = secondsSince(follow);
    std::printf("import changed, WS2300 %d rows: chart closed %6.2f s, chart open on the "
                "imported column %6.2f s (+ %.2f s to redraw it after) ratio %5.2f\n",
                rows, closed, open, followed, (open + followed) / closed);
}

void benchPrinting(FenPrincipale& window, const QString& folder)
{
    const QString month = writeStation(folder + QStringLiteral("/WD_01_15.DAT"),
                                       DataFileType::WswinWD, 2015, 1, 31 * 24 * 60);
    loadSeconds(window, DataFileType::WswinWD, month);
    QTableView* view = TestAccess::view(window);
    for (int column = 20; column < TestAccess::model(window)->columnCount(); ++column)
        view->setColumnHidden(column, true);
    double seconds = 0;
    const int moves = progressMoves([&] {
        QElapsedTimer timer;
        timer.start();
        TestAccess::buildPrintDocument(window);
        seconds = secondsSince(timer);
    });
    std::printf("print document, wswin_WD month of minutes, %d rows x 20 shown columns: %.2f s "
                "(%d progress moves, %d paragraphs)\n",
                TestAccess::recordCount(window), seconds, moves,
                TestAccess::printTextEdit(window)->document()->blockCount());
    measureCancel("print build", [&] { TestAccess::buildPrintDocument(window); });
}

} // namespace

int main(int argc, char* argv[])
{
    TestSupport::initProcess();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    FenPrincipale window;
    benchWs2300(window, folder.path());
    benchImportWithChart(window, folder.path());
    benchPrinting(window, folder.path());
    TestAccess::clearTable(window);
    return 0;
}
