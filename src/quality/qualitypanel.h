#ifndef STRATOMARK_QUALITYPANEL_H
#define STRATOMARK_QUALITYPANEL_H

#include "review/suspects.h"

#include <QDockWidget>
#include <QPointer>

class FindingsModel;
class QLabel;
class QTimer;
class QTreeView;
class TableModel;

// "Contrôle qualité": the findings of the open table, grouped by rule and column. It follows
// every change of the findings while it is shown, and catches up when it is shown again; a click
// on a finding asks for its place.
class QualityPanel : public QDockWidget
{
    Q_OBJECT

public:
    explicit QualityPanel(QWidget* parent);

    void setSource(const SuspectCells* cells, const TableModel* table);
    FindingsModel* findings() const { return model; }

signals:
    void placeChosen(int row, int column);

private:
    void scheduleRefresh();
    void refresh();
    void choose(const QModelIndex& index);

    FindingsModel* model = nullptr;
    QTreeView* tree = nullptr;
    QLabel* summary = nullptr;
    QTimer* refreshTimer = nullptr;
    QPointer<const SuspectCells> cells;
    bool stale = false;
};

#endif
