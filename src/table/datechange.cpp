#include "app/fenprincipale.h"

void FenPrincipale::fenModifDate(int) {}

void FenPrincipale::set_verticalheader_item() {}
