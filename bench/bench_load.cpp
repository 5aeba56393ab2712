// Times opening large station files through the real loading path, beside a floor that only
// decodes the same records into the same texts, and reports the memory the table takes.
#include "benchsupport.h"
#include "synthetic.h"
#include "testsupport.h"

#include "quality/findingsmodel.h"
#include "quality/qualitypanel.h"
#include "review/suspects.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>

#include <malloc.h>

#include <cstdio>
#include <functional>

using Format::DataFileType;

namespace
{

using BenchSupport::resetPeakMemory;
using BenchSupport::statusKilobytes;

double floorSeconds(DataFileType type, const QByteArray& file)
{
    const Format::RecordLayout& layout = Format::layout(type);
    const int count = (file.size() - layout.headerSize - layout.trailerSize) / layout.recordSize;
    QElapsedTimer timer;
    timer.start();
    qint64 characters = 0;
    for (int row = 0; row < count; ++row) {
        const char* record = file.constData() + layout.headerSize + qint64(row) * layout.recordSize;
        characters += FenPrincipale::timestampText(layout.timestamp, record).size();
        for (int column = 0; column < layout.columnCount; ++column)
            characters += FenPrincipale::fieldText(layout.fields[column], record).size();
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (characters == 0)
        std::printf("(no text decoded)\n");
    return seconds;
}

struct Case {
    const char* title;
    DataFileType type;
    int intervalMinutes;
    int records;
};

// Returns what the document took in memory, in kilobytes.
qint64 measure(FenPrincipale& window, const QString& folder, const Case& c)
{
    const QString path = folder + QStringLiteral("/bench.DAT");
    {
        const QByteArray bytes = Synthetic::stationFile(
            c.type, QDateTime(QDate(2014, 1, 1), QTime(0, 0)), c.intervalMinutes, c.records);
        TestSupport::writeFile(path, bytes);
    }
    const QByteArray file = [&path] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const double floor = floorSeconds(c.type, file);

    TestAccess::clearTable(window);
    malloc_trim(0);
    resetPeakMemory();
    const qint64 before = statusKilobytes("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    TestAccess::load(window, c.type, path);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const qint64 peak = statusKilobytes("VmHWM:");

    const qint64 cells =
        qint64(TestAccess::model(window)->rowCount()) * TestAccess::model(window)->columnCount();
    std::printf("%-28s %8d records %9lld cells  %6.2f s  floor %6.2f s  ratio %5.2f  "
                "%5.1f bytes/cell (peak %lld MiB, %lld MiB before)\n",
                c.title, TestAccess::recordCount(window), cells, seconds, floor, seconds / floor,
                (peak - before) * 1024.0 / cells, peak / 1024, before / 1024);
    QElapsedTimer finding;
    finding.start();
    const SuspectCells suspects(TestAccess::model(window), c.type, TestAccess::rowTime(window),
                                nullptr);
    std::printf("%-28s every quality rule on every column and date in %.3f s\n", "",
                finding.nsecsElapsed() / 1e9);
    return statusKilobytes("VmRSS:") - before;
}

// Whether a progress dialog shows while the decade opens, and how long "Annuler" takes to stop a
// reading whose dialog is made to show at once.
void measureCancel(FenPrincipale& window, const QString& folder)
{
    const QString path = folder + QStringLiteral("/bench.DAT");
    int shown = 0;
    {
        const auto count = TestSupport::whenModalShown([&](QWidget* modal) {
            shown += qobject_cast<QProgressDialog*>(modal) ? 1 : 0;
            return false;
        });
        TestAccess::load(window, DataFileType::WS2300, path);
    }
    TestAccess::clearTable(window);
    TestAccess::setReadProgressDelay(window, 0);
    QElapsedTimer sinceCancel;
    const auto cancel = TestSupport::whenModalShown([&](QWidget* modal) {
        auto* progress = qobject_cast<QProgressDialog*>(modal);
        if (!progress)
            return false;
        sinceCancel.start();
        progress->cancel();
        return true;
    });
    TestAccess::load(window, DataFileType::WS2300, path);
    TestAccess::setReadProgressDelay(window, 500);
    std::printf("opening the decade: %d progress dialogs shown; one shown at once, the reading "
                "stopped %.3f s after \"Annuler\" (%d rows left)\n",
                shown, sinceCancel.isValid() ? sinceCancel.nsecsElapsed() / 1e9 : -1.0,
                TestAccess::model(window)->rowCount());
}

double secondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

void selectRows(QTableView* view, const QItemSelection& rows)
{
    view->selectionModel()->select(rows,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// A correction of a block, chosen and confirmed in its dialog as a user would.
void correct(FenPrincipale& window, const char* kind, const QString& offset,
             const QString& lastOffset, const QString& value = QString())
{
    const auto answer = TestSupport::whenShown<QDialog>([=](QDialog* dialog) {
        dialog->findChild<QAbstractButton*>(QLatin1String(kind))->setChecked(true);
        if (!offset.isNull()) {
            dialog->findChild<QLineEdit*>(QStringLiteral("offsetEdit"))->setText(offset);
            dialog->findChild<QLineEdit*>(QStringLiteral("lastOffsetEdit"))->setText(lastOffset);
        }
        if (!value.isNull())
            dialog->findChild<QLineEdit*>(QStringLiteral("valueEdit"))->setText(value);
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QLatin1String("OK") && !button->isEnabled())
                std::printf(
                    "(the dialog refused: %s)\n",
                    qPrintable(dialog->findChild<QLabel*>(QStringLiteral("summary"))->text()));
            if (button->text() == QLatin1String("OK"))
                button->isEnabled() ? button->click() : dialog->reject();
        }
    });
    window.corriger_selection();
}

// Corrections and a paste of 100,000 cells of the decade, each taken back and done again.
void measureRepairs(FenPrincipale& window)
{
    QTableView* view = TestAccess::view(window);
    TableModel* model = TestAccess::model(window);
    const auto report = [](const char* what, double seconds) {
        std::printf("%-44s %8.3f s\n", what, seconds);
    };
    const auto selectBlock = [&](int top) {
        view->selectionModel()->setCurrentIndex(model->index(top, 0),
                                                QItemSelectionModel::NoUpdate);
        view->selectionModel()->select(
            QItemSelection(model->index(top, 0), model->index(top + 19999, 4)),
            QItemSelectionModel::ClearAndSelect);
    };
    const auto undoRedo = [&] {
        report("  undo it", secondsOf([&] { window.annuler_action(); }));
        report("  redo it", secondsOf([&] { window.retablir_action(); }));
    };
    const TestSupport::BoxLog boxes;
    selectBlock(1000);
    report("interpolate 100,000 cells (20,000 x 5)",
           secondsOf([&] { correct(window, "interpolate", QString(), QString()); }));
    undoRedo();
    selectBlock(1000);
    report("offset them with a drift of 0 to 3",
           secondsOf([&] { correct(window, "offset", QStringLiteral("0"), QStringLiteral("3")); }));
    undoRedo();
    selectBlock(100000);
    window.copier();
    selectBlock(200000);
    report("paste 100,000 copied cells", secondsOf([&] { window.coller(); }));
    undoRedo();
    if (!boxes.texts.isEmpty())
        std::printf("(a box said: %s)\n", qPrintable(boxes.texts.first()));
}

// The quality rules and their panel following the decade's changes: a typed value, and a dead
// sensor of 100,000 records written by a correction, which the panel lists.
void measureQuality(FenPrincipale& window)
{
    QTableView* view = TestAccess::view(window);
    TableModel* model = TestAccess::model(window);
    QualityPanel* panel = TestAccess::review(window)->qualityPanel();
    panel->show();
    const auto followed = [&](const std::function<void()>& change) {
        return secondsOf([&] {
            change();
            QCoreApplication::processEvents();
        });
    };
    const auto report = [&](const char* what, double seconds) {
        std::printf("%-44s %8.3f s  (%d findings listed)\n", what, seconds,
                    panel->findings()->findingCount());
    };
    report("the panel shown", followed([] {}));
    report("type a value, marks and panel following",
           followed([&] { model->setData(model->index(300000, 1), "35.5", Qt::EditRole); }));
    view->selectionModel()->select(QItemSelection(model->index(1000, 1), model->index(100999, 1)),
                                   QItemSelectionModel::ClearAndSelect);
    const TestSupport::BoxLog boxes;
    report("replace 100,000 cells by one value", followed([&] {
               correct(window, "replace", QString(), QString(), QStringLiteral("12.3"));
           }));
    panel->findChild<QTreeView*>()->expandAll();
    report("refresh the panel, their group open", followed([&] { panel->findings()->refresh(); }));
    report("type a value inside that run",
           followed([&] { model->setData(model->index(50000, 1), "12.4", Qt::EditRole); }));
    window.annuler_action();
    report("undo both", followed([&] { window.annuler_action(); }));
    window.annuler_action();
    panel->hide();
}

// The row operations on the decade the load left in the window, in the order a user could do
// them.
void measureRows(FenPrincipale& window, qint64 documentKilobytes)
{
    QTableView* view = TestAccess::view(window);
    TableModel* model = TestAccess::model(window);
    const int lastColumn = model->columnCount() - 1;
    const auto report = [&](const char* what, double seconds) {
        std::printf("%-44s %8.3f s  (%d rows left)\n", what, seconds, model->rowCount());
    };

    view->setCurrentIndex(QModelIndex());
    report("add a row at the top", secondsOf([&] { window.addRow(); }));
    report("open its date dialog, on a suggested date", secondsOf([&] { window.fenModifDate(0); }));
    TestAccess::currentDialog(window)->findChild<QPushButton*>()->click();
    {
        // Every row is dated now; the question about the added row's "--" values is answered no.
        const TestSupport::BoxLog boxes({QStringLiteral("Non")});
        report("check before saving, save declined", secondsOf([&] { window.enregistrer(); }));
    }

    selectRows(view, QItemSelection(model->index(1000, 0), model->index(100999, lastColumn)));
    report("remove 100,000 rows selected with Shift", secondsOf([&] { window.removeRow(); }));

    QItemSelection picked;
    for (int row = 0; row < 1000; ++row)
        picked.select(model->index(row * 400 + 7, 0), model->index(row * 400 + 7, lastColumn));
    selectRows(view, picked);
    report("remove 1,000 rows picked with Ctrl", secondsOf([&] { window.removeRow(); }));
    report("undo it", secondsOf([&] { window.annuler_action(); }));
    report("redo it", secondsOf([&] { window.retablir_action(); }));

    BenchSupport::askForLastDate(window);
    report("search the last row's date", secondsOf([&] { window.rechercher_date(); }));
    if (view->currentIndex().row() != model->rowCount() - 1)
        std::printf("(the search did not land on the last row)\n");

    // The history keeps what the removal took: it should cost no more than the document did.
    malloc_trim(0);
    const qint64 before = statusKilobytes("VmRSS:");
    view->selectAll();
    report("remove every row (Ctrl+A)", secondsOf([&] { window.removeRow(); }));
    malloc_trim(0);
    std::printf("%-44s %8lld MiB, the document %lld MiB\n", "the history keeps for it",
                (statusKilobytes("VmRSS:") - (before - documentKilobytes)) / 1024,
                documentKilobytes / 1024);
    report("undo it", secondsOf([&] { window.annuler_action(); }));
}

} // namespace

int main(int argc, char* argv[])
{
    TestSupport::initProcess();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    FenPrincipale window;

    const Case cases[] = {
        {"wswin_WD month, 1 min", DataFileType::WswinWD, 1, 31 * 24 * 60},
        {"WS2300 ten years, 10 min", DataFileType::WS2300, 10, 3650 * 24 * 6},
    };
    qint64 documentKilobytes = 0;
    for (const Case& c : cases)
        documentKilobytes = measure(window, folder.path(), c);
    measureQuality(window);
    measureRepairs(window);
    measureRows(window, documentKilobytes);
    measureCancel(window, folder.path());
    TestAccess::clearTable(window);
    return 0;
}
