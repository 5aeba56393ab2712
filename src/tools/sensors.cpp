#include "app/fenprincipale.h"

void FenPrincipale::selectionner_sonde() {}

void FenPrincipale::set_box_sonde() {}

void FenPrincipale::afficher_colonne() {}
