#pragma once

#include <QString>

// The version record's texts, read once at start-up.
extern QString strProductName;
extern QString strCompanyName;
extern QString strWebsite;

// Reads the product name, company name and web address of the running
// program into the three strings above.
void LoadProductInfo();
