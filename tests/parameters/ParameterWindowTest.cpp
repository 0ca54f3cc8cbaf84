// The parameter overview: its grid of names and pictures, the hint, and the
// double click that opens an editor modally and destroys it when it closes.
#include "ParameterFixture.h"

#include "parameters/TParamEdit.h"
#include "parameters/TParameter.h"
#include "parameters/TZusatzIOEdit.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

using parameterfixture::ParameterFiles;
using parameterfixture::ParameterOverview;

// The column's cell as the grid paints it.
QImage PaintedCell(TParameter &w, int column, int row)
{
    const QSize size(w.SGParam->columnWidth(column), w.SGParam->rowHeight(row));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    w.SGParamDrawCell(&painter, column, row, QRect(QPoint(0, 0), size));
    return image;
}

bool Blank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

TEST(ParameterWindow, GridSizesFollowTheEmptySlotPicture)
{
    ParameterFiles s;
    QImage picture(50, 120, QImage::Format_RGB32);
    picture.fill(Qt::darkGray);
    ASSERT_TRUE(picture.save(s.d.ProgramFolder + QStringLiteral("Img3100.png")));
    TParameter w(s.d);
    EXPECT_EQ(w.SGParam->columnCount(), 11);
    EXPECT_EQ(w.SGParam->rowCount(), 2);
    for (int c = 0; c < 11; ++c)
        EXPECT_EQ(w.SGParam->columnWidth(c), 50) << c;
    EXPECT_EQ(w.SGParam->rowHeight(0), 24);
    EXPECT_EQ(w.SGParam->rowHeight(1), 120);
    EXPECT_EQ(w.SGParam->width(), 11 * 50 + 14);
    EXPECT_EQ(w.SGParam->height(), 24 + 120 + 24 + 6);
    EXPECT_EQ(w.TimerDeleteHint->interval(), 2500);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Parameter"));
    EXPECT_EQ(w.Panel1->text(),
              QStringLiteral("Mit einem Doppelklick auf das entsprechende Modul öffnet sich der Parameterdialog"));
    SelectLanguage(s.d, 1);
    EXPECT_EQ(w.Panel1->text(), QStringLiteral("Double click on modul  to open the parameter dialog"));
    EXPECT_EQ(w.BBack->text(), QStringLiteral("Back"));
}

TEST(ParameterWindow, NamesAndPicturesOfThePositions)
{
    ParameterOverview s;
    TParameter &w = *s.overview;
    // Before any configuration read: every column is empty.
    EXPECT_EQ(s.d.StationPositions[0].ModuleId, 0);
    QImage red(60, 160, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString file = s.folder.filePath(QStringLiteral("red.png"));
    ASSERT_TRUE(red.save(file));
    s.d.ModuleCatalogue[1].PictureFile = file;
    s.configure({1, 4});
    w.DefaultDataLaden();
    EXPECT_EQ(s.d.StationPositions[0].ModuleId, 245);
    // Names: the first seven characters, "----" without one.
    EXPECT_EQ(w.HintText(1), QStringLiteral("NX 600 Buskoppler"));
    EXPECT_EQ(w.HintText(2), QStringLiteral("NX 651 8 x DO 24 V DC"));
    EXPECT_EQ(w.HintText(4), QStringLiteral("leer")) << "module 0 has no name in this file";
    EXPECT_FALSE(Blank(PaintedCell(w, 2, 0)));
    // A picture 4 pixels below the cell's top.
    const QImage picture = PaintedCell(w, 2, 1);
    EXPECT_EQ(picture.pixel(10, 2), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(10, 10), qRgb(255, 0, 0));
    // The fixed column paints nothing.
    EXPECT_TRUE(Blank(PaintedCell(w, 0, 0)));
    SelectLanguage(s.d, 1);
    EXPECT_EQ(w.HintText(4), QStringLiteral("empty"));
}

TEST(ParameterWindow, HintOnAClickIntoThePictures)
{
    ParameterOverview s;
    TParameter &w = *s.overview;
    s.configure({1});
    w.DefaultDataLaden();
    w.show();
    w.SGParamMouseMove(QPoint(30, 40));
    w.SGParamClick(2, 1);
    EXPECT_TRUE(w.HintWindow->isVisible());
    EXPECT_EQ(w.HintWindow->text(), QStringLiteral("NX 651 8 x DO 24 V DC"));
    EXPECT_EQ(w.HintWindow->pos(), QPoint(w.SGParam->x() + 30 + w.x() + 20, w.SGParam->y() + 40 + w.y() + 95));
    EXPECT_EQ(w.HintWindow->width(), QFontMetrics(w.HintWindow->font()).horizontalAdvance(w.HintWindow->text()) + 10);
    EXPECT_TRUE(w.TimerDeleteHint->isActive());
    w.TimerDeleteHintTimer();
    EXPECT_FALSE(w.HintWindow->isVisible());

    w.SGParamClick(3, 1);
    EXPECT_TRUE(w.HintWindow->isVisible());
    w.SGParamClick(3, 0); // the names row: the hint goes
    EXPECT_FALSE(w.HintWindow->isVisible());
    w.SGParamClick(0, 1);
    EXPECT_FALSE(w.HintWindow->isVisible());
    w.hide();
}

TEST(ParameterWindow, DoubleClickOpensTheEditorOfThePosition)
{
    ParameterOverview s;
    TParameter &w = *s.overview;
    // Before a configuration read nothing opens.
    w.SGParamDblClick(1, 1);
    EXPECT_EQ(w.OpenEditor(), nullptr);

    s.configure({1, 0, 4});
    w.DefaultDataLaden();
    w.SGParamDblClick(3, 1); // the empty slot 2
    EXPECT_EQ(w.OpenEditor(), nullptr);
    w.SGParamDblClick(2, 0); // the names row
    EXPECT_EQ(w.OpenEditor(), nullptr);

    w.SGParamMouseMove(QPoint(5, 5));
    w.SGParamClick(4, 1);
    w.SGParamDblClick(4, 1);
    EXPECT_FALSE(w.HintWindow->isVisible());
    EXPECT_EQ(s.d.SelectedPosition, 3);
    QPointer<QDialog> editor = w.OpenEditor();
    ASSERT_NE(qobject_cast<TZusatzIOEdit *>(editor.data()), nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->isModal());
    // Modal: a second double click while it is open opens nothing else.
    w.SGParamDblClick(1, 1);
    EXPECT_EQ(w.OpenEditor(), editor.data());
    EXPECT_EQ(s.d.SelectedPosition, 3);

    editor->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(w.OpenEditor(), nullptr);

    w.SGParamDblClick(1, 1);
    EXPECT_EQ(s.d.SelectedPosition, 0);
    ASSERT_NE(qobject_cast<TParamEdit *>(w.OpenEditor()), nullptr);
    w.OpenEditor()->reject();
}

TEST(ParameterWindow, DoubleClickWithTheMouse)
{
    ParameterOverview s;
    TParameter &w = *s.overview;
    s.configure({2});
    w.DefaultDataLaden();
    w.show();
    const QRect cell = w.SGParam->visualRect(w.SGParam->model()->index(1, 2));
    // As the platform delivers a double click: a click, then the double click.
    QTest::mouseClick(w.SGParam->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(w.SGParam->viewport(), Qt::LeftButton, {}, cell.center());
    auto *editor = qobject_cast<TZusatzIOEdit *>(w.OpenEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(s.d.SelectedPosition, 1);
    // The other windows take no input while it is open.
    EXPECT_EQ(QApplication::activeModalWidget(), editor);
    editor->CancelBtn->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.OpenEditor(), nullptr);
    w.hide();
}

} // namespace
