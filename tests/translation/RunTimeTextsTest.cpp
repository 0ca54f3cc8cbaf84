// Texts that windows set while they run follow the language like the texts of
// the word lists: after a switch every window shows the new language, and a
// switch back brings the old one.
#include "../process/StationFixture.h"
#include "TestStation.h"
#include "app/Deklarat.h"
#include "diagnostics/TAlarmMaske.h"
#include "diagnostics/TFehler.h"
#include "link/TSIOTransfer.h"
#include "monitor/TAboutBox.h"
#include "monitor/TStatistik.h"
#include "monitor/TVo3112CCC.h"
#include "parameters/TAllgePara.h"
#include "parameters/TParaAna.h"
#include "parameters/TParaAnaIn32Bit.h"
#include "parameters/TParaAnaOut.h"
#include "parameters/TParaDig.h"
#include "parameters/TParameter.h"
#include "process/TCont.h"
#include "process/TTrend.h"
#include "station/TDeviceConfigForm.h"
#include "translation/TOKBottomDlg.h"
#include "translation/WordLists.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QTableWidget>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace
{

std::vector<QWidget *> Windows(ProgramState &d)
{
    return {d.Vo3112CCC,  d.DeviceConfigForm, d.ParaDig,     d.Fehler,    d.SIOTransfer, d.ParaAna,
            d.Cont,       d.AboutBox,         d.OKBottomDlg, d.AllgePara, d.ParaAnaOut,  d.ParaAnaIn32Bit,
            d.AlarmMaske, d.Parameter,        d.Statistik,   d.Trend};
}

// Every text a user can read in the window, with where it stands.
std::vector<std::pair<QString, QString>> ShownTexts(QWidget *window)
{
    std::vector<std::pair<QString, QString>> texts{
        {window->objectName() + QStringLiteral(" title"), window->windowTitle()}};
    auto add = [&](const QObject *o, const QString &text) { texts.emplace_back(o->objectName(), text); };
    for (QObject *o : window->findChildren<QObject *>()) {
        if (auto *label = qobject_cast<QLabel *>(o)) {
            add(o, label->text());
        } else if (auto *button = qobject_cast<QAbstractButton *>(o)) {
            add(o, button->text());
        } else if (auto *group = qobject_cast<QGroupBox *>(o)) {
            add(o, group->title());
        } else if (auto *grid = qobject_cast<QTableWidget *>(o)) {
            for (int r = 0; r < grid->rowCount(); ++r)
                for (int c = 0; c < grid->columnCount(); ++c)
                    if (const QTableWidgetItem *item = grid->item(r, c))
                        texts.emplace_back(QStringLiteral("%1(%2,%3)").arg(o->objectName()).arg(r).arg(c),
                                           item->text());
            for (int c = 0; c < grid->columnCount(); ++c)
                if (const QTableWidgetItem *item = grid->horizontalHeaderItem(c))
                    add(o, item->text());
        } else if (auto *combo = qobject_cast<QComboBox *>(o)) {
            for (int i = 0; i < combo->count(); ++i)
                add(o, combo->itemText(i));
        } else if (auto *tabs = qobject_cast<QTabBar *>(o)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(o, tabs->tabText(i));
        } else if (auto *edit = qobject_cast<QLineEdit *>(o)) {
            if (edit->isReadOnly())
                add(o, edit->text());
        } else if (auto *list = qobject_cast<QListWidget *>(o)) {
            for (int i = 0; i < list->count(); ++i)
                add(o, list->item(i)->text());
        } else if (auto *menu = qobject_cast<QMenu *>(o)) {
            add(o, menu->title());
        } else if (auto *action = qobject_cast<QAction *>(o)) {
            add(o, action->text());
        }
    }
    return texts;
}

std::vector<QStringList> AllWordLists()
{
    return {TVo3112CCCWords(),    TDeviceConfigFormWords(), TParaDigWords(),
            TFehlerWords(),       TSIOTransferWords(),      TParaAnaWords(),
            TContWords(),         TAboutBoxWords(),         TOKBottomDlgWords(),
            TAllgeParaWords(),    TParaAnaOutWords(),       TParaAnaIn32BitWords(),
            TAlarmMaskeWords(),   TParameterWords(),        TParamEditWords(),
            TZusatzIOEditWords(), TStatistikWords(),        TTrendWords()};
}

// German texts of the lists whose English differs and that no list uses as
// an English text: seen in English, they were left behind.
std::set<QString> GermanOnlyTexts()
{
    std::set<QString> german;
    std::set<QString> english;
    for (const QStringList &words : AllWordLists()) {
        for (int p = 0; p + 2 < words.size(); p += 3) {
            const QString de = words[p + 1].trimmed();
            const QString en = words[p + 2].trimmed();
            english.insert(en);
            if (!de.isEmpty() && de != en)
                german.insert(de);
        }
    }
    for (const QString &en : english)
        german.erase(en);
    return german;
}

// Texts the description says read the same in both languages although they
// are German.
bool SameInBothLanguages(const QWidget *window, const QString &where)
{
    return window->objectName() == QLatin1String("TParaAnaOut") &&
           (where == QLatin1String("BRead") || where == QLatin1String("BWrite"));
}

// Replies of the coupler to the error window's read sequence of the demo
// station: error word, 8 analog input codes, 2 compensation words, 4 analog
// output codes, 2 digital output module words.
void ReadErrors(ProgramState &d)
{
    const std::vector<std::vector<quint16>> replies = {
        {0x8005}, {0, 3, 5, 9, 1, 0, 0, 0}, {0, 1}, {0, 3, 9, 0}, {0x0031, 0x0004}};
    d.Fehler->BReadErrorClick();
    for (const std::vector<quint16> &words : replies) {
        std::vector<quint8> pdu = {d.SlaveAddress, 4, static_cast<quint8>(2 * words.size())};
        for (quint16 w : words) {
            pdu.push_back(static_cast<quint8>(w >> 8));
            pdu.push_back(static_cast<quint8>(w));
        }
        HandReply(d, pdu);
        d.Fehler->AnfrageTimer();
    }
}

struct ShownText {
    const char *where;
    std::function<QString(ProgramState &)> text;
    QString german;
    QString english;
    bool startsWith = false; // the rest is a time of day
};

QString Cell(const QTableWidget *grid, int row, int column)
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QStringLiteral("(no cell)");
}

std::vector<ShownText> RunTimeTextTable()
{
    using D = ProgramState &;
    std::vector<ShownText> table = {
        {"control: input grid, channel", [](D d) { return Cell(d.Cont->SG_ProValueIn, 0, 0); }, u"Kanal"_qs,
         u"Channel"_qs},
        {"control: input grid, value", [](D d) { return Cell(d.Cont->SG_ProValueIn, 0, 1); }, u"Prozeßwert"_qs,
         u"Process Value"_qs},
        {"control: output grid, channel", [](D d) { return Cell(d.Cont->SG_ProValueOut, 0, 0); }, u"Kanal"_qs,
         u"Channel"_qs},
        {"control: output grid, value", [](D d) { return Cell(d.Cont->SG_ProValueOut, 0, 1); }, u"Prozeßwert"_qs,
         u"Process Value"_qs},
        {"control: analog inputs", [](D d) { return d.Cont->LAnaInput->text(); }, u"Analoge Eingänge"_qs,
         u"Analog Input"_qs},
        {"control: analog outputs", [](D d) { return d.Cont->LAnaOutput->text(); }, u"Analoge Ausgänge"_qs,
         u"Analog Output"_qs},
        {"control: values not current", [](D d) { return d.Cont->LNotCurrent->text(); }, u"keine Antwort seit "_qs,
         u"no answer since "_qs, true},
        {"main window: open free communication", [](D d) { return d.Vo3112CCC->BFreeCom->text(); }, u"Schließen"_qs,
         u"Close"_qs},
        {"error window: coupler bit 0", [](D d) { return Cell(d.Fehler->SGKopplerFehler, 1, 1); },
         u"Fehler digitale Eingänge"_qs, u"digital Input Error"_qs},
        {"error window: coupler bit 2", [](D d) { return Cell(d.Fehler->SGKopplerFehler, 3, 1); },
         u"Fehler analoge Eingänge"_qs, u"analog Input Error"_qs},
        {"error window: coupler bit 15", [](D d) { return Cell(d.Fehler->SGKopplerFehler, 16, 1); },
         u"neue Modulkonfiguration"_qs, u"new Modul Configuration"_qs},
        {"error window: analog input ok", [](D d) { return Cell(d.Fehler->SGModulFehler, 1, 1); }, u"Ok"_qs, u"Ok"_qs},
        {"error window: analog input code 3", [](D d) { return Cell(d.Fehler->SGModulFehler, 2, 1); },
         u"Wert Überlauf"_qs, u"Overflow Value"_qs},
        {"error window: analog input code 5", [](D d) { return Cell(d.Fehler->SGModulFehler, 3, 1); },
         u"Wert Unterlauf"_qs, u"Underflow Value"_qs},
        {"error window: analog input code 9", [](D d) { return Cell(d.Fehler->SGModulFehler, 4, 1); },
         u"Kalibrationsfehler"_qs, u"Calibration Error"_qs},
        {"error window: analog input code 1 leaves the cell", [](D d) { return Cell(d.Fehler->SGModulFehler, 5, 1); },
         u" "_qs, u" "_qs},
        {"error window: compensation", [](D d) { return Cell(d.Fehler->SGModulFehler, 2, 2); },
         u"Übertragungsfehler"_qs, u"Transmission Error"_qs},
        {"error window: analog output code 3", [](D d) { return Cell(d.Fehler->SGModulFehler, 2, 3); },
         u"Kalibrationsfehler"_qs, u"Calibration Error"_qs},
        {"error window: digital output 0x0031", [](D d) { return Cell(d.Fehler->SGModulFehler, 1, 4); },
         u"Leerlauf Kanal 1/2, 3/4;  Kurzschluß Kanal 1/2"_qs, u"Break Channel 1/2, 3/4;  Shortcut Channel 1/2"_qs},
        {"error window: digital output 0x0004", [](D d) { return Cell(d.Fehler->SGModulFehler, 2, 4); },
         u"Kurzschluß Kanal 5/6"_qs, u"Shortcut Channel 5/6"_qs},
    };
    const QString module[][2] = {{u"Modul / Kanal"_qs, u"Modul / Channel"_qs},
                                 {u"analoger Eingang"_qs, u"analog Input"_qs},
                                 {u"Kompensation"_qs, u"Compensation"_qs},
                                 {u"analoger Ausgang"_qs, u"analog Output"_qs},
                                 {u"digitaler Ausgang"_qs, u"digital Output"_qs}};
    for (int c = 0; c < 5; ++c)
        table.push_back({"error window: module grid heading", [c](D d) { return Cell(d.Fehler->SGModulFehler, 0, c); },
                         module[c][0], module[c][1]});
    const QString coupler[][2] = {
        {u"Nummer"_qs, u"Number"_qs}, {u"Fehler"_qs, u"Error"_qs}, {u"Reset"_qs, u"Reset"_qs}};
    for (int c = 0; c < 3; ++c)
        table.push_back({"error window: coupler grid heading",
                         [c](D d) { return Cell(d.Fehler->SGKopplerFehler, 0, c); }, coupler[c][0], coupler[c][1]});
    return table;
}

void CheckTexts(ProgramState &d, bool english)
{
    for (const ShownText &row : RunTimeTextTable()) {
        const QString shown = row.text(d);
        const QString &expected = english ? row.english : row.german;
        if (row.startsWith) {
            EXPECT_TRUE(shown.startsWith(expected) && shown.size() == expected.size() + 8)
                << row.where << ": " << shown.toStdString();
        } else {
            EXPECT_EQ(shown, expected) << row.where;
        }
    }
}

} // namespace

// A station read, the error registers read, the cycle without answer and the
// free communication open; then the language switched there and back.
TEST(RunTimeTexts, FollowTheLanguageInEveryWindow)
{
    TestStation t;
    ProgramState &d = t.d;
    stationfixture::LoadStation(d.StationConfig, stationfixture::DemoSlots);
    d.Cont->FormActivate();
    d.Fehler->FormActivate();
    d.ParaAna->FormActivate();
    d.ParaAnaIn32Bit->FormActivate();
    d.ParaAnaOut->FormActivate();
    d.ParaDig->FormActivate();
    d.AllgePara->FormActivate();
    ReadErrors(d);
    d.RetryLimit = 0;
    d.Cont->BStartClick();
    d.Cont->AnfrageTimer();
    d.Cont->AntwortTimer(); // no reply
    d.Cont->BStopClick();
    d.TcpConnected = 1;
    d.Vo3112CCC->BFreeComClick();
    {
        SCOPED_TRACE("German");
        CheckTexts(d, false);
    }

    SelectLanguage(d, 1);
    {
        SCOPED_TRACE("English");
        CheckTexts(d, true);
        // Nothing else a window shows is left in German.
        const std::set<QString> german = GermanOnlyTexts();
        for (QWidget *window : Windows(d))
            for (const auto &[where, text] : ShownTexts(window))
                if (!SameInBothLanguages(window, where)) {
                    EXPECT_EQ(german.count(text.trimmed()), 0u) << window->objectName().toStdString() << " "
                                                                << where.toStdString() << ": " << text.toStdString();
                }
    }

    SelectLanguage(d, 0);
    {
        SCOPED_TRACE("German again");
        CheckTexts(d, false);
    }
}
