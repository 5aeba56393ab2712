#include "review/valuereview.h"

#include "quality/qualitypanel.h"
#include "review/celldelegate.h"
#include "review/chartwindow.h"
#include "review/suspects.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QHeaderView>
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
    previousSuspectAction = new QAction(QStringLiteral("Valeur suspecte précédente"), this);
    previousSuspectAction->setShortcut(QKeySequence(Qt::SHIFT + Qt::Key_F3));
    previousSuspectAction->setEnabled(false);
    connect(previousSuspectAction, &QAction::triggered, this, &ValueReview::previousSuspect);

    panel = new QualityPanel(window);
    window->addDockWidget(Qt::RightDockWidgetArea, panel);
    panel->hide();
    panel->toggleViewAction()->setShortcut(QKeySequence(QStringLiteral("Ctrl+K")));
    connect(panel, &QualityPanel::placeChosen, this, &ValueReview::showPlace);
}

ChartWindow* ValueReview::chart() const
{
    return chartWindow;
}

QList<QAction*> ValueReview::actions() const
{
    return {chartAction, nextSuspectAction, previousSuspectAction, panel->toggleViewAction()};
}

void ValueReview::setView(QTableView* tableView)
{
    view = tableView;
    delegate = new CellDelegate(this);
    view->setItemDelegate(delegate);
    countLabel = new QLabel;
    window->statusBar()->addPermanentWidget(countLabel);
}

void ValueReview::attach(TableModel* tableModel, Format::DataFileType type,
                         SuspectCells::RowTime rowTime)
{
    detach();
    model = tableModel;
    layout = &Format::layout(type);
    suspects = new SuspectCells(model, type, std::move(rowTime), this);
    delegate->setSuspects(suspects);
    model->setLabelMarks([this](int row, int role) { return labelMark(row, role); });
    panel->setSource(suspects, model);
    connect(suspects, &SuspectCells::changed, this, &ValueReview::showSuspectCount);
    connect(suspects, &SuspectCells::changed, view->viewport(), qOverload<>(&QWidget::update));
    connect(suspects, &SuspectCells::changed, view->verticalHeader()->viewport(),
            qOverload<>(&QWidget::update));
    nextSuspectAction->setEnabled(true);
    previousSuspectAction->setEnabled(true);
    chartAction->setEnabled(true);
    showSuspectCount();
}

void ValueReview::detach()
{
    delete chartWindow;
    if (model)
        model->setLabelMarks({});
    panel->setSource(nullptr, nullptr);
    delete suspects;
    walkedDate = {};
    nextSuspectAction->setEnabled(false);
    previousSuspectAction->setEnabled(false);
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

void ValueReview::nextSuspect()
{
    walk(true);
}

void ValueReview::previousSuspect()
{
    walk(false);
}

// Makes the next finding (or the previous one) of the shown columns current, from the current
// cell and round at the end, which the status bar says; the user decides what to do with it.
void ValueReview::walk(bool forward)
{
    if (!suspects)
        return;
    const QModelIndex current = view->currentIndex();
    SuspectCells::Place from{-1, SuspectCells::Place::dateColumn};
    if (current.isValid())
        from = {current.row(), current.column()};
    else if (!forward)
        from = {model->rowCount(), model->columnCount()};
    if (current.isValid() && current.row() == walkedDate.row &&
        current.column() == walkedDate.column)
        from.column = SuspectCells::Place::dateColumn;
    bool wrapped = false;
    const SuspectCells::Place next = suspects->nextFinding(from, shownColumns(), forward, &wrapped);
    if (!next.isValid()) {
        window->statusBar()->showMessage(
            QStringLiteral("Aucune valeur suspecte dans les colonnes affichées"), 3000);
        return;
    }
    showPlace(next.row, next.column);
    if (wrapped)
        window->statusBar()->showMessage(
            forward ? QStringLiteral("Fin du tableau : retour à la première anomalie")
                    : QStringLiteral("Début du tableau : retour à la dernière anomalie"),
            5000);
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
    chartWindow->setGapBefore([cells](int row) { return cells && cells->hasGapBefore(row); });
    chartWindow->show();
}

// A cell, or a row for a date finding: the row is selected, its first shown cell current.
void ValueReview::showPlace(int row, int column)
{
    walkedDate = {};
    if (column != SuspectCells::Place::dateColumn) {
        showCell(row, column);
        return;
    }
    const int shown = qMax(0, shownColumns().indexOf(true));
    showCell(row, shown);
    view->selectRow(row);
    walkedDate = {row, view->currentIndex().column()};
}

// The row label of a date finding: orange, its reason as a tooltip.
QVariant ValueReview::labelMark(int row, int role) const
{
    if (!suspects || (role != Qt::BackgroundRole && role != Qt::ToolTipRole) ||
        !suspects->hasDateFinding(row))
        return QVariant();
    if (role == Qt::BackgroundRole)
        return QBrush(CellDelegate::background(CellState::Suspect));
    return suspects->reason(row, SuspectCells::Place::dateColumn);
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
