// Window sizes that grow with the desktop's text size.
#pragma once

class QWidget;

class TextScale final
{
public:
    /// How much larger the application's text is than the 9 pt that the
    /// windows' fixed sizes were made for; never less than 1.
    static double factor();
    /// A size in pixels made for 9 pt text, grown with the text.
    static int scaled(int pixels);
    /// Grows the geometry of every control placed by hand (outside any layout) below `window`.
    static void scaleChildren(QWidget *window);
};
