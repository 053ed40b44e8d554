#pragma once

#include "camlist/CamEntry.h"

#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

// The camera list file: entries of four lines ("[name]" and the name, the
// address, the refresh seconds, an empty line), written with CR LF at every
// line end; CR LF, CR or LF alone end a line when it is read. The text is
// UTF-8, or, in a file that is not valid UTF-8, one byte per character in
// Windows' Western code page. Every operation opens the file, works and
// closes it. Reading lets waiting events run now and then, so the operations
// take their own copies of the names and entries they are given.

// A camera list file that could not be created, read or written. The text
// names the file and the reason.
class CamListFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The program's camera list file: "00camlist.txt" in the program folder.
QString CamListPath();

// Creates a missing file holding one empty line.
void CreateCamListIfMissing(const QString& path);

// Calls `addItem` for every line that contains "[name]" in any letter case,
// in file order, with every such marker removed.
void LoadCamList(const QString& path, const std::function<void(const QString&)>& addItem);

// The first entry whose name line is exactly "[name]" followed by `name`.
std::optional<CamEntry> FindCamEntry(const QString& path, QString name);

// Appends the entry's four lines; creates a missing file. A last line without
// line end gets one first. An entry with a line break or NUL in a field is
// refused with CamListFileError, and nothing is written.
void AppendCamEntry(const QString& path, const CamEntry& entry);

// Blanks out every entry of that exact name: its name line becomes an empty
// line and its address and refresh lines one empty line together. The file is
// replaced as a whole, so a failure leaves the old file as it was.
void RemoveCamEntry(const QString& path, CamEntry entry);

// RemoveCamEntry for `old`, then AppendCamEntry for `entry`, in one
// replacement of the file: a failure leaves the file as it was, so the cam
// is never lost between the two. With an empty old name only the append. An
// entry that is not single-line is refused, and the file stays as it was.
void ReplaceCamEntry(const QString& path, CamEntry old, CamEntry entry);
