// The application object: the message loop, with a last guard around event delivery.
#pragma once

#include <QApplication>

class KalmoraApplication final : public QApplication
{
    Q_OBJECT
public:
    KalmoraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    /// Loads Qt's own German texts for the standard dialogs (file, print,
    /// message-box buttons). Returns false when the translation is not
    /// installed; the dialogs then stay English and nothing else changes.
    static bool installGermanTranslation();
};
