// Hand-picked colours for light and dark windows.
#include "ThemeColours.h"

#include <QApplication>
#include <QPalette>
#include <QPointer>
#include <QTableWidget>

#include <vector>

namespace {

struct Pair
{
    QColor light;
    QColor dark;
};

Pair pair(ThemeColours::Colour colour)
{
    using C = ThemeColours::Colour;
    switch (colour) {
    case C::DayHeadingText:
        return {Qt::white, QColor(0xf0, 0xf4, 0xfa)};
    case C::DayHeadingFrom:
        return {QColor(0x2f, 0x6f, 0xc4), QColor(0x1d, 0x4c, 0x8c)};
    case C::DayHeadingTo:
        return {QColor(0x8d, 0xb4, 0xea), QColor(0x34, 0x5a, 0x8a)};
    case C::BannerBackground:
        return {QColor(0xff, 0xf0, 0xb3), QColor(0x5c, 0x4b, 0x16)};
    case C::BannerText:
        return {QColor(0x60, 0x20, 0x00), QColor(0xff, 0xe9, 0xb0)};
    case C::HintBackground:
        return {QColor(0xff, 0xf8, 0xdc), QColor(0x3e, 0x37, 0x20)};
    case C::HintText:
        return {QColor(0x5a, 0x4a, 0x00), QColor(0xf2, 0xe2, 0xa4)};
    case C::HintBorder:
        break;
    }
    return {QColor(0xe0, 0xc0, 0x60), QColor(0x8c, 0x76, 0x32)};
}

struct Follower
{
    QPointer<QWidget> widget;
    std::function<void()> recolour;
};

std::vector<Follower> &followers()
{
    static std::vector<Follower> list;
    return list;
}

}

bool ThemeColours::dark()
{
    return QApplication::palette().color(QPalette::Window).lightness() < 128;
}

QColor ThemeColours::of(Colour colour)
{
    const Pair colours = pair(colour);
    return dark() ? colours.dark : colours.light;
}

void ThemeColours::follow(QWidget *widget, std::function<void()> recolour)
{
    recolour();
    std::vector<Follower> &list = followers();
    std::erase_if(list, [](const Follower &follower) { return follower.widget.isNull(); });
    list.push_back({widget, std::move(recolour)});
}

void ThemeColours::paletteChanged()
{
    std::erase_if(followers(), [](const Follower &follower) { return follower.widget.isNull(); });
    // A copy: a recolouring may build or remove widgets that follow too.
    const std::vector<Follower> list = followers();
    for (const Follower &follower : list) {
        if (follower.widget)
            follower.recolour();
    }
}

void ThemeColours::followFixedCells(QTableWidget *grid)
{
    follow(grid, [grid] {
        const QPalette palette = QApplication::palette();
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < grid->columnCount(); ++c) {
                if (QTableWidgetItem *item = grid->item(r, c); item && item->flags() == Qt::NoItemFlags) {
                    item->setBackground(palette.button());
                    item->setForeground(palette.buttonText());
                }
            }
        }
    });
}
