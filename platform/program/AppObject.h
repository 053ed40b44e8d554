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

// Gives the process the program's name and version, and tells the desktop
// which menu entry the program's windows belong to. Called once, before the
// first window.
void SetIdentity();

// The program folder, without a trailing "/", where the camera list file, the
// picture folder and the settings live: the folder named by the environment
// variable OMBREL_HOME when it is set, otherwise ProgramFolderFor the
// executable's folder.
QString Path();

// A portable copy (a build tree, an unpacked folder) keeps its files in the
// executable's folder. An installed copy (one whose shipped-files folder
// exists where the install puts it) and a copy in a folder the user may not
// write keep them in the user's data folder for the program, which is made
// when missing.
QString ProgramFolderFor(const QString& executableFolder);

// Where a copy finds the files it ships and never writes (the help file, the
// skin): the install's share folder for an installed copy, the executable's
// folder for a portable one.
QString ShippedFolderFor(const QString& executableFolder);

// The path of a shipped read-only file: the program folder's copy when there
// is one, otherwise the one in the shipped-files folder. When neither exists
// it is the shipped-files folder's path, so a message can name where the file
// belongs.
QString ShippedFile(const QString& name);

} // namespace App
