#include "review/valuereview.h"

#include "review/celldelegate.h"
#include "review/suspects.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableView>

ValueReview::ValueReview(QMainWindow* mainWindow) : QObject(mainWindow), window(mainWindow)
{
    nextSuspectAction = new QAction(QStringLiteral("Valeur suspecte suivante"), this);
    nextSuspectAction->setShortcut(QKeySequence(Qt::Key_F3));
    nextSuspectAction->setEnabled(false);
    connect(nextSuspectAction, &QAction::triggered, this, &ValueReview::nextSuspect);
}

QList<QAction*> ValueReview::actions() const
{
    return {nextSuspectAction};
}

void ValueReview::setView(QTableView* tableView)
{
    view = tableView;
    delegate = new CellDelegate(this);
    view->setItemDelegate(delegate);
    countLabel = new QLabel;
    window->statusBar()->addPermanentWidget(countLabel);
}

void ValueReview::attach(const TableModel* model, Format::DataFileType type)
{
    detach();
    suspects = new SuspectCells(model, type, this);
    delegate->setSuspects(suspects);
    connect(suspects, &SuspectCells::changed, this, &ValueReview::showSuspectCount);
    connect(suspects, &SuspectCells::changed, view->viewport(), qOverload<>(&QWidget::update));
    nextSuspectAction->setEnabled(true);
    showSuspectCount();
}

void ValueReview::detach()
{
    delete suspects;
    nextSuspectAction->setEnabled(false);
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
    view->setCurrentIndex(next);
    view->scrollTo(next);
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
