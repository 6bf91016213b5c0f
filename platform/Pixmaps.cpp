// Drawing small pictures at twice their size on a grid of 16 by 16 units; the stored button pictures and program icon.
#include "Pixmaps.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>

#include <utility>

const QColor &Pixmaps::Outline()
{
    static const QColor colour(70, 70, 70);
    return colour;
}

QPixmap Pixmaps::draw(Drawing drawing)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(2, 2);
        painter.setPen(QPen(Outline(), 1));
        drawing(painter);
    }
    pixmap.setDevicePixelRatio(2);
    return pixmap;
}

QList<QPixmap> Pixmaps::draw(std::initializer_list<Drawing> drawings)
{
    QList<QPixmap> pixmaps;
    pixmaps.reserve(qsizetype(drawings.size()));
    for (const Drawing drawing : drawings)
        pixmaps.append(draw(drawing));
    return pixmaps;
}

namespace {

// An icon stored as ready-drawn pictures of a few sizes. A picture is
// decoded only when a size near it is first asked for, and the nearest
// larger picture is scaled down where no size fits exactly.
class StoredIconEngine final : public QIconEngine
{
public:
    StoredIconEngine(QString name, QList<int> sides)
        : m_name(std::move(name)), m_sides(std::move(sides))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize device = rect.size() * painter->device()->devicePixelRatio();
        iconFor(device).paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return iconFor(size).pixmap(size, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = sideFor(size);
        return side < qMin(size.width(), size.height()) ? QSize(side, side) : size;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : m_sides)
            sizes.append(QSize(side, side));
        return sizes;
    }

    QIconEngine *clone() const override { return new StoredIconEngine(*this); }
    QString key() const override { return QStringLiteral("StoredIconEngine"); }

private:
    // The smallest stored side that covers the size, else the largest.
    int sideFor(const QSize &size) const
    {
        const int wanted = qMax(size.width(), size.height());
        for (const int side : m_sides) {
            if (side >= wanted)
                return side;
        }
        return m_sides.last();
    }

    const QIcon &iconFor(const QSize &size)
    {
        const int side = sideFor(size);
        auto found = m_decoded.constFind(side);
        if (found == m_decoded.constEnd())
            // Named as PNG: a file name alone has Qt ask every image-format plugin first.
            found = m_decoded.insert(side, QIcon(QPixmap(QStringLiteral(":/icons/%1-%2.png").arg(m_name).arg(side), "PNG")));
        return *found;
    }

    QString m_name;
    QList<int> m_sides; // ascending
    QHash<int, QIcon> m_decoded;
};

}

QIcon Pixmaps::buttonIcon(const QString &name)
{
    return QIcon(new StoredIconEngine(name, {16, 24, 32, 48}));
}

QIcon Pixmaps::programIcon()
{
    return QIcon(new StoredIconEngine(QStringLiteral("kalmora"), {16, 22, 24, 32, 48, 64, 128, 256}));
}
