#include "app/fenprincipale.h"
#include "data/recordtexts.h"
#include "desktop/windowmemory.h"
#include "review/valuereview.h"
#include "table/tablemodel.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include <cstdlib>

void FenPrincipale::closeEvent(QCloseEvent* event)
{
    event->ignore();
    fermeture_programme();
}

void FenPrincipale::fermeture_programme()
{
    if (!settleUnsavedChanges())
        return;
    clearTable();
    AppSettings(SaveWorkspace);
    windowMemory->saveWindow();
    QCoreApplication::quit();
}

// Before unsaved edits would be dropped, asks whether to save them, a value still in the cell
// editor included. True when the caller may go on: nothing was modified, the edits were saved,
// or the user chose to drop them.
bool FenPrincipale::settleUnsavedChanges()
{
    commitOpenEditor();
    if (!saveAction->isEnabled())
        return true;
    QMessageBox question(this);
    question.setText(tr("Le document a été modifié.\nVoulez-vous sauvegarder les changements?"));
    QPushButton* yes = question.addButton(QStringLiteral("Oui"), QMessageBox::ActionRole);
    QPushButton* no = question.addButton(QStringLiteral("Non"), QMessageBox::ActionRole);
    question.addButton(QStringLiteral("Annuler"), QMessageBox::ActionRole);
    question.exec();
    if (question.clickedButton() == yes)
        return saveDocument();
    return question.clickedButton() == no;
}

// A document is shown from its load until the table is cleared; its record buffer exists all
// that time, even for a file without records.
bool FenPrincipale::hasDocument() const
{
    return recordBuffers[int(documentType)] != nullptr;
}

void FenPrincipale::clearTable()
{
    statusBarWidget->showMessage(
        QStringLiteral("Effacement du Tableau (Cette opération peut prendre quelques secondes)"));
    // Paints the message without delivering input: a click or a key now would act on a document
    // that is half gone.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    if (hasDocument())
        windowMemory->saveColumns(documentType);
    clearEditHistory();
    disableDocumentOnlyActions();
    review->detach();

    // Edits of the empty table are no document's.
    disconnect(model, &TableModel::dataChanged, this, &FenPrincipale::modif_donnees);
    model->removeExtraRows();
    model->resetTable(1, 1, nullptr);
    recordTexts.reset();

    fileLabel->setText(QString());
    freeRecordBuffers();
    updateWindowTitle();
    showDocumentOrHint();
    statusBarWidget->showMessage(QString());
}

void FenPrincipale::freeRecordBuffers()
{
    for (char*& buffer : recordBuffers) {
        std::free(buffer);
        buffer = nullptr;
    }
}

void FenPrincipale::enableDocumentActions(bool enable)
{
    tableView->blockSignals(!enable);
    for (QAction* action : {printAction, searchDateAction, exportAction, importAction, saveAsAction,
                            copyAction, pasteAction, correctAction, shiftDatesAction})
        action->setEnabled(enable);
}
