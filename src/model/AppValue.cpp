// The application of a subject or a homework.
#include "AppValue.h"

AppValue AppValue::fromText(const QString &text)
{
    const qsizetype mark = text.indexOf(u'?');
    if (mark < 0)
        return {text, QString()};
    return {text.left(mark), text.mid(mark + 1)};
}

QString AppValue::text() const
{
    QString value = program;
    if (!file.isEmpty())
        value += u'?' + file;
    return value;
}
