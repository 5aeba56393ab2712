#ifndef STRATOMARK_CORRECTIONDIALOG_H
#define STRATOMARK_CORRECTIONDIALOG_H

#include "repair/correction.h"

#include <QDialog>

class QButtonGroup;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Corriger la sélection": the user picks a correction of the block and types its values; the
// first rows of the block show each cell before and after, as the choice and the values change.
// OK is offered only for a correction that can be done, whose result() the caller writes.
class CorrectionDialog : public QDialog
{
    Q_OBJECT

public:
    CorrectionDialog(const Correction::Block& block, QWidget* parent);

    Correction::Kind kind() const;
    const Correction::Result& result() const { return current; }

private:
    static constexpr int previewRows = 5;

    QLineEdit* addValueEdit(const QString& name);
    void addKinds(QGridLayout* grid);
    QWidget* createPreview();
    QWidget* createButtons();
    void showCorrection();
    void showPreview();
    void fitSummary();
    QString summaryText() const;

    const Correction::Block block;
    Correction::Result current;
    QButtonGroup* kinds = nullptr;
    QLineEdit* offsetEdit = nullptr;
    QLineEdit* lastOffsetEdit = nullptr;
    QLineEdit* valueEdit = nullptr;
    QLabel* summary = nullptr;
    QTableWidget* preview = nullptr;
    QPushButton* okButton = nullptr;
};

#endif
