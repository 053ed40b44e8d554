#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// Tells which cam a file in the cam folder is a saved picture of, from its
// name and its modification time alone (nothing is decoded).
//
// A saved picture's name is a cam's name prefix (PictureNamePrefix), then
// the date and time of the save and ".jpg": the time part starts with a
// digit and holds 11 to 14 digits, the date and time separators ". - : ,",
// at most one AM/PM marker (the locale's or the Latin one) and at most one
// month's name (the locale's or the English one, as the C locale writes
// dates: "10Dec2026140215"). Anything else in the folder is not a saved
// picture.
//
// Cam names may be prefixes of each other ("Lake" and "Lake View", "Cam1"
// and "Cam12"), so a name can fit several cams. Then it belongs to the cam
// whose full picture name for the file's own time (its modification second,
// or up to two seconds before, as the name is made just before the file is
// written) reproduces the file name exactly; failing that, to the cam with
// the longest prefix. Names made from cams that are no longer listed fit no
// cam, and so are neither listed nor ever removed.
class SavedPictureMatcher {
public:
    explicit SavedPictureMatcher(const QStringList& camNames);

    // The cam names, each once, in the order given (empty names dropped).
    const QStringList& CamNames() const { return names_; }

    // The index in CamNames() of the cam the file is a saved picture of.
    std::optional<int> CamOf(const QString& fileName, qint64 modifiedMsecs) const;

private:
    bool looksLikeMoment(QStringView text) const;
    QStringList names_;
    QStringList prefixes_;
    QStringList markers_;
    QStringList months_; // the longest first
};
