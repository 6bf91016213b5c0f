// The section "KLASSE" of the settings file; no other class list code touches the file.
#include "ClassListSettings.h"

#include "model/SettingsFile.h"

#include <QUrl>

namespace {
const QString kSection = QStringLiteral("KLASSE");
}

ClassListSettings::Options ClassListSettings::load()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        return Options{ini.readBool(kSection, u"Aktiv", false), ini.readString(kSection, u"Aufgaben", QString()).trimmed()};
    });
}

void ClassListSettings::save(const Options &options)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.writeBool(kSection, u"Aktiv", options.active);
        ini.writeString(kSection, u"Aufgaben", options.tasks.trimmed());
    });
}

QString ClassListSettings::listLabel(const QString &name, const QString &url)
{
    const QString segment = QUrl::fromPercentEncoding(url.section(u'/', -2, -2, QString::SectionSkipEmpty).toUtf8());
    const QString marker = QStringLiteral("_shared_by_");
    const qsizetype at = segment.lastIndexOf(marker);
    if (at < 0 || at + marker.size() >= segment.size())
        return name;
    return QStringLiteral("%1 (geteilt von %2)").arg(name, segment.mid(at + marker.size()));
}
