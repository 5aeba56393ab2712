#include "app/fenprincipale.h"

void FenPrincipale::Read_Data_mois() {}

void FenPrincipale::Read_Data_per() {}

void FenPrincipale::Read_Data_Ouvrir() {}

void FenPrincipale::Ouvrir_fichier() {}
