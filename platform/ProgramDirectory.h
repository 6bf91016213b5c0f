// Where the program keeps its data files, and how a data file's name is found there.
#pragma once

#include <QString>

/// The program directory with a trailing "/": the executable's directory, or
/// the directory named by the environment variable KALMORA_DIR, or the one set
/// by `setProgramDirectory`.
QString ProgramDirectory();

/// Replaces the program directory (tests, portable use); an empty text restores the default.
void setProgramDirectory(const QString &directory);

/// The full path of a data file in the program directory. The name matches a
/// file there without regard to case, so "dezuvedired.ini" and a
/// "Dezuvedired.ini" copied from Windows are the one settings file.
QString DataFilePath(const QString &bareName);
