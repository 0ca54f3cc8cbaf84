#include "parameters/WindowScaling.h"

#include <QBoxLayout>
#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <cmath>
#include <vector>

WindowScaling ScaleForScreen(QSize screen, QSize client, QSize frame)
{
    WindowScaling s;
    s.clientSize = client;
    s.windowSize = client + frame;
    if (screen == DesignScreenSize || screen.width() <= 0 || screen.height() <= 0)
        return s;
    s.scaled = true;
    // 64-bit products: a large screen times a large client must not overflow.
    const auto w = static_cast<int>(qint64(screen.width()) * client.width() / DesignScreenSize.width());
    const auto h = static_cast<int>(qint64(screen.height()) * client.height() / DesignScreenSize.height());
    s.clientSize = QSize(w, h);
    s.windowSize = QSize(w + frame.width(), h + frame.height());
    s.factor = double(screen.width()) / DesignScreenSize.width();
    return s;
}

namespace
{

int scaled(int value, double factor)
{
    return static_cast<int>(std::lround(value * factor));
}

bool isPlacedControl(const QWidget *w)
{
    const QString name = w->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

void scaleFont(QWidget *w, double factor)
{
    QFont f = w->font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * factor);
    else if (f.pixelSize() > 0)
        f.setPixelSize(std::max(1, scaled(f.pixelSize(), factor)));
    w->setFont(f);
}

void scaleLayout(QLayout *layout, double factor)
{
    const QMargins m = layout->contentsMargins();
    layout->setContentsMargins(scaled(m.left(), factor), scaled(m.top(), factor), scaled(m.right(), factor),
                               scaled(m.bottom(), factor));
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        if (grid->horizontalSpacing() >= 0)
            grid->setHorizontalSpacing(scaled(grid->horizontalSpacing(), factor));
        if (grid->verticalSpacing() >= 0)
            grid->setVerticalSpacing(scaled(grid->verticalSpacing(), factor));
    } else if (layout->spacing() >= 0) {
        layout->setSpacing(scaled(layout->spacing(), factor));
    }
}

void scaleGeometry(QWidget *w, double factor)
{
    const QSize min = w->minimumSize();
    const QSize max = w->maximumSize();
    if (min.width() > 0 || min.height() > 0)
        w->setMinimumSize(scaled(min.width(), factor), scaled(min.height(), factor));
    w->setMaximumSize(max.width() < QWIDGETSIZE_MAX ? scaled(max.width(), factor) : QWIDGETSIZE_MAX,
                      max.height() < QWIDGETSIZE_MAX ? scaled(max.height(), factor) : QWIDGETSIZE_MAX);
    const QRect g = w->geometry();
    w->setGeometry(scaled(g.x(), factor), scaled(g.y(), factor), scaled(g.width(), factor), scaled(g.height(), factor));
}

} // namespace

void ApplyWindowScaling(QWidget *window, QSize screen)
{
    if (!window)
        return;
    const QSize frame = window->frameGeometry().size() - window->size();
    const WindowScaling s = ScaleForScreen(screen, window->size(), frame);
    if (!s.scaled)
        return;

    // Controls with a font of their own keep it, scaled once; the others
    // inherit the window's scaled font.
    std::vector<QWidget *> controls;
    std::vector<QWidget *> ownFonts;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window)
            continue; // a window of its own scales itself
        if (isPlacedControl(w))
            controls.push_back(w);
        if (w->testAttribute(Qt::WA_SetFont))
            ownFonts.push_back(w);
    }
    std::vector<QFont> fonts;
    for (QWidget *w : ownFonts)
        fonts.push_back(w->font());
    scaleFont(window, s.factor);
    for (size_t i = 0; i < ownFonts.size(); ++i) {
        ownFonts[i]->setFont(fonts[i]);
        scaleFont(ownFonts[i], s.factor);
    }

    for (QWidget *w : controls)
        scaleGeometry(w, s.factor);
    for (QLayout *layout : window->findChildren<QLayout *>())
        scaleLayout(layout, s.factor);

    const QSize min = window->minimumSize();
    if (min.width() > 0 || min.height() > 0)
        window->setMinimumSize(scaled(min.width(), s.factor), scaled(min.height(), s.factor));
    window->resize(s.clientSize);
}

void ApplyWindowScaling(QWidget *window)
{
    ApplyWindowScaling(window, ScreenAreaFor(QSize()).size);
}

ScreenArea ScreenAreaFor(QSize forced)
{
    if (forced.isValid() && !forced.isEmpty())
        return {forced, forced};
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->size(), screen->availableGeometry().size()};
}

QSize MaxClientSize(const QWidget *window, const ScreenArea &screen)
{
    QSize frame = window->frameGeometry().size() - window->size();
    if (frame.isEmpty()) {
        // No frame known (not shown yet, or no window manager so far): leave
        // room for a title bar and borders all the same.
        const int border = std::max(2, window->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, window));
        const int title =
            std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 2 * window->fontMetrics().height());
        frame = frame.expandedTo(QSize(2 * border, title + 2 * border));
    }
    return (screen.available - frame).expandedTo(QSize(0, 0));
}

void FitRows(QWidget *window, QScrollArea *rows, std::initializer_list<QWidget *> below, QSize maxClient)
{
    const QWidget *inner = rows->widget();
    if (!inner || maxClient.isEmpty())
        return;
    const int frame = 2 * rows->frameWidth();
    const int full = inner->height() + frame;
    rows->resize(rows->width(), full);
    int bottom = rows->geometry().bottom() + 1;
    for (const QWidget *w : below)
        bottom = std::max(bottom, w->geometry().bottom() + 1);
    // The margin the window keeps below its controls; the top margin where
    // the window's height cuts them off.
    const int margin = window->height() > bottom ? window->height() - bottom : rows->y();
    const int wanted = bottom + margin;
    const int target = std::min(window->height(), maxClient.height());
    // A few rows stay in sight whatever the screen.
    const int shift = std::clamp(wanted - target, 0, std::max(0, full - std::min(full, 120)));
    const int bar = shift > 0 ? rows->verticalScrollBar()->sizeHint().width() : 0;
    rows->resize(std::min(inner->width() + frame + bar, window->width() - rows->x()), full - shift);
    for (QWidget *w : below)
        w->move(w->x(), w->y() - shift);
    window->resize(std::min(window->width(), maxClient.width()), std::max(target, wanted - shift));
}

void HoldScaledRows(QWidget *window, QWidget *box, std::initializer_list<QWidget *> below, const ScreenArea &screen)
{
    if (!screen.scales())
        return;
    const int growth = box->childrenRect().bottom() + 1 - box->height();
    if (growth <= 0)
        return;
    box->resize(box->width(), box->height() + growth);
    for (QWidget *w : below)
        w->move(w->x(), w->y() + growth);
    window->resize(window->width(), window->height() + growth);
}

QSize SizeWithAllRows(QWidget *window, QScrollArea *rows)
{
    QLayout *layout = window->layout();
    if (!layout || !rows->widget())
        return window->size();
    const QSize before = rows->minimumSize();
    const int frame = 2 * rows->frameWidth();
    rows->setMinimumSize(rows->widget()->sizeHint() + QSize(frame, frame));
    layout->invalidate();
    const QSize size = layout->sizeHint();
    rows->setMinimumSize(before);
    layout->invalidate();
    return size;
}

void FitWindow(QWidget *window, QScrollArea *rows, const ScreenArea &screen)
{
    const QSize maxClient = MaxClientSize(window, screen);
    if (maxClient.isEmpty())
        return;
    QSize size = window->size().boundedTo(maxClient);
    QLayout *layout = window->layout();
    if (layout)
        layout->activate();
    window->resize(size);
    const QWidget *inner = rows->widget();
    if (layout && inner && screen.scales()) {
        // Where the rows scroll, the scroll bar takes its share of the rule's
        // width: the window then takes the width the rows need beside it, as
        // far as the screen allows, rather than cut off the last column.
        layout->activate();
        const QSize wanted = inner->sizeHint();
        if (wanted.height() > rows->viewport()->height()) {
            const int bar = rows->verticalScrollBar()->sizeHint().width();
            const int need = wanted.width() + bar + 2 * rows->frameWidth() + window->width() - rows->width();
            size.setWidth(std::min(std::max(size.width(), need), maxClient.width()));
            window->resize(size);
        }
    }
}
