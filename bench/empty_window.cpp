// The yardsticks of the start-up benchmark: the least a Qt program does before
// its first frame, with the planner's style and a window of the main window's
// size. With "--table" the window also shows a grid of eleven rows and six
// columns with text, as the timetable does: the least a window with text costs
// (the font database is set up at the first text).
#include "platform/FirstFrameReport.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace {
// About the main window's size on the Fusion style.
constexpr int kMainWindowWidth = 800;
constexpr int kMainWindowHeight = 560;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.resize(kMainWindowWidth, kMainWindowHeight);
    if (QApplication::arguments().contains(QStringLiteral("--table"))) {
        auto *table = new QTableWidget(11, 6, &window);
        for (int row = 0; row < 11; ++row) {
            for (int column = 0; column < 6; ++column)
                table->setItem(row, column, new QTableWidgetItem(QStringLiteral("Mathematik")));
        }
        (new QVBoxLayout(&window))->addWidget(table);
    }
    window.show();
    FirstFrameReport::armFromEnvironment(&window);
    return app.exec();
}
