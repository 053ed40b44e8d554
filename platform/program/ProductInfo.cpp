#include "platform/program/ProductInfo.h"

#include "platform/program/AppObject.h"

QString strProductName;
QString strCompanyName;
QString strWebsite;
bool bSkinEnabled = false;

void LoadProductInfo() {
    strProductName = App::ProductName();
    strCompanyName = App::CompanyName();
    strWebsite = App::Comments();
    bSkinEnabled = true;
}
