#include "parameters/WindowScaling.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{

TEST(WindowScaling, SizesForScreens)
{
    struct Case {
        const char *name;
        QSize screen;
        QSize client;
        QSize frame;
        bool scaled;
        QSize window;
        double factor;
    };
    const Case cases[] = {
        {"design screen keeps everything", {1280, 1024}, {800, 600}, {10, 30}, false, {810, 630}, 1.0},
        {"smaller screen", {1024, 768}, {800, 600}, {10, 30}, true, {650, 480}, 0.8},
        // 1080 x 600 / 1024 = 632.8: integer division cuts.
        {"wide screen", {1920, 1080}, {800, 600}, {10, 30}, true, {1210, 662}, 1.5},
        {"same width, other height", {1280, 800}, {800, 600}, {0, 0}, true, {800, 468}, 1.0},
        {"odd sizes round down", {1366, 768}, {997, 811}, {8, 31}, true, {1071, 639}, 1366.0 / 1280},
        {"no screen known", {0, 0}, {800, 600}, {10, 30}, false, {810, 630}, 1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const WindowScaling s = ScaleForScreen(c.screen, c.client, c.frame);
        EXPECT_EQ(s.scaled, c.scaled);
        EXPECT_EQ(s.windowSize, c.window);
        EXPECT_EQ(s.clientSize, c.window - c.frame);
        EXPECT_DOUBLE_EQ(s.factor, c.factor);
    }
}

// A window with one placed control, one control in a layout and a font.
struct Fixture {
    Fixture()
    {
        QFont f = window.font();
        f.setPointSizeF(10);
        window.setFont(f);
        placed = new QLabel(QStringLiteral("x"), &window);
        placed->setObjectName(QStringLiteral("Label1"));
        placed->setGeometry(100, 50, 200, 20);
        unnamed = new QLabel(QStringLiteral("y"), &window);
        unnamed->setGeometry(100, 50, 200, 20);
        bold = new QLabel(QStringLiteral("z"), &window);
        bold->setObjectName(QStringLiteral("Label2"));
        QFont b = window.font();
        b.setPointSizeF(12);
        bold->setFont(b);
        window.resize(640, 512);
    }
    QWidget window;
    QLabel *placed;
    QLabel *unnamed;
    QLabel *bold;
};

TEST(WindowScaling, ApplyScalesWindowControlsAndFonts)
{
    Fixture f;
    ApplyWindowScaling(&f.window, QSize(640, 480));
    EXPECT_EQ(f.window.size(), QSize(320, 240)); // 640 x 640 / 1280, 480 x 512 / 1024
    EXPECT_EQ(f.placed->geometry(), QRect(50, 25, 100, 10));
    EXPECT_EQ(f.unnamed->geometry(), QRect(100, 50, 200, 20)); // not a placed control
    EXPECT_DOUBLE_EQ(f.window.font().pointSizeF(), 5.0);
    EXPECT_DOUBLE_EQ(f.placed->font().pointSizeF(), 5.0); // inherited
    EXPECT_DOUBLE_EQ(f.bold->font().pointSizeF(), 6.0);   // its own, scaled once
}

TEST(WindowScaling, ApplyOnTheDesignScreenChangesNothing)
{
    Fixture f;
    ApplyWindowScaling(&f.window, DesignScreenSize);
    EXPECT_EQ(f.window.size(), QSize(640, 512));
    EXPECT_EQ(f.placed->geometry(), QRect(100, 50, 200, 20));
    EXPECT_DOUBLE_EQ(f.window.font().pointSizeF(), 10.0);
}

TEST(WindowScaling, ApplyScalesLayoutMargins)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->setSpacing(8);
    layout->addWidget(new QPushButton(QStringLiteral("OK")));
    window.resize(400, 300);
    ApplyWindowScaling(&window, QSize(2560, 2048));
    EXPECT_EQ(layout->contentsMargins(), QMargins(40, 20, 40, 20));
    EXPECT_EQ(layout->spacing(), 16);
    EXPECT_EQ(window.size(), QSize(800, 600));
}

} // namespace
