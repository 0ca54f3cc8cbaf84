// The dedicated parameter windows on screens of other sizes: the scaling rule,
// the window on the screen, its buttons in sight and its rows reachable.
#include "OneWindow.h"

#include "parameters/TAllgePara.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "parameters/TParaAnaOut.h"
#include "parameters/TParaDig.h"
#include "parameters/WindowScaling.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{

struct WindowCase {
    const char *name;
    std::function<std::unique_ptr<TForm>(Deklarat &)> create;
    std::function<void(TForm &)> activate;
    std::function<std::vector<QWidget *>(TForm &)> buttons;
    // The scroll area holding the rows and the last row's control in it.
    std::function<QAbstractScrollArea *(TForm &)> rows;
    std::function<QWidget *(TForm &)> lastRow;
};

// The case of window `W`, its parts reached from the window.
template <typename W>
WindowCase caseOf(const char *name, std::vector<QWidget *> (*buttons)(W &), QAbstractScrollArea *(*rows)(W &),
                  QWidget *(*lastRow)(W &))
{
    WindowCase c{name,
                 [](Deklarat &d) -> std::unique_ptr<TForm> { return std::make_unique<W>(d); },
                 [](TForm &f) { static_cast<W &>(f).FormActivate(); },
                 [buttons](TForm &f) { return buttons(static_cast<W &>(f)); },
                 [rows](TForm &f) { return rows(static_cast<W &>(f)); },
                 nullptr};
    if (lastRow)
        c.lastRow = [lastRow](TForm &f) { return lastRow(static_cast<W &>(f)); };
    return c;
}

const std::vector<WindowCase> &windowCases()
{
    static const std::vector<WindowCase> cases = {
        caseOf<TParaDig>(
            "digital parameters",
            [](TParaDig &w) {
                return std::vector<QWidget *>{w.Write, w.Read, w.Back};
            },
            [](TParaDig &w) -> QAbstractScrollArea * { return w.ScrollBox1; },
            [](TParaDig &w) -> QWidget * { return w.RadioGroup[72]; }),
        caseOf<TParaAna>(
            "16-bit analog inputs",
            [](TParaAna &w) {
                return std::vector<QWidget *>{w.Button1, w.Button2, w.Back};
            },
            [](TParaAna &w) -> QAbstractScrollArea * { return w.ScrollBox1; },
            [](TParaAna &w) -> QWidget * { return w.Row[16].ComboBox; }),
        caseOf<TParaAnaIn32Bit>(
            "32-bit analog inputs",
            [](TParaAnaIn32Bit &w) {
                return std::vector<QWidget *>{w.Button1, w.Button2, w.Back};
            },
            [](TParaAnaIn32Bit &w) -> QAbstractScrollArea * { return w.ScrollBox1; },
            [](TParaAnaIn32Bit &w) -> QWidget * { return w.Row[16].FV2_; }),
        caseOf<TParaAnaOut>(
            "analog outputs",
            [](TParaAnaOut &w) {
                return std::vector<QWidget *>{w.BRead, w.BWrite, w.BCancel};
            },
            [](TParaAnaOut &w) -> QAbstractScrollArea * { return w.SgAnaOutPara; }, nullptr),
        caseOf<TAllgePara>(
            "general parameters",
            [](TAllgePara &w) {
                return std::vector<QWidget *>{w.Write, w.Read, w.Back};
            },
            [](TAllgePara &w) -> QAbstractScrollArea * { return w.ScrollBox1; },
            [](TAllgePara &w) -> QWidget * { return w.BSetComDefault; }),
    };
    return cases;
}

const QSize Screens[] = {{1366, 768}, {1280, 1024}, {1920, 1080}};

void configureFullStation(Deklarat &d)
{
    d.StationConfig.ConfigValid = 1;
    d.StationConfig.DigOutCount = 72;
    d.StationConfig.DigOutModuleCount = 9;
    d.StationConfig.AnaInCount = 16;
    d.StationConfig.AnaIn32Count = 16;
    d.StationConfig.AnaOutCount = 16;
    d.EthernetSelected = 1; // the larger of the general window's two views
}

std::string text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// `inner` lies within `outer`'s rectangle.
bool inside(const QWidget *inner, const QWidget *outer)
{
    const QRect r(inner->mapTo(outer, QPoint(0, 0)), inner->size());
    return outer->rect().contains(r);
}

TEST(ParameterWindowFit, ScalingRuleScreenAndReachableControls)
{
    for (const WindowCase &c : windowCases()) {
        SCOPED_TRACE(c.name);
        QSize design;
        {
            BareProgram t({}, DesignScreenSize);
            const std::unique_ptr<TForm> w = c.create(t.d);
            design = w->size();
            // Nothing changes on the design screen.
            EXPECT_DOUBLE_EQ(w->font().pointSizeF(), QApplication::font().pointSizeF());
        }
        for (const QSize &screen : Screens) {
            SCOPED_TRACE(QStringLiteral("%1 x %2").arg(screen.width()).arg(screen.height()).toStdString());
            BareProgram t({}, screen);
            Deklarat &d = t.d;
            const std::unique_ptr<TForm> window = c.create(d);
            TForm *w = window.get();

            // As created: the rule, from the design size; wider only where
            // the rows' scroll bar needs room beside them, within the screen.
            const WindowScaling rule = ScaleForScreen(screen, design, QSize());
            EXPECT_EQ(w->height(), rule.clientSize.height());
            EXPECT_GE(w->width(), rule.clientSize.width());
            EXPECT_LE(w->width(), std::max(rule.clientSize.width(), screen.width() - 4));
            if (screen == DesignScreenSize) {
                EXPECT_EQ(w->size(), design);
            }
            EXPECT_NEAR(w->font().pointSizeF(), QApplication::font().pointSizeF() * rule.factor, 0.01);

            configureFullStation(d);
            w->show();
            c.activate(*w);
            QCoreApplication::processEvents();

            // On the screen, frame included.
            EXPECT_LE(w->frameGeometry().width(), screen.width());
            EXPECT_LE(w->frameGeometry().height(), screen.height());
            for (QWidget *b : c.buttons(*w)) {
                SCOPED_TRACE(b->objectName().toStdString());
                EXPECT_TRUE(b->isVisible());
                EXPECT_TRUE(inside(b, w))
                    << "in the window, not below it: " << text(QRect(b->mapTo(w, QPoint()), b->size())) << " in "
                    << text(w->rect());
            }
            QAbstractScrollArea *area = c.rows(*w);
            EXPECT_TRUE(inside(area, w));
            if (auto *rows = qobject_cast<QScrollArea *>(area)) {
                QWidget *last = c.lastRow(*w);
                rows->ensureWidgetVisible(last);
                EXPECT_TRUE(inside(last, rows->viewport()))
                    << "the last row can be scrolled to: "
                    << text(QRect(last->mapTo(rows->viewport(), QPoint()), last->size())) << " in "
                    << text(rows->viewport()->rect()) << " area " << text(rows->geometry()) << " inner "
                    << text(rows->widget()->geometry()) << " vmax " << rows->verticalScrollBar()->maximum() << " hmax "
                    << rows->horizontalScrollBar()->maximum();
                if (screen == DesignScreenSize) {
                    EXPECT_GE(rows->viewport()->height(), rows->widget()->height()) << "all rows in sight";
                }
            } else {
                auto *grid = static_cast<TParaAnaOut *>(w)->SgAnaOutPara;
                grid->scrollToItem(grid->item(grid->rowCount() - 1, 0));
                const QRect cell = grid->visualItemRect(grid->item(grid->rowCount() - 1, 0));
                EXPECT_TRUE(grid->viewport()->rect().contains(cell)) << "the last row can be scrolled to";
            }
            w->hide();
        }
    }
}

} // namespace
