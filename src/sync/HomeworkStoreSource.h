// The planner's homework for the synchronisation, read and written through HomeworkStore.
#pragma once

#include "HomeworkSource.h"

class HomeworkStoreSource final : public HomeworkSource
{
public:
    /// Whether one of the sync's own writes is running now.
    static bool writing();

    QList<HomeworkItem> all() const override;
    QStringList subjects() const override;
    void add(const HomeworkItem &item) override;
    void setText(QDate due, const QString &subject, const QString &text) override;
    void setDone(QDate due, const QString &subject, bool done) override;
    void remove(QDate due, const QString &subject) override;
    void move(QDate from, const QString &subject, QDate to) override;
    /// The text written to a settings file and read back: Windows-1252, one line, trimmed.
    QString keptText(const QString &text) const override;
};
