#pragma once

#include <QString>
#include <QStringList>

namespace quillfen {

/// What a look at a data folder found: one line per file the program can read, and how many
/// of the files it uses are missing or unusable.
struct DataFolderReport {
    QStringList lines;
    int problems = 0;
    int present = 0; ///< files of the catalogue present in the folder, in any spelling
};

/// Checks every file of the data catalogue in `folder` with the program's own readers: present
/// (in any spelling of its name), readable, of the expected geometry kind, with the fields the
/// program reads. Needs no display.
DataFolderReport checkDataFolder(const QString& folder);

/// How many files of the data catalogue `folder` holds, in any spelling: a quick look that
/// reads no file.
int dataFilesPresent(const QString& folder);

/// One note per catalogue file present in several spellings, naming the spelling used, e.g.
/// "kxw93sm.shp is read from KXW93SM.SHP (also present: kxw93sm.SHP)".
QStringList spellingNotes(const QString& folder);

} // namespace quillfen
