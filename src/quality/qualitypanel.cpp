#include "quality/qualitypanel.h"

#include "quality/findingsmodel.h"

#include <QLabel>
#include <QSet>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

QualityPanel::QualityPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Contrôle qualité"), parent), model(new FindingsModel(this))
{
    setObjectName(QStringLiteral("qualityPanel"));
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    summary = new QLabel(content);
    tree = new QTreeView(content);
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);
    tree->setModel(model);
    layout->addWidget(summary);
    layout->addWidget(tree);
    setWidget(content);

    // Many changes in one pass of the event loop, such as a row removal in runs, make one refresh.
    refreshTimer = new QTimer(this);
    refreshTimer->setSingleShot(true);
    refreshTimer->setInterval(0);
    connect(refreshTimer, &QTimer::timeout, this, &QualityPanel::refresh);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && stale)
            refresh();
    });
    connect(tree, &QTreeView::clicked, this, &QualityPanel::choose);
    connect(tree, &QTreeView::activated, this, &QualityPanel::choose);
    refresh();
}

void QualityPanel::setSource(const SuspectCells* suspectCells, const TableModel* table)
{
    if (cells)
        disconnect(cells, nullptr, this, nullptr);
    cells = suspectCells;
    if (cells)
        connect(cells, &SuspectCells::changed, this, &QualityPanel::scheduleRefresh);
    model->setSource(suspectCells, table);
    refresh();
}

void QualityPanel::scheduleRefresh()
{
    stale = true;
    if (isVisible())
        refreshTimer->start();
}

// Rebuilds the groups, those that were open staying open.
void QualityPanel::refresh()
{
    QSet<QPair<int, int>> open;
    for (int group = 0; group < model->rowCount(QModelIndex()); ++group) {
        if (tree->isExpanded(model->index(group, 0, QModelIndex())))
            open.insert(model->groupKey(group));
    }
    model->refresh();
    for (int group = 0; group < model->rowCount(QModelIndex()); ++group) {
        if (open.contains(model->groupKey(group)))
            tree->expand(model->index(group, 0, QModelIndex()));
    }
    // The walk passes over the no-data values, so they are counted apart.
    const int noData = model->noDataCount();
    const int count = model->findingCount() - noData;
    QString text = count == 0   ? QStringLiteral("Aucune anomalie")
                   : count == 1 ? QStringLiteral("1 anomalie")
                                : QStringLiteral("%1 anomalies").arg(count);
    if (noData > 0)
        text += noData == 1 ? QStringLiteral(", 1 valeur absente de la station")
                            : QStringLiteral(", %1 valeurs absentes de la station").arg(noData);
    summary->setText(cells ? text : QStringLiteral("Aucun fichier ouvert"));
    stale = false;
}

void QualityPanel::choose(const QModelIndex& index)
{
    const SuspectCells::Place place = model->place(index);
    if (place.isValid())
        emit placeChosen(place.row, place.column);
}
