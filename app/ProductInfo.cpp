#include "app/ProductInfo.h"

#include "platform/AppObject.h"

QString strProductName;
QString strCompanyName;
QString strWebsite;

void LoadProductInfo() {
    strProductName = App::ProductName();
    strCompanyName = App::CompanyName();
    strWebsite = App::Comments();
}
