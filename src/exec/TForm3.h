// The application of one homework: program and file, opened with "Anwendung definieren".
#pragma once

#include "ApplicationDialog.h"

class TForm3 final : public ApplicationDialog
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    /// Shows the dialog for the homework of `subject` on `date` ("dd.mm.yyyy"),
    /// captioned "subject - date", with the homework's application in its fields.
    void openForHomework(const QString &subject, const QString &date);

protected:
    void FormShow() override;

private:
    void setupUi();
    void Button2Click();
    void centreOnScreen();
};
