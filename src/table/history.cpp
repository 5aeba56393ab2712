#include "app/fenprincipale.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>

// The history keeps the last operations, each of which takes back and does again all it did; the
// actions name the operation they would act on, and the document is modified exactly while it
// stands elsewhere than where it was last loaded or saved.
void FenPrincipale::createHistory()
{
    // The actions are the connections' contexts: the window's children go one by one, and the
    // stack, cleared as it goes, would otherwise still write into actions already gone.
    undoStack = new QUndoStack(this);
    undoStack->setUndoLimit(historySize);
    connect(undoStack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(undoStack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(undoStack, &QUndoStack::undoTextChanged, undoAction, [this](const QString& text) {
        undoAction->setStatusTip(text.isEmpty() ? QString() : QStringLiteral("Annuler : ") + text);
    });
    connect(undoStack, &QUndoStack::redoTextChanged, redoAction, [this](const QString& text) {
        redoAction->setStatusTip(text.isEmpty() ? QString() : QStringLiteral("Rétablir : ") + text);
    });
    connect(undoStack, &QUndoStack::cleanChanged, saveAction,
            [this](bool clean) { saveAction->setEnabled(!clean && hasDocument()); });
}

void FenPrincipale::clearEditHistory()
{
    undoStack->clear();
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
}

// An undo or redo that found no memory for the records it puts back has changed nothing, but the
// operations below it no longer describe the rows: they go, and the document stays modified.
void FenPrincipale::abandonHistory()
{
    showError(QStringLiteral("Mémoire insuffisante : l'historique des modifications est vidé."));
    QTimer::singleShot(0, undoStack, [this] {
        undoStack->clear();
        undoStack->resetClean();
    });
}

// After an undo or redo, the first cell it changed is current and nothing is selected.
void FenPrincipale::showChangedCell(int row, int column)
{
    tableView->clearSelection();
    tableView->setCurrentIndex(model->index(row, qMax(column, 0)));
}

// A tool-bar click leaves the cell editor open; committed halfway through the history's own
// write, its value would enter the history in the middle of the move. Committed first, it is an
// operation like any other: undo takes it back, and it ends the redo chain.
void FenPrincipale::annuler_action()
{
    commitOpenEditor();
    undoStack->undo();
}

void FenPrincipale::retablir_action()
{
    commitOpenEditor();
    undoStack->redo();
}
