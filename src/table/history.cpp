#include "app/fenprincipale.h"

#include <QAction>

void FenPrincipale::clearEditHistory()
{
    for (EditEntry& entry : editHistory)
        entry.text.clear();
    undoCount = 0;
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
}

void FenPrincipale::annuler_action() {}

void FenPrincipale::retablir_action() {}
