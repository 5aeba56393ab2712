#include "repair/correctiondialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

using Kind = Correction::Kind;

struct KindChoice {
    Kind kind;
    const char* objectName;
    const char* text;
};

const KindChoice kindChoices[] = {
    {Kind::Interpolate, "interpolate", "Interpoler"},
    {Kind::Offset, "offset", "Décaler de"},
    {Kind::Replace, "replace", "Remplacer par"},
    {Kind::NoData, "noData", "Valeur absente"},
    {Kind::Zero, "zero", "Mettre à zéro"},
};

// The grid rows of the choices, the offset taking two: its own and its last row's.
int gridRow(Kind kind)
{
    return int(kind) + (kind > Kind::Offset ? 1 : 0);
}

QString cellsText(int cells, const QString& one, const QString& many)
{
    return cells == 1 ? one : many.arg(cells);
}

} // namespace

CorrectionDialog::CorrectionDialog(const Correction::Block& block, QWidget* parent)
    : QDialog(parent), block(block)
{
    setWindowTitle(QStringLiteral("Corriger la sélection"));
    auto* choices = new QGroupBox(QStringLiteral("Correction"));
    auto* grid = new QGridLayout(choices);
    addKinds(grid);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(choices);
    layout->addWidget(createPreview());
    layout->addWidget(createButtons());
    showCorrection();
}

Correction::Kind CorrectionDialog::kind() const
{
    return Kind(kinds->checkedId());
}

QLineEdit* CorrectionDialog::addValueEdit(const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    // Room for a value such as "-1234,567" and for the placeholder.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 12);
    connect(edit, &QLineEdit::textChanged, this, &CorrectionDialog::showCorrection);
    return edit;
}

// The choices that the block's columns offer, a radio button each, with the values they take
// beside them. A block with rain of each record starts on zeroing, which is what its rogue
// values need, the others on interpolation.
void CorrectionDialog::addKinds(QGridLayout* grid)
{
    kinds = new QButtonGroup(this);
    const QVector<Kind> offered = Correction::offeredKinds(block);
    const Kind first = offered.contains(Kind::Zero) ? Kind::Zero : Kind::Interpolate;
    for (const KindChoice& choice : kindChoices) {
        if (!offered.contains(choice.kind))
            continue;
        auto* button = new QRadioButton(QString::fromUtf8(choice.text));
        button->setObjectName(QLatin1String(choice.objectName));
        kinds->addButton(button, int(choice.kind));
        button->setChecked(choice.kind == first);
        grid->addWidget(button, gridRow(choice.kind), 0);
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                showCorrection();
        });
    }
    offsetEdit = addValueEdit(QStringLiteral("offsetEdit"));
    lastOffsetEdit = addValueEdit(QStringLiteral("lastOffsetEdit"));
    lastOffsetEdit->setPlaceholderText(QStringLiteral("facultatif"));
    valueEdit = addValueEdit(QStringLiteral("valueEdit"));
    auto* lastRowLabel = new QLabel(QStringLiteral("à la dernière ligne :"));
    lastRowLabel->setIndent(20);
    lastRowLabel->setBuddy(lastOffsetEdit);
    auto* driftLabel =
        new QLabel(QStringLiteral("pour une dérive : le décalage suit les dates des lignes"));
    driftLabel->setEnabled(false);
    grid->addWidget(offsetEdit, gridRow(Kind::Offset), 1);
    grid->addWidget(lastRowLabel, gridRow(Kind::Offset) + 1, 0);
    grid->addWidget(lastOffsetEdit, gridRow(Kind::Offset) + 1, 1);
    grid->addWidget(driftLabel, gridRow(Kind::Offset) + 1, 2);
    grid->addWidget(valueEdit, gridRow(Kind::Replace), 1);
    grid->setColumnStretch(2, 1);
}

// The first rows of the block, a column each of its columns, whose cells the correction fills in
// as it changes.
QWidget* CorrectionDialog::createPreview()
{
    auto* box = new QGroupBox(QStringLiteral("Aperçu"));
    summary = new QLabel;
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    const int rows = qMin(previewRows, block.rowCount());
    preview = new QTableWidget(rows, block.columnCount());
    preview->setObjectName(QStringLiteral("preview"));
    preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview->setSelectionMode(QAbstractItemView::NoSelection);
    preview->setFocusPolicy(Qt::NoFocus);
    preview->setVerticalHeaderLabels(block.labels.mid(0, rows));
    QStringList headers;
    for (const Format::Field& field : block.fields)
        headers << QString::fromUtf8(field.header);
    preview->setHorizontalHeaderLabels(headers);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < block.columnCount(); ++column)
            preview->setItem(row, column, new QTableWidgetItem);
    }
    preview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The rows all show, with room left for the scroll bar of many columns.
    preview->setFixedHeight(preview->horizontalHeader()->sizeHint().height() +
                            rows * preview->verticalHeader()->defaultSectionSize() +
                            preview->horizontalScrollBar()->sizeHint().height() +
                            2 * preview->frameWidth());
    preview->setMinimumWidth(480);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(summary);
    layout->addWidget(preview);
    return box;
}

QWidget* CorrectionDialog::createButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    okButton = buttons->button(QDialogButtonBox::Ok);
    okButton->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

// Works the chosen correction out again; only one that changes some cell can be confirmed.
void CorrectionDialog::showCorrection()
{
    const Kind chosen = kind();
    offsetEdit->setEnabled(chosen == Kind::Offset);
    lastOffsetEdit->setEnabled(chosen == Kind::Offset);
    valueEdit->setEnabled(chosen == Kind::Replace);
    current = Correction::compute(chosen, block,
                                  chosen == Kind::Replace ? valueEdit->text() : offsetEdit->text(),
                                  lastOffsetEdit->text());
    okButton->setEnabled(current.reason.isNull() && current.changed > 0);
    summary->setText(summaryText());
    showPreview();
    fitSummary();
}

// A reason may take more lines than the text it replaces, and the dialog, once shown, keeps its
// size: it grows to show them all.
void CorrectionDialog::fitSummary()
{
    if (!isVisible())
        return;
    summary->parentWidget()->updateGeometry();
    const int needed = layout()->totalHeightForWidth(width());
    if (needed > height())
        resize(width(), needed);
}

void CorrectionDialog::showPreview()
{
    const int columns = block.columnCount();
    for (int row = 0; row < preview->rowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            const QString& before = block.text(row, column);
            const QString after = current.texts.value(row * columns + column);
            const QString text = !after.isNull() ? before + QStringLiteral(" → ") + after
                                 : current.reason.isNull() ? before + QStringLiteral(" (inchangée)")
                                                           : before;
            preview->item(row, column)->setText(text);
        }
    }
    preview->resizeColumnsToContents();
}

QString CorrectionDialog::summaryText() const
{
    if (!current.reason.isNull())
        return current.reason;
    const int selected = block.texts.size();
    if (current.changed == 0)
        return cellsText(
            selected, QStringLiteral("Cette correction ne change pas la cellule sélectionnée."),
            QStringLiteral("Cette correction ne change aucune des %1 cellules sélectionnées."));
    return cellsText(current.changed, QStringLiteral("1 cellule corrigée"),
                     QStringLiteral("%1 cellules corrigées")) +
           cellsText(selected, QStringLiteral(" sur 1 sélectionnée"),
                     QStringLiteral(" sur %1 sélectionnées"));
}
