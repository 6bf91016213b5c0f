// Fixed window sizes scaled by the application font's size.
#include "TextScale.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDesignPointSize = 9.0;
}

double TextScale::factor()
{
    const double points = QApplication::font().pointSizeF();
    return points > 0 ? std::max(1.0, points / kDesignPointSize) : 1.0;
}

int TextScale::scaled(int pixels)
{
    return int(std::lround(pixels * factor()));
}

void TextScale::scaleChildren(QWidget *window)
{
    const double f = factor();
    if (f == 1.0)
        return;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        const QWidget *parent = child->parentWidget();
        if (child->isWindow() || !parent || parent->layout())
            continue;
        const QRect r = child->geometry();
        child->setGeometry(int(std::lround(r.x() * f)), int(std::lround(r.y() * f)), int(std::lround(r.width() * f)),
                           int(std::lround(r.height() * f)));
    }
}
