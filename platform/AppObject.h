#pragma once

#include <QString>

// The running program as the rest of the code sees it: its version record and
// where it lives.
namespace App {

QString ProductName();
QString CompanyName();
// The version record's comments field, which holds the maker's web address.
QString Comments();
// The version record's major and minor version numbers.
int Major();
int Minor();

// The executable's file name without folder or extension.
QString EXEName();

// The program folder, without a trailing "/": the executable's folder, or the
// folder named by the environment variable OMBREL_HOME when it is set.
QString Path();

} // namespace App
