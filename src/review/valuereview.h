#ifndef STRATOMARK_VALUEREVIEW_H
#define STRATOMARK_VALUEREVIEW_H

#include "data/formats.h"
#include "review/suspects.h"

#include <QObject>
#include <QPointer>

class CellDelegate;
class ChartWindow;
class QAction;
class QLabel;
class QMainWindow;
class QTableView;
class TableModel;

// The tools that find rogue values: suspect cells drawn in the table and counted in the status
// bar, "Valeur suspecte suivante" to walk through them, and "Graphique..." the chart of a column.
// The window hands over each table it builds and says when it clears it; nothing here changes a
// value.
class ValueReview : public QObject
{
    Q_OBJECT

public:
    explicit ValueReview(QMainWindow* window);

    QList<QAction*> actions() const;
    void setView(QTableView* view);
    void attach(const TableModel* model, Format::DataFileType type);
    void detach();
    const SuspectCells* suspectCells() const { return suspects; }

    ChartWindow* chart() const;

public slots:
    void nextSuspect();
    void showChart();
    // After columns were hidden or shown: the count is of the shown columns.
    void showSuspectCount();

private:
    QVector<bool> shownColumns() const;
    void showCell(int row, int column);

    QMainWindow* window;
    QTableView* view = nullptr;
    CellDelegate* delegate = nullptr;
    QLabel* countLabel = nullptr;
    QAction* nextSuspectAction = nullptr;
    QAction* chartAction = nullptr;
    const Format::RecordLayout* layout = nullptr;
    QPointer<SuspectCells> suspects;
    QPointer<const TableModel> model;
    QPointer<ChartWindow> chartWindow;
};

#endif
