#include "app/fenprincipale.h"

void FenPrincipale::Courant_changed(const QItemSelection&, const QItemSelection&) {}

void FenPrincipale::modif_donnees(const QModelIndex&, const QModelIndex&) {}
