#include "app/fenprincipale.h"

void FenPrincipale::enregistrer_sous() {}

void FenPrincipale::enregistrer() {}
