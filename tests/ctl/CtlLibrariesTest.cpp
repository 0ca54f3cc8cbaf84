// vo3112ctl runs where there is no display: none of the libraries it loads
// is Qt Widgets or Qt Gui.
#include <QProcess>

#include <gtest/gtest.h>

namespace
{

TEST(CtlLibraries, LoadsNeitherWidgetsNorGui)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QStringLiteral(VO_CTL_BINARY)});
    ASSERT_TRUE(ldd.waitForFinished(10000));
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    ASSERT_TRUE(libraries.contains(QStringLiteral("libQt6Core"))) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains(QStringLiteral("libQt6Widgets"))) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains(QStringLiteral("libQt6Gui"))) << libraries.toStdString();
}

} // namespace
