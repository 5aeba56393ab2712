// Bytes as text the user gives a cell of the small document: the first byte picks its type, the
// second how the text comes (typed into a cell, pasted, or as the value of a correction), the
// next two the cells, the others are the text. What the editing gate accepts is stored exactly,
// in its cells alone; what it refuses changes nothing.
#include "fuzzsupport.h"

#include <QClipboard>

#include <algorithm>

namespace
{

using Fuzz::Session;

enum class Way { Typed, Pasted, Correction, Count };

// The cells a way of giving the text works on: a block from (top, left).
struct Block {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool holds(int row, int column) const
    {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
};

Block pickBlock(Fuzz::Input& input, const TableModel& model)
{
    const int columnByte = input.byte();
    const int rowByte = input.byte();
    Block block;
    block.left = columnByte % model.columnCount();
    block.top = (rowByte & 7) % model.rowCount();
    block.right = qMin(model.columnCount() - 1, block.left + (columnByte >> 6));
    block.bottom = qMin(model.rowCount() - 1, block.top + (rowByte >> 5));
    return block;
}

void select(Session& session, const Block& block)
{
    const TableModel* model = session.model();
    QItemSelectionModel* selection = TestAccess::view(session.window())->selectionModel();
    selection->setCurrentIndex(model->index(block.top, block.left), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(model->index(block.top, block.left),
                                     model->index(block.bottom, block.right)),
                      QItemSelectionModel::ClearAndSelect);
}

// A typed text that the gate lets through is what the cell shows, as a number; one it refuses
// gets its box, and an emptied cell its text back.
void typeInto(Session& session, const Block& block, const QString& text)
{
    TableModel* model = session.model();
    const QString shown = model->cellText(block.top, block.left);
    model->setData(model->index(block.top, block.left), text, Qt::EditRole);
    const QString now = model->cellText(block.top, block.left);
    if (!session.boxes().isEmpty() || text.isEmpty()) {
        FUZZ_CHECK(session.boxes() == (text.isEmpty()
                                           ? QStringList()
                                           : QStringList{QStringLiteral("Erreur de saisie")}) &&
                       now == shown,
                   session.boxes().join(QLatin1Char('\n')) + QStringLiteral("; shows ") + now);
        return;
    }
    bool typedIsNumber = false, shownIsNumber = false;
    const double typed =
        QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&typedIsNumber);
    FUZZ_CHECK(typedIsNumber && now.toDouble(&shownIsNumber) == typed && shownIsNumber,
               text + QStringLiteral(" shows ") + now);
}

// The correction is the one the byte picks of those offered, with the text's first line as its
// value and its second as the offset at the last row; the dialog that comes back after a refusal
// is cancelled.
void answerCorrection(QDialog* dialog, int kindByte, const QString& text)
{
    if (dialog->property("answered").toBool()) {
        dialog->reject();
        return;
    }
    dialog->setProperty("answered", true);
    QList<QRadioButton*> kinds;
    for (QRadioButton* kind : dialog->findChildren<QRadioButton*>()) {
        if (!kind->isHidden())
            kinds.append(kind);
    }
    if (!kinds.isEmpty())
        kinds.at(kindByte % kinds.size())->click();
    for (const char* name : {"offsetEdit", "valueEdit"})
        dialog->findChild<QLineEdit*>(QLatin1String(name))
            ->setText(text.section(QLatin1Char('\n'), 0, 0));
    dialog->findChild<QLineEdit*>(QStringLiteral("lastOffsetEdit"))
        ->setText(text.section(QLatin1Char('\n'), 1, 1));
    QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    ok->isEnabled() ? ok->click() : dialog->reject();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const auto type = input.type();
    const int wayByte = input.byte();
    const auto way = Way(wayByte % int(Way::Count));
    Session& session = Session::get();
    session.openDocument(type);
    const Block block = pickBlock(input, *session.model());
    const QString text = input.restAsText();
    const Fuzz::Snapshot before = Fuzz::snapshot(session);
    session.answerBoxes();
    switch (way) {
    case Way::Typed:
        typeInto(session, block, text);
        break;
    case Way::Pasted:
        select(session, block);
        QGuiApplication::clipboard()->setText(text);
        session.window().coller();
        break;
    case Way::Correction:
        select(session, block);
        session.answerDialog = [&](QDialog* dialog) {
            answerCorrection(dialog, wayByte / int(Way::Count), text);
        };
        session.window().corriger_selection();
        session.answerDialog = nullptr;
        break;
    case Way::Count:
        break;
    }
    // A pasted block starts at the current cell and may reach beyond the selection; a single
    // value goes into every selected cell.
    const bool singleValue = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    });
    Fuzz::verifyEdit(session, before, [&](int row, int column) {
        if (way != Way::Pasted)
            return block.holds(row, column);
        if (!singleValue)
            return row >= block.top && column >= block.left;
        return block.holds(row, column) &&
               session.model()->cellText(row, column).toDouble() ==
                   QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    });
    return 0;
}
