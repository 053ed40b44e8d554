#pragma once

#include <QString>

// The program-wide values set at the very start: the version record's texts
// and the skinning switch.
extern QString strProductName;
extern QString strCompanyName;
extern QString strWebsite;
// Whether windows take the skin. Set once and never changed.
extern bool bSkinEnabled;

// Reads the product name, company name and web address of the running
// program into the strings above and switches skinning on.
void LoadProductInfo();
