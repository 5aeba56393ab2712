#include "app/fenprincipale.h"

void FenPrincipale::rows_select(int) {}

void FenPrincipale::cell_select(const QModelIndex&) {}

void FenPrincipale::Haut_Tableau() {}

void FenPrincipale::Bas_Tableau() {}
