#pragma once
// Screen scaling of the dedicated parameter windows: they were laid out for a
// 1280 x 1024 screen and grow or shrink with any other screen.
#include <QSize>

class QWidget;

constexpr QSize DesignScreenSize{1280, 1024};

struct WindowScaling {
    bool scaled = false; // false: the screen is the design screen (or unknown)
    QSize windowSize;    // the new size including the frame
    QSize clientSize;    // the new size without the frame
    double factor = 1.0; // for positions, sizes and fonts of the contents
};

// Height: screen height x client height div 1024 plus the frame height; width:
// screen width x client width div 1280 plus the frame width; contents by
// screen width / 1280. On the design screen, or without a screen, nothing changes.
WindowScaling ScaleForScreen(QSize screen, QSize client, QSize frame);

// Scales a window for `screen`: its size, and the geometry and fonts of its
// named controls (the ones a window places itself; unnamed parts of composite
// widgets follow their owners) and its layouts' margins and spacing.
void ApplyWindowScaling(QWidget *window, QSize screen);
// The same for the primary screen; every dedicated parameter window calls it
// once at creation, after its controls exist.
void ApplyWindowScaling(QWidget *window);
