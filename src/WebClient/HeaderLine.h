// What one line of an HTTP answer's header says.
#pragma once

#include <QString>

struct HeaderLine
{
    enum class Kind { Other, Status, Field };
    Kind kind = Kind::Other;
    int statusCode = 0; // Status: 0 when characters 10 to 12 are not three digits
    QString reasonPhrase; // Status
    QString name; // Field: lower case
    QString value; // Field
};

/// Reads a header line (without its line end). A line whose first 8
/// characters are "HTTP/1.0" or "HTTP/1.1" is the status line: the code is in
/// characters 10 to 12, the reason phrase runs from character 14 to the end.
/// Any other line with a ":" is a field: the name is the text before the
/// first ":" in lower case, the value the text from the second character
/// after it, since one blank after the colon is assumed.
HeaderLine ParseHeaderLine(const QString &line);
