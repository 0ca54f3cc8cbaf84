#include "AnaOutFixture.h"
#include "OneWindow.h"

#include "parameters/TParaAnaOut.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using Col = TParaAnaOut::Column;

// The whole program with the description file of the output modules and a
// configuration holding `ids` (slot 1 first).
struct Window {
    explicit Window(std::vector<quint16> ids = {1, 5}, bool withFile = true)
    {
        if (withFile) {
            EXPECT_TRUE(anaoutfixture::WriteDescriptionFile(d.ProgramFolder));
        }
        d.ModuleCatalogue = LoadModuleCatalogue(d.ProgramFolder, d.BrandMode);
        configure(ids);
        w->FormActivate();
        t.sink.clear();
    }
    void configure(const std::vector<quint16> &ids, int count = -1)
    {
        int outputs = 0;
        for (size_t s = 0; s < 9; ++s) {
            const quint16 id = s < ids.size() ? ids[s] : 0;
            d.StationConfig.SlotModuleIds[s + 1] = id;
            if (id == 5 || id == 69 || id == 133)
                outputs += 4;
        }
        d.StationConfig.AnaOutCount = quint16(count < 0 ? outputs : count);
        d.StationConfig.ConfigValid = 1;
    }
    void reply(const std::vector<quint8> &pdu) { HandReply(d, pdu); }
    void readReply(const std::vector<quint16> &words)
    {
        std::vector<quint8> pdu = {8, 4, quint8(2 * words.size())};
        for (quint16 v : words) {
            pdu.push_back(quint8(v >> 8));
            pdu.push_back(quint8(v));
        }
        reply(pdu);
    }
    void read(const std::vector<quint16> &words)
    {
        w->ReadAnaOutClick();
        readReply(words);
        w->Timer2Timer();
    }
    std::vector<int> tx(int from, int count) const
    {
        return std::vector<int>(d.TxFrame.begin() + from, d.TxFrame.begin() + from + count);
    }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = w->SgAnaOutPara->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    QStringList rowTexts(int row) const
    {
        return {cell(row, Col::ChannelColumn), cell(row, Col::TypeColumn), cell(row, Col::ReactionColumn),
                cell(row, Col::WordColumn)};
    }
    void choose(QComboBox *editor, int index)
    {
        editor->setCurrentIndex(index);
        emit editor->activated(index);
    }

    OneWindow<TParaAnaOut> t;
    Deklarat &d = t.d;
    TParaAnaOut *w = t.w;
};

TEST(ParaAnaOutWindow, CreationState)
{
    OneWindow<TParaAnaOut> t;
    TParaAnaOut *w = t.w;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Parameter analoge Ausgaenge"));
    EXPECT_EQ(w->SgAnaOutPara->objectName(), QStringLiteral("SgAnaOutPara"));
    EXPECT_EQ(w->SgAnaOutPara->columnCount(), 4);
    ASSERT_EQ(w->SgAnaOutPara->rowCount(), 1); // headings only, until a configuration
    EXPECT_EQ(w->SgAnaOutPara->item(0, 1)->text(), QStringLiteral("Typ"));
    EXPECT_EQ(w->SgAnaOutPara->item(0, 3)->text(), QStringLiteral("Wort (hex)"));
    EXPECT_TRUE(w->CbAnaOutTyp->isHidden());
    EXPECT_EQ(w->CbAnaOutTyp->count(), 4);
    EXPECT_EQ(w->CbAnaOutTyp->itemText(1), QStringLiteral("-10 .. +10V"));
    EXPECT_EQ(w->CbAnaOutTyp->currentIndex(), 0);
    for (QPushButton *b : {w->BRead, w->BWrite, w->BCancel})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(w->BRead->text(), QStringLiteral("Lesen"));
    EXPECT_EQ(w->BWrite->text(), QStringLiteral("Schreiben"));
    EXPECT_EQ(w->BCancel->text(), QStringLiteral("Abbrechen"));
    EXPECT_FALSE(w->Timer2->isActive());
    EXPECT_FALSE(w->Timer4->isActive());
    EXPECT_EQ(w->AnaOutParams, AnaOutBlock{});
    SelectLanguage(t.d, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("analog Output Parameter"));
    EXPECT_EQ(w->BRead->text(), QStringLiteral("Lesen")); // not in the word list
    EXPECT_TRUE(t.sink.boxes.empty());
}

TEST(ParaAnaOutWindow, ActivationEnablesTheButtonsOnlyWithAConfiguration)
{
    OneWindow<TParaAnaOut> t;
    TParaAnaOut *w = t.w;
    w->FormActivate();
    ASSERT_EQ(t.sink.boxes.size(), 1u);
    EXPECT_EQ(t.sink.boxes[0].kind, MessageKind::Error);
    EXPECT_EQ(t.sink.boxes[0].caption, t.d.errorCaption());
    EXPECT_EQ(t.sink.boxes[0].text, QStringLiteral("Keine Konfiguration geladen"));
    EXPECT_FALSE(w->BRead->isEnabled());

    t.d.StationConfig.ConfigValid = 1;
    w->FormActivate();
    EXPECT_EQ(t.sink.boxes.size(), 1u);
    for (QPushButton *b : {w->BRead, w->BWrite, w->BCancel})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    // A configuration read under way: the message again, the buttons as they are.
    t.d.StationConfig.ConfigValid = 0;
    SelectLanguage(t.d, 1);
    w->FormActivate();
    ASSERT_EQ(t.sink.boxes.size(), 2u);
    EXPECT_EQ(t.sink.boxes[1].text, QStringLiteral("No active Configuration"));
    EXPECT_TRUE(w->BWrite->isEnabled());
}

TEST(ParaAnaOutWindow, ReadOfFourOutputs)
{
    Window x({1, 5});
    x.d.ResponseInterval = 150;
    const quint16 id = x.d.TransactionId;
    x.w->ReadAnaOutClick();
    EXPECT_EQ(x.d.TxLength, 12);
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x24, 0x00, 0, 4}));
    EXPECT_TRUE(x.w->Timer2->isActive());
    EXPECT_EQ(x.w->Timer2->interval(), 150);
    EXPECT_EQ(x.d.TransactionId, quint16(id + 1));

    x.readReply({0x0102, 0x0113, 0x8105, 0x0021});
    x.w->Timer2Timer();
    EXPECT_FALSE(x.w->Timer2->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.w->AnaOutParams[0], 0x0102);
    EXPECT_EQ(x.w->AnaOutParams[2], -32507); // sign-extended
    EXPECT_EQ(x.w->AnaOutParams[4], 0);

    ASSERT_EQ(x.w->SgAnaOutPara->rowCount(), 5);
    EXPECT_EQ(x.rowTexts(0), (QStringList{"", "Typ", "Reaktion", "Wort (hex)"}));
    EXPECT_EQ(x.rowTexts(1), (QStringList{"Kanal 1", "4..20 mA", "Ausgang 0", "0102"}));
    EXPECT_EQ(x.rowTexts(2), (QStringList{"Kanal 2", "0..10 V", "letzten Wert halten", "0113"}));
    EXPECT_EQ(x.rowTexts(3), (QStringList{"Kanal 3", "???", "Ausgang 0", "8105"}));
    EXPECT_EQ(x.rowTexts(4), (QStringList{"Kanal 4", "0..20 mA", "???", "0021"}));

    SelectLanguage(x.d, 1);
    EXPECT_EQ(x.rowTexts(0), (QStringList{"", "Type", "Reaction", "Word (hex)"}));
    EXPECT_EQ(x.cell(4, Col::ChannelColumn), QStringLiteral("Chan. 4"));
    EXPECT_EQ(x.cell(4, Col::WordColumn), QStringLiteral("0021"));
}

TEST(ParaAnaOutWindow, EachOutputModuleItsOwnObject)
{
    Window x({133, 0, 69});
    x.read({3, 3, 3, 3, 3, 3, 3, 3});
    for (int row : {1, 2})
        EXPECT_EQ(x.cell(row, Col::TypeColumn), QStringLiteral("0..10 V")) << row;
    for (int row : {3, 4, 5, 8})
        EXPECT_EQ(x.cell(row, Col::TypeColumn), QStringLiteral("-10..+10 V")) << row;
}

TEST(ParaAnaOutWindow, WriteBeforeAnyReadSendsZeros)
{
    Window x({5});
    const quint16 id = x.d.TransactionId;
    x.w->WriteAnaOutClick();
    EXPECT_EQ(x.d.TxLength, 13 + 8);
    EXPECT_EQ(x.tx(6, 15), (std::vector<int>{8, 0x10, 0x24, 0x00, 0, 4, 8, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(x.w->Timer4->isActive());
    EXPECT_EQ(x.w->Timer4->interval(), x.d.ResponseInterval);
    EXPECT_EQ(x.d.TransactionId, quint16(id + 1));
    x.reply({8, 0x10, 0x24, 0x00, 0, 4});
    x.w->Timer4Timer();
    EXPECT_FALSE(x.w->Timer4->isActive());
    EXPECT_TRUE(x.t.sink.boxes.empty()); // silent
}

TEST(ParaAnaOutWindow, NoOutputs)
{
    Window x({1, 2});
    ASSERT_EQ(x.d.StationConfig.AnaOutCount, 0);
    x.d.TxLength = 99;
    x.w->WriteAnaOutClick();
    EXPECT_EQ(x.d.TxLength, 0);
    EXPECT_FALSE(x.w->Timer4->isActive());
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x24, 0x00, 0, 0, 0}));
    x.w->ReadAnaOutClick();
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x24, 0x00, 0, 0}));
    EXPECT_TRUE(x.w->Timer2->isActive());
    x.reply({8, 4, 0});
    x.w->Timer2Timer();
    EXPECT_TRUE(x.t.sink.boxes.empty());
    EXPECT_EQ(x.w->SgAnaOutPara->rowCount(), 1);
}

TEST(ParaAnaOutWindow, TimeoutsAndExceptions)
{
    Window x({5});
    x.d.RetryLimit = 2;
    x.w->ReadAnaOutClick();
    for (int tick = 0; tick < 2; ++tick) {
        x.w->Timer2Timer();
        EXPECT_TRUE(x.w->Timer2->isActive());
    }
    x.w->Timer2Timer();
    EXPECT_FALSE(x.w->Timer2->isActive());
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].text, QStringLiteral("Timeout"));
    EXPECT_EQ(x.t.sink.boxes[0].caption, x.d.errorCaption());

    x.w->WriteAnaOutClick();
    for (int tick = 0; tick < 3; ++tick)
        x.w->Timer4Timer();
    ASSERT_EQ(x.t.sink.boxes.size(), 2u);
    EXPECT_EQ(x.t.sink.boxes[1].text, QStringLiteral("Timeout"));

    struct Case {
        quint8 code;
        const char *readText;
        const char *writeText;
    };
    const Case cases[] = {{1, "Illegal Function", " Fehler Illegal Function"},
                          {2, "Illegal Data Adress", " Fehler Illegal Data Adress"},
                          {3, "Illegal Data Value", " Fehler Illegal Data Value"},
                          {11, "", " Fehler "}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        x.t.sink.clear();
        x.w->AnaOutParams[0] = 0x0102;
        x.w->ReadAnaOutClick();
        x.reply({8, 0x84, c.code});
        x.w->Timer2Timer();
        x.w->WriteAnaOutClick();
        x.reply({8, 0x90, c.code});
        x.w->Timer4Timer();
        ASSERT_EQ(x.t.sink.boxes.size(), 2u);
        EXPECT_EQ(x.t.sink.boxes[0].text, QString::fromLatin1(c.readText));
        EXPECT_EQ(x.t.sink.boxes[1].text, QString::fromLatin1(c.writeText));
        EXPECT_EQ(x.w->AnaOutParams[0], 0x0102); // a failed read changes nothing
    }
}

TEST(ParaAnaOutWindow, OnlyTheWindowsOwnReplyIsTaken)
{
    Window x({5});
    x.read({0x0102, 0x0102, 0x0102, 0x0102});
    x.w->ReadAnaOutClick();
    const std::vector<std::vector<quint8>> foreign = {
        {8, 4, 4, 0xFF, 0xFF, 0xFF, 0xFF},                            // two words of four
        {8, 4, 8, 0xFF, 0xFF},                                        // told eight bytes, brought two
        {8, 0x17, 8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, // the cycle's reply
    };
    for (const auto &pdu : foreign) {
        x.reply(pdu);
        x.w->Timer2Timer();
        EXPECT_TRUE(x.w->Timer2->isActive());
    }
    EXPECT_EQ(x.w->AnaOutParams[0], 0x0102);
    // The next write carries the words the window had.
    x.w->WriteAnaOutClick();
    EXPECT_EQ(x.tx(13, 8), (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2}));
}

TEST(ParaAnaOutWindow, ChoosingTypeAndReactionChangesOnlyTheirBits)
{
    Window x({5, 5});
    x.read({0x0102, 0x0102, 0x0105, 0x0102, 0x0102, 0x0102, 0x0102, 0x0102});

    x.w->SgAnaOutPara->scrollToTop();
    x.w->SgAnaOutParaSelectCell(2, Col::TypeColumn);
    QComboBox *type = x.w->CbAnaOutTyp;
    ASSERT_FALSE(type->isHidden());
    EXPECT_EQ(type->count(), 4);
    EXPECT_EQ(type->itemText(0), QStringLiteral("Kanal aus"));
    EXPECT_EQ(type->currentText(), QStringLiteral("4..20 mA"));
    x.choose(type, 3);
    EXPECT_TRUE(type->isHidden());
    EXPECT_EQ(x.w->AnaOutParams[1], 0x0103);
    EXPECT_EQ(x.rowTexts(2), (QStringList{"Kanal 2", "0..10 V", "Ausgang 0", "0103"}));

    x.w->SgAnaOutParaSelectCell(7, Col::ReactionColumn);
    QComboBox *reaction = x.w->CbAnaOutReaktion;
    ASSERT_FALSE(reaction->isHidden());
    EXPECT_EQ(reaction->count(), 2);
    EXPECT_EQ(reaction->currentIndex(), 0);
    x.choose(reaction, 1);
    EXPECT_EQ(x.w->AnaOutParams[6], 0x0112);
    EXPECT_EQ(x.cell(7, Col::ReactionColumn), QStringLiteral("letzten Wert halten"));

    // A word whose type bits match no entry: no selection, and unchanged
    // unless the user picks a type.
    EXPECT_EQ(x.cell(3, Col::TypeColumn), QStringLiteral("???"));
    x.w->SgAnaOutParaSelectCell(3, Col::TypeColumn);
    EXPECT_EQ(type->currentIndex(), -1);
    x.w->SgAnaOutParaSelectCell(3, Col::ReactionColumn); // moving on closes the type choice
    EXPECT_TRUE(type->isHidden());
    x.choose(reaction, 1);
    EXPECT_EQ(x.w->AnaOutParams[2], 0x0115);
    EXPECT_EQ(x.cell(3, Col::TypeColumn), QStringLiteral("???"));

    // Channel and word columns have no choice.
    x.w->SgAnaOutParaSelectCell(1, Col::WordColumn);
    x.w->SgAnaOutParaSelectCell(1, Col::ChannelColumn);
    x.w->SgAnaOutParaSelectCell(0, Col::TypeColumn);
    EXPECT_TRUE(type->isHidden());
    EXPECT_TRUE(reaction->isHidden());

    x.w->WriteAnaOutClick();
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x24, 0x00, 0, 8, 16}));
    EXPECT_EQ(x.tx(13, 16),
              (std::vector<int>{1, 2, 1, 3, 1, 0x15, 1, 2, 1, 2, 1, 2, 1, 0x12, 1, 2})); // each only its own
}

TEST(ParaAnaOutWindow, WithoutADescriptionTheWordIsShownAndKept)
{
    Window x({5}, false);
    x.read({0x0102, 0, 0, 0});
    EXPECT_EQ(x.rowTexts(1), (QStringList{"Kanal 1", "???", "???", "0102"}));
    x.w->SgAnaOutParaSelectCell(1, Col::TypeColumn);
    EXPECT_TRUE(x.w->CbAnaOutTyp->isHidden());
    x.w->WriteAnaOutClick();
    EXPECT_EQ(x.tx(13, 2), (std::vector<int>{1, 2}));
}

TEST(ParaAnaOutWindow, MoreThanSixteenOutputsAreSaidOnceAndNeverAskedFor)
{
    Window x({5, 5, 5, 5, 5});
    ASSERT_EQ(x.d.StationConfig.AnaOutCount, 20);
    x.w->FormActivate();
    EXPECT_TRUE(x.t.sink.boxes.empty()); // said at the first activation
    x.configure({5, 5, 5, 5, 5}, 24);
    x.w->FormActivate();
    ASSERT_EQ(x.t.sink.boxes.size(), 1u);
    EXPECT_EQ(x.t.sink.boxes[0].kind, MessageKind::Information);
    EXPECT_EQ(x.w->SgAnaOutPara->rowCount(), 17);

    x.w->ReadAnaOutClick();
    EXPECT_EQ(x.tx(6, 6), (std::vector<int>{8, 4, 0x24, 0x00, 0, 16}));
    std::vector<quint16> words;
    for (int i = 0; i < 16; ++i)
        words.push_back(quint16(i));
    x.readReply(words);
    x.w->Timer2Timer();
    EXPECT_EQ(x.cell(16, Col::WordColumn), QStringLiteral("000F"));
    x.w->WriteAnaOutClick();
    EXPECT_EQ(x.d.TxLength, 13 + 32);
    EXPECT_EQ(x.tx(6, 7), (std::vector<int>{8, 0x10, 0x24, 0x00, 0, 16, 32}));
}

} // namespace
