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
class QualityPanel;
class TableModel;

// The tools that find rogue values: the findings of the quality rules drawn in the table (cells
// and row labels, with their reasons as tooltips), counted in the status bar and listed in the
// "Contrôle qualité" panel, "Valeur suspecte suivante" and "précédente" to walk through them, and
// "Graphique..." the chart of a column. The window hands over each table it builds and says when
// it clears it; nothing here changes a value.
class ValueReview : public QObject
{
    Q_OBJECT

public:
    explicit ValueReview(QMainWindow* window);

    QList<QAction*> actions() const;
    void setView(QTableView* view);
    void attach(TableModel* model, Format::DataFileType type, SuspectCells::RowTime rowTime);
    void detach();
    const SuspectCells* suspectCells() const { return suspects; }
    QualityPanel* qualityPanel() const { return panel; }

    ChartWindow* chart() const;

public slots:
    void nextSuspect();
    void previousSuspect();
    void showChart();
    // After columns were hidden or shown: the count is of the shown columns.
    void showSuspectCount();

private:
    QVector<bool> shownColumns() const;
    void walk(bool forward);
    void showPlace(int row, int column);
    void showCell(int row, int column);
    QVariant labelMark(int row, int role) const;

    QMainWindow* window;
    QTableView* view = nullptr;
    CellDelegate* delegate = nullptr;
    QLabel* countLabel = nullptr;
    QAction* nextSuspectAction = nullptr;
    QAction* previousSuspectAction = nullptr;
    QualityPanel* panel = nullptr;
    // The row whose date finding the walk went to last, at the cell it made current there.
    SuspectCells::Place walkedDate;
    QAction* chartAction = nullptr;
    const Format::RecordLayout* layout = nullptr;
    QPointer<SuspectCells> suspects;
    QPointer<TableModel> model;
    QPointer<ChartWindow> chartWindow;
};

#endif
