// The default application of a subject, opened with "Standardanwendung" of the timetable.
#pragma once

#include "exec/ApplicationDialog.h"

class TForm7 final : public ApplicationDialog
{
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr);

    /// Shows the dialog for `subject`, its caption; an empty subject (an
    /// empty timetable cell) opens nothing. A dialog already shown is read
    /// again for the new subject.
    void openForSubject(const QString &subject);

protected:
    void FormShow() override;

private:
    void setupUi();
    void Button2Click();
};
