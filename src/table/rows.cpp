#include "app/fenprincipale.h"

void FenPrincipale::addRow() {}

void FenPrincipale::removeRow() {}
