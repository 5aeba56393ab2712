#include "app/fenprincipale.h"

void FenPrincipale::fenetre_chercher_date() {}

void FenPrincipale::rechercher_date() {}
