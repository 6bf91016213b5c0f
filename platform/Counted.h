// A number with its noun in German messages: "1 Termin", "3 Termine".
#pragma once

#include <QString>

inline QString counted(qsizetype count, const char *one, const char *many)
{
    return QString::number(count) + u' ' + QString::fromUtf8(count == 1 ? one : many);
}
