#pragma once

#include <QString>

// The address as the browser gets it: "http://" in front unless "http://" or
// "https://" appears anywhere in it, in any letter case.
QString WebsiteAddress(const QString& address);
