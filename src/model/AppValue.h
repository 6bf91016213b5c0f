// The application of a subject or a homework: a program and a file, stored as one text.
#pragma once

#include <QString>

/// A program and a file joined by "?" in one stored text: "program?file",
/// "program", "?file", or empty for no application. The first "?" separates
/// the two parts; neither is quoted.
struct AppValue final
{
    QString program;
    QString file;

    /// Splits a stored text at its first "?"; a text without one is all program.
    static AppValue fromText(const QString &text);
    /// The stored text: the program if any, then "?" and the file if any;
    /// both empty give an empty text.
    QString text() const;
    bool isEmpty() const { return program.isEmpty() && file.isEmpty(); }

    friend bool operator==(const AppValue &, const AppValue &) = default;
};
