#include "app/fenprincipale.h"

void FenPrincipale::get_dossier() {}

void FenPrincipale::explorateur_file() {}
