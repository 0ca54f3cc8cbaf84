// The dedicated parameter windows on screens of other sizes: the scaling rule,
// the window on the screen, its buttons in sight and its rows reachable.
#include "TestStation.h"

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
#include <vector>

namespace
{

struct WindowCase {
    const char *name;
    std::function<TForm *(ProgramState &)> window;
    std::function<void(ProgramState &)> activate;
    std::function<std::vector<QWidget *>(ProgramState &)> buttons;
    // The scroll area holding the rows and the last row's control in it.
    std::function<QAbstractScrollArea *(ProgramState &)> rows;
    std::function<QWidget *(ProgramState &)> lastRow;
};

const std::vector<WindowCase> &windowCases()
{
    static const std::vector<WindowCase> cases = {
        {"digital parameters", [](ProgramState &d) -> TForm * { return d.ParaDig; },
         [](ProgramState &d) { d.ParaDig->FormActivate(); },
         [](ProgramState &d) {
             return std::vector<QWidget *>{d.ParaDig->Write, d.ParaDig->Read, d.ParaDig->Back};
         },
         [](ProgramState &d) -> QAbstractScrollArea * { return d.ParaDig->ScrollBox1; },
         [](ProgramState &d) -> QWidget * { return d.ParaDig->RadioGroup[72]; }},
        {"16-bit analog inputs", [](ProgramState &d) -> TForm * { return d.ParaAna; },
         [](ProgramState &d) { d.ParaAna->FormActivate(); },
         [](ProgramState &d) {
             return std::vector<QWidget *>{d.ParaAna->Button1, d.ParaAna->Button2, d.ParaAna->Back};
         },
         [](ProgramState &d) -> QAbstractScrollArea * { return d.ParaAna->ScrollBox1; },
         [](ProgramState &d) -> QWidget * { return d.ParaAna->Row[16].ComboBox; }},
        {"32-bit analog inputs", [](ProgramState &d) -> TForm * { return d.ParaAnaIn32Bit; },
         [](ProgramState &d) { d.ParaAnaIn32Bit->FormActivate(); },
         [](ProgramState &d) {
             return std::vector<QWidget *>{d.ParaAnaIn32Bit->Button1, d.ParaAnaIn32Bit->Button2,
                                           d.ParaAnaIn32Bit->Back};
         },
         [](ProgramState &d) -> QAbstractScrollArea * { return d.ParaAnaIn32Bit->ScrollBox1; },
         [](ProgramState &d) -> QWidget * { return d.ParaAnaIn32Bit->Row[16].FV2_; }},
        {"analog outputs", [](ProgramState &d) -> TForm * { return d.ParaAnaOut; },
         [](ProgramState &d) { d.ParaAnaOut->FormActivate(); },
         [](ProgramState &d) {
             return std::vector<QWidget *>{d.ParaAnaOut->BRead, d.ParaAnaOut->BWrite, d.ParaAnaOut->BCancel};
         },
         [](ProgramState &d) -> QAbstractScrollArea * { return d.ParaAnaOut->SgAnaOutPara; }, nullptr},
        {"general parameters", [](ProgramState &d) -> TForm * { return d.AllgePara; },
         [](ProgramState &d) { d.AllgePara->FormActivate(); },
         [](ProgramState &d) {
             return std::vector<QWidget *>{d.AllgePara->Write, d.AllgePara->Read, d.AllgePara->Back};
         },
         [](ProgramState &d) -> QAbstractScrollArea * { return d.AllgePara->ScrollBox1; },
         [](ProgramState &d) -> QWidget * { return d.AllgePara->BSetComDefault; }},
    };
    return cases;
}

const QSize Screens[] = {{1366, 768}, {1280, 1024}, {1920, 1080}};

void configureFullStation(ProgramState &d)
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
            TestStation t({}, DesignScreenSize);
            design = c.window(t.d)->size();
            // Nothing changes on the design screen.
            EXPECT_DOUBLE_EQ(c.window(t.d)->font().pointSizeF(), QApplication::font().pointSizeF());
        }
        for (const QSize &screen : Screens) {
            SCOPED_TRACE(QStringLiteral("%1 x %2").arg(screen.width()).arg(screen.height()).toStdString());
            TestStation t({}, screen);
            ProgramState &d = t.d;
            TForm *w = c.window(d);

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
            c.activate(d);
            QCoreApplication::processEvents();

            // On the screen, frame included.
            EXPECT_LE(w->frameGeometry().width(), screen.width());
            EXPECT_LE(w->frameGeometry().height(), screen.height());
            for (QWidget *b : c.buttons(d)) {
                SCOPED_TRACE(b->objectName().toStdString());
                EXPECT_TRUE(b->isVisible());
                EXPECT_TRUE(inside(b, w))
                    << "in the window, not below it: " << text(QRect(b->mapTo(w, QPoint()), b->size())) << " in "
                    << text(w->rect());
            }
            QAbstractScrollArea *area = c.rows(d);
            EXPECT_TRUE(inside(area, w));
            if (auto *rows = qobject_cast<QScrollArea *>(area)) {
                QWidget *last = c.lastRow(d);
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
                auto *grid = d.ParaAnaOut->SgAnaOutPara;
                grid->scrollToItem(grid->item(grid->rowCount() - 1, 0));
                const QRect cell = grid->visualItemRect(grid->item(grid->rowCount() - 1, 0));
                EXPECT_TRUE(grid->viewport()->rect().contains(cell)) << "the last row can be scrolled to";
            }
            w->hide();
        }
    }
}

} // namespace
