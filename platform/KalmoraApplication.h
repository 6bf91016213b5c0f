// The application object: the message loop, with a last guard around event delivery.
#pragma once

#include <QApplication>

class KalmoraApplication final : public QApplication
{
    Q_OBJECT
public:
    KalmoraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
