// The colours the windows pick by hand, in a light and a dark variant, and
// widgets that follow a change of the application's palette.
#pragma once

#include <QColor>

#include <functional>

class QTableWidget;
class QWidget;

class ThemeColours final
{
public:
    enum class Colour {
        DayHeadingText, // the main window's headings over the four due dates
        DayHeadingFrom,
        DayHeadingTo,
        BannerBackground, // the band of the reminder window
        BannerText,
        HintBackground, // the hint over the empty timetable
        HintText,
        HintBorder,
    };

    /// Whether the application's palette is a dark one.
    static bool dark();
    /// The colour for the application's current palette; the light ones are
    /// the colours the windows always had.
    static QColor of(Colour colour);

    /// Runs `recolour` now and again after every switch between the light
    /// and the dark palette, as long as `widget` lives.
    static void follow(QWidget *widget, std::function<void()> recolour);
    /// The application's palette was switched: every follower recolours.
    static void paletteChanged();
    /// The fixed cells of a grid (those neither selectable nor editable) drawn
    /// like buttons in the current palette, now and after every change.
    static void followFixedCells(QTableWidget *grid);
};
