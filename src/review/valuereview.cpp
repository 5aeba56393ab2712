#include "review/valuereview.h"

#include "review/celldelegate.h"
#include "review/chartwindow.h"
#include "review/suspects.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableView>

ValueReview::ValueReview(QMainWindow* mainWindow) : QObject(mainWindow), window(mainWindow)
{
    chartAction = new QAction(QStringLiteral("Graphique..."), this);
    chartAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+G")));
    chartAction->setEnabled(false);
    connect(chartAction, &QAction::triggered, this, &ValueReview::showChart);
    nextSuspectAction = new QAction(QStringLiteral("Valeur suspecte suivante"), this);
    nextSuspectAction->setShortcut(QKeySequence(Qt::Key_F3));
    nextSuspectAction->setEnabled(false);
    connect(nextSuspectAction, &QAction::triggered, this, &ValueReview::nextSuspect);
}

ChartWindow* ValueReview::chart() const
{
    return chartWindow;
}

QList<QAction*> ValueReview::actions() const
{
    return {chartAction, nextSuspectAction};
}

void ValueReview::setView(QTableView* tableView)
{
    view = tableView;
    delegate = new CellDelegate(this);
    view->setItemDelegate(delegate);
    countLabel = new QLabel;
    window->statusBar()->addPermanentWidget(countLabel);
}

void ValueReview::attach(const TableModel* tableModel, Format::DataFileType type)
{
    detach();
    model = tableModel;
    layout = &Format::layout(type);
    suspects = new SuspectCells(model, type, this);
    delegate->setSuspects(suspects);
    connect(suspects, &SuspectCells::changed, this, &ValueReview::showSuspectCount);
    connect(suspects, &SuspectCells::changed, view->viewport(), qOverload<>(&QWidget::update));
    nextSuspectAction->setEnabled(true);
    chartAction->setEnabled(true);
    showSuspectCount();
}

void ValueReview::detach()
{
    delete chartWindow;
    delete suspects;
    nextSuspectAction->setEnabled(false);
    chartAction->setEnabled(false);
    countLabel->clear();
}

QVector<bool> ValueReview::shownColumns() const
{
    QVector<bool> shown(view->model()->columnCount());
    for (int column = 0; column < shown.size(); ++column)
        shown[column] = !view->isColumnHidden(column);
    return shown;
}

// Makes the next suspect cell of the shown columns current, after the current one and round to
// the top; the user decides what to do with it.
void ValueReview::nextSuspect()
{
    if (!suspects)
        return;
    const QModelIndex current = view->currentIndex();
    const QModelIndex next =
        suspects->nextSuspect(current.isValid() ? current.row() : -1,
                              current.isValid() ? current.column() : -1, shownColumns());
    if (!next.isValid()) {
        window->statusBar()->showMessage(
            QStringLiteral("Aucune valeur suspecte dans les colonnes affichées"), 3000);
        return;
    }
    showCell(next.row(), next.column());
}

// The chart of the current cell's column, or of the first shown column when no shown cell is
// current; a click on one of its points brings the table to that record's cell.
void ValueReview::showChart()
{
    if (!suspects)
        return;
    const QVector<bool> shown = shownColumns();
    int column = view->currentIndex().isValid() ? view->currentIndex().column() : -1;
    if (!shown.value(column))
        column = shown.indexOf(true);
    if (column < 0)
        return;
    delete chartWindow;
    const QPointer<SuspectCells> cells = suspects;
    chartWindow = new ChartWindow(
        model, column, qMax(0, Format::ruleDecimals(layout->fields[column].rule)),
        [cells, column](int row) { return cells ? cells->state(row, column) : CellState::Reading; },
        window);
    chartWindow->setAttribute(Qt::WA_DeleteOnClose);
    connect(chartWindow, &ChartWindow::recordClicked, this,
            [this, column](int row) { showCell(row, column); });
    connect(suspects, &SuspectCells::changed, chartWindow, &ChartWindow::scheduleRefresh);
    chartWindow->show();
}

void ValueReview::showCell(int row, int column)
{
    const QModelIndex cell = view->model()->index(row, column);
    view->setCurrentIndex(cell);
    view->scrollTo(cell);
}

void ValueReview::showSuspectCount()
{
    if (!suspects)
        return;
    const QVector<bool> shown = shownColumns();
    int count = 0;
    for (int column = 0; column < shown.size(); ++column)
        count += shown.at(column) ? suspects->suspectCount(column) : 0;
    countLabel->setText(count == 0   ? QStringLiteral("Aucune valeur suspecte")
                        : count == 1 ? QStringLiteral("1 valeur suspecte")
                                     : QStringLiteral("%1 valeurs suspectes").arg(count));
}
