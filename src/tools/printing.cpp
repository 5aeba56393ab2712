#include "app/fenprincipale.h"

void FenPrincipale::Imprimer() {}

void FenPrincipale::print(QPrinter*) {}
