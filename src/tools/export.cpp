#include "app/fenprincipale.h"

void FenPrincipale::fenExporter() {}

void FenPrincipale::Exporter() {}
