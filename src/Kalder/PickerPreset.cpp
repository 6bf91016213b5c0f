// The date text a calendar picker opens on.
#include "PickerPreset.h"

#include "platform/Errors.h"

namespace {

// Cuts the text before the first "." off `rest`; empty when there is no ".".
QString takePart(QString &rest)
{
    const qsizetype stop = rest.indexOf(u'.');
    if (stop < 0)
        return QString();
    const QString part = rest.left(stop);
    rest.remove(0, stop + 1);
    return part;
}

std::optional<int> toInteger(const QString &part)
{
    if (part.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int number = part.toInt(&ok);
    if (!ok)
        throw EConvertError::invalidInteger(part);
    return number;
}

}

PickerPreset PickerPreset::fromText(const QString &text)
{
    QString rest = text;
    const QString day = takePart(rest);
    const QString month = takePart(rest);
    PickerPreset preset;
    preset.day = toInteger(day);
    preset.month = toInteger(month);
    preset.year = toInteger(rest);
    return preset;
}
