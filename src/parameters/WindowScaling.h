#pragma once
// Screen scaling of the dedicated parameter windows: they were laid out for a
// 1280 x 1024 screen and grow or shrink with any other screen.
#include <QSize>

#include <initializer_list>

class QScrollArea;
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

// A screen as the parameter windows see it: its size, which the scaling rule
// takes, and the part of it windows may cover (without panels and docks).
struct ScreenArea {
    QSize size;
    QSize available;
    bool scales() const { return ScaleForScreen(size, QSize(1, 1), QSize()).scaled; }
};

// The primary screen, or a screen of size `forced` (all of it available).
ScreenArea ScreenAreaFor(QSize forced);

// The most a window's client area may take on `screen`: the available area
// less the window's frame (a title bar's worth while the frame is not known).
QSize MaxClientSize(const QWidget *window, const ScreenArea &screen);

// For a window whose rows stand in the scroll area `rows` above the controls
// `below`, placed for all rows: when the window is too short for them, or
// taller than `maxClient`, the rows' area gives up the difference (the rows
// scroll) and the controls below move up by it, so that they stay in sight.
void FitRows(QWidget *window, QScrollArea *rows, std::initializer_list<QWidget *> below, QSize maxClient);

// On a scaled window the rows, placed by scaled and rounded positions, may
// stand a few pixels below the box a row formula sized with the rounded row
// height: the box is made to hold them, or the last row could never be seen;
// the controls `below` and the window's bottom move down with it.
void HoldScaledRows(QWidget *window, QWidget *box, std::initializer_list<QWidget *> below, const ScreenArea &screen);

// The client size of a window laid out by its layout, with its scroll area
// `rows` as large as the rows in it.
QSize SizeWithAllRows(QWidget *window, QScrollArea *rows);

// A window whose rows' scroll area `rows` stretches in its layout: within the
// screen's available area; on a scaled window whose rows scroll, as wide as
// the rows and the scroll bar need, within that area.
void FitWindow(QWidget *window, QScrollArea *rows, const ScreenArea &screen);
