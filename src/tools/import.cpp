#include "app/fenprincipale.h"

void FenPrincipale::fenImporter() {}
