#include "platform/ProductInfo.h"

#include "platform/AppObject.h"

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
