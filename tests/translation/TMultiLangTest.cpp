#include "translation/TMultiLang.h"
#include "app/Deklarat.h"
#include "translation/Elements.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace
{

// A window with one element of every kind the pass tells apart.
struct Fixture {
    Fixture()
    {
        d.setMessageSink(&sink);
        window.setWindowTitle(QStringLiteral("design"));
    }
    template <typename T> T *add(const char *name)
    {
        auto *w = new T(&window);
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
    TMultiLang *attach(QStringList words, int designLanguage = 0)
    {
        return new TMultiLang(&window, d, std::move(words), {QStringLiteral("Arial,0"), QStringLiteral("Arial,1")},
                              static_cast<quint8>(designLanguage));
    }

    Deklarat d;
    RecordingMessageSink sink;
    QWidget window;
};

QStringList itemsOf(QComboBox *c)
{
    QStringList items;
    for (int i = 0; i < c->count(); ++i)
        items << c->itemText(i);
    return items;
}

TEST(TranslationPass, ComboWithMoreItemsThanTextsEmptiesTheRestAndKeepsSelection)
{
    Fixture f;
    auto *combo = f.add<QComboBox>("CoBoTest");
    combo->addItems({"a", "b", "c", "d", "e"});
    combo->setCurrentIndex(3);
    auto *ml = f.attach({"cobotest", "eins", "one", "\"", "zwei", "two", "\"", "drei", "three"});
    ml->SetActiveLanguage(1);
    EXPECT_EQ(itemsOf(combo), (QStringList{"one", "two", "three", "", ""}));
    EXPECT_EQ(combo->currentIndex(), 3);
}

TEST(TranslationPass, ComboWithFewerItemsPassesOverSurplusContinuations)
{
    Fixture f;
    auto *combo = f.add<QComboBox>("CoBo");
    combo->addItems({"a", "b"});
    auto *label = f.add<QLabel>("LAfter");
    auto *ml = f.attach(
        {"CoBo", "1", "one", "\"", "2", "two", "\"", "3", "three", "\"", "4", "four", "LAfter", "danach", "after"});
    ml->SetActiveLanguage(0);
    EXPECT_EQ(itemsOf(combo), (QStringList{"1", "2"}));
    EXPECT_EQ(label->text(), QStringLiteral("danach"));
}

TEST(TranslationPass, FormKeyIsCaseSensitive)
{
    Fixture f;
    auto *ml = f.attach({"%form%", "falsch", "wrong"});
    ml->SetActiveLanguage(0);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("design"));
    ml->Words = {"%Form%", "Titel", "Title"};
    ml->SetActiveLanguage(1);
    EXPECT_EQ(f.window.windowTitle(), QStringLiteral("Title"));
}

TEST(TranslationPass, EditableEditKeepsInputReadOnlyEditIsTranslated)
{
    Fixture f;
    auto *editable = f.add<QLineEdit>("EEditable");
    auto *readOnly = f.add<QLineEdit>("EReadOnly");
    readOnly->setReadOnly(true);
    auto *masked = f.add<QLineEdit>("EMasked");
    masked->setReadOnly(true);
    masked->setInputMask(QStringLiteral("999"));
    auto *label = f.add<QLabel>("LNext");
    editable->setText(QStringLiteral("user typed"));
    masked->setText(QStringLiteral("123"));
    auto *ml = f.attach(
        {"EEditable", "x", "x", "EReadOnly", "nur lesen", "read only", "EMasked", "9", "9", "LNext", "weiter", "next"});
    ml->SetActiveLanguage(1);
    EXPECT_EQ(editable->text(), QStringLiteral("user typed"));
    EXPECT_EQ(readOnly->text(), QStringLiteral("read only"));
    EXPECT_EQ(masked->text(), QStringLiteral("123"));
    EXPECT_EQ(label->text(), QStringLiteral("next"));
}

TEST(TranslationPass, RunTimeCaptionReturnsOnlyWhenTheListHasAnEntry)
{
    Fixture f;
    auto *withEntry = f.add<QLabel>("LWith");
    auto *withoutEntry = f.add<QLabel>("LWithout");
    auto *ml = f.attach({"LWith", "Liste", "list"});
    withEntry->setText(QStringLiteral("run time"));
    withoutEntry->setText(QStringLiteral("run time"));
    ml->SetActiveLanguage(0);
    EXPECT_EQ(withEntry->text(), QStringLiteral("Liste"));
    EXPECT_EQ(withoutEntry->text(), QStringLiteral("run time"));
}

TEST(TranslationPass, CaptionKindsAndEmptyTexts)
{
    Fixture f;
    auto *button = f.add<QPushButton>("BRead");
    auto *check = f.add<QCheckBox>("CBoFlag");
    auto *group = f.add<QGroupBox>("GBox");
    auto *action = new QAction(&f.window);
    action->setObjectName(QStringLiteral("Menu1"));
    button->setText(QStringLiteral("old"));
    auto *ml = f.attach(
        {"bread", "Lesen", "", "CBOFLAG", "Merker", "Flag", "GBox", "Gruppe", "Group", "Menu1", "Datei", "File"});
    ml->SetActiveLanguage(0);
    EXPECT_EQ(button->text(), QStringLiteral("Lesen"));
    EXPECT_EQ(check->text(), QStringLiteral("Merker"));
    EXPECT_EQ(group->title(), QStringLiteral("Gruppe"));
    EXPECT_EQ(action->text(), QStringLiteral("Datei"));
    ml->SetActiveLanguage(1);
    EXPECT_EQ(button->text(), QString()); // an empty text empties the caption
    EXPECT_EQ(action->text(), QStringLiteral("File"));
}

TEST(TranslationPass, ListKinds)
{
    Fixture f;
    auto *empty = f.add<QListWidget>("LBEmpty");
    auto *list = f.add<QListWidget>("LBItems");
    list->addItems({"x", "y", "z"});
    auto *tabs = f.add<QTabWidget>("TCTabs");
    tabs->addTab(new QWidget, "t1");
    tabs->addTab(new QWidget, "t2");
    auto *label = f.add<QLabel>("LAfter");
    // The empty list takes no entry: its own entry is passed over, the walk
    // goes on with the next key.
    auto *ml = f.attach({"LBEmpty", "leer", "empty", "LBItems", "eins", "one", "\"", "zwei", "two", "TCTabs", "Reiter",
                         "Tab", "LAfter", "danach", "after"});
    ml->SetActiveLanguage(1);
    EXPECT_EQ(empty->count(), 0);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("one"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("two"));
    EXPECT_EQ(list->item(2)->text(), QString());
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Tab"));
    EXPECT_EQ(tabs->tabText(1), QString());
    EXPECT_EQ(label->text(), QStringLiteral("after"));
}

TEST(TranslationPass, RadioGroupTakesCaptionThenItems)
{
    Fixture f;
    auto *radio = f.add<TRadioGroup>("RGMode");
    radio->setItems({"a", "b", "c"});
    radio->setItemIndex(2);
    auto *ml = f.attach({"RGMode", "Modus", "Mode", "x", "erster", "first", "\"", "zweiter", "second"});
    ml->SetActiveLanguage(1);
    EXPECT_EQ(radio->title(), QStringLiteral("Mode"));
    EXPECT_EQ(radio->itemText(0), QStringLiteral("first"));
    EXPECT_EQ(radio->itemText(1), QStringLiteral("second"));
    EXPECT_EQ(radio->itemText(2), QString());
    EXPECT_EQ(radio->itemIndex(), 2);
}

TEST(TranslationPass, StatusBarSimpleTextThenPanelsOthersKept)
{
    Fixture f;
    auto *bar = f.add<TStatusBar>("StatusBar1");
    bar->addPanel(150);
    bar->addPanel(150);
    bar->addPanel(50);
    bar->setPanelText(2, QStringLiteral("kept"));
    auto *ml = f.attach({"StatusBar1", "einfach", "simple", "\"", "p1", "p1e", "\"", "p2", "p2e"});
    ml->SetActiveLanguage(1);
    EXPECT_EQ(bar->simpleText(), QStringLiteral("simple"));
    EXPECT_EQ(bar->panelText(0), QStringLiteral("p1e"));
    EXPECT_EQ(bar->panelText(1), QStringLiteral("p2e"));
    EXPECT_EQ(bar->panelText(2), QStringLiteral("kept"));
}

TEST(TranslationPass, MemoOnlyWhenReadOnly)
{
    Fixture f;
    auto *readOnly = f.add<QPlainTextEdit>("MRead");
    readOnly->setReadOnly(true);
    readOnly->setPlainText(QStringLiteral("Senden\nline2"));
    auto *editable = f.add<QPlainTextEdit>("MEdit");
    editable->setPlainText(QStringLiteral("user"));
    auto *label = f.add<QLabel>("LAfter");
    auto *ml = f.attach({"MRead", "Senden", "Transmitt", "MEdit", "x", "x", "LAfter", "a", "b"});
    ml->SetActiveLanguage(1);
    EXPECT_EQ(readOnly->toPlainText(), QStringLiteral("Transmitt\n"));
    EXPECT_EQ(editable->toPlainText(), QStringLiteral("user"));
    EXPECT_EQ(label->text(), QStringLiteral("b"));
}

TEST(TranslationPass, OpenDialogTakesTitleAndFilter)
{
    Fixture f;
    auto *open = new TOpenDialog(&f.window);
    open->setObjectName(QStringLiteral("OpenDialog1"));
    auto *ml = f.attach({"OpenDialog1", "Öffnen", "Open", "x", "Texte (*.txt)", "Texts (*.txt)"});
    ml->SetActiveLanguage(1);
    EXPECT_EQ(open->title, QStringLiteral("Open"));
    EXPECT_EQ(open->filter, QStringLiteral("Texts (*.txt)"));
}

TEST(TranslationPass, HintEntriesAndElementsWithoutText)
{
    Fixture f;
    auto *button = f.add<QPushButton>("BHint");
    auto *edit = f.add<QLineEdit>("EHint");
    auto *grid = f.add<QTableWidget>("SGGrid");
    auto *label = f.add<QLabel>("LAfter");
    auto *ml = f.attach({"BHint", "Knopf",   "Button",  "\".Hint", "Tipp",   "Tip",    "EHint",
                         "-",     "-",       "\".HINT", "Feld",    "Field",  "SGGrid", "-",
                         "-",     "\".hint", "",        "",        "LAfter", "ende",   "end"});
    grid->setToolTip(QStringLiteral("kept"));
    ml->SetActiveLanguage(1);
    EXPECT_EQ(button->text(), QStringLiteral("Button"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Tip"));
    EXPECT_EQ(edit->toolTip(), QStringLiteral("Field"));
    EXPECT_EQ(grid->toolTip(), QStringLiteral("kept")); // empty hint text changes nothing
    EXPECT_EQ(label->text(), QStringLiteral("end"));
}

TEST(TranslationPass, MessageEntriesAndUnknownKeysArePassedOver)
{
    Fixture f;
    auto *a = f.add<QLabel>("LA");
    auto *b = f.add<QLabel>("LB");
    auto *ml = f.attach({"LA", "a-de", "a-en", "@idMsg", "Meldung", "message", "NoSuchElement", "x", "y", "\"", "stray",
                         "stray", "LB", "b-de", "b-en"});
    ml->SetActiveLanguage(0);
    EXPECT_EQ(a->text(), QStringLiteral("a-de"));
    EXPECT_EQ(b->text(), QStringLiteral("b-de"));
}

TEST(TranslationPass, LanguageOutOfRangeIsRefusedWithABox)
{
    Fixture f;
    auto *label = f.add<QLabel>("LA");
    auto *ml = f.attach({"LA", "de", "en"});
    ml->SetActiveLanguage(0);
    ml->SetActiveLanguage(2);
    EXPECT_EQ(ml->ActiveLanguage(), 0);
    EXPECT_EQ(label->text(), QStringLiteral("de"));
    ASSERT_EQ(f.sink.boxes.size(), 1u);
    EXPECT_EQ(f.sink.boxes[0].text, QStringLiteral("Value must not be higher than\rnumber of available languages."));
    EXPECT_EQ(f.sink.boxes[0].buttons, QMessageBox::Cancel);
    EXPECT_EQ(f.sink.boxes[0].kind, MessageKind::Information);
}

TEST(TranslationPass, FontFollowsLanguageAndDesignFontIsKept)
{
    Fixture f;
    auto *ml = new TMultiLang(&f.window, f.d, {}, {"Arial,1", "Liberation Serif,0"}, 1);
    // The English design font is applied at creation.
    EXPECT_EQ(f.window.font().family(), QStringLiteral("Liberation Serif"));
    ml->SetActiveLanguage(0);
    EXPECT_EQ(f.window.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(f.window.property(TMultiLang::CharSetProperty).toInt(), 1);
    EXPECT_EQ(ml->CharSets, (QStringList{"Arial,1", "Liberation Serif,0"}));
    ml->SetActiveLanguage(1);
    EXPECT_EQ(f.window.font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(f.window.property(TMultiLang::CharSetProperty).toInt(), 0);
}

TEST(TranslationPass, MissingFontEntriesAreFilledWithTheCurrentFont)
{
    Fixture f;
    QFont font = f.window.font();
    font.setFamily(QStringLiteral("Liberation Mono"));
    f.window.setFont(font);
    auto *ml = new TMultiLang(&f.window, f.d, {}, {}, 0);
    ml->SetActiveLanguage(1);
    EXPECT_EQ(ml->CharSets, (QStringList{"Liberation Mono,0", "Liberation Mono,0"}));
}

TEST(LookupMessage, CaseInsensitiveWithLowerCaseFallback)
{
    Fixture f;
    auto *ml = f.attach({"LA", "x", "y", "@idERR_CONF", "Keine Konfiguration geladen", "No active Configuration",
                         "@Empty", "", "empty"});
    ml->SetActiveLanguage(0);
    EXPECT_EQ(ml->LookupMessage("@IDerr_conf"), QStringLiteral("Keine Konfiguration geladen"));
    EXPECT_EQ(ml->LookupMessage("@Missing_ID"), QStringLiteral("@missing_id"));
    EXPECT_EQ(ml->LookupMessage("@empty"), QString());
    EXPECT_EQ(ml->LookupMessage("la"), QStringLiteral("x")); // any entry counts
    ml->SetActiveLanguage(1);
    EXPECT_EQ(ml->LookupMessage("@idERR_CONF"), QStringLiteral("No active Configuration"));
    EXPECT_EQ(ml->LookupMessage("@empty"), QStringLiteral("empty"));
}

TEST(SelectLanguageTest, ReachesEveryComponentAndSkipsThoseWithFewerLanguages)
{
    Fixture f;
    auto *a = f.add<QLabel>("LA");
    auto *ml = f.attach({"LA", "de", "en"});
    QWidget other;
    auto *b = new QLabel(&other);
    b->setObjectName(QStringLiteral("LB"));
    auto *single = new TMultiLang(&other, f.d, {"LB", "nur"}, {}, 0);
    single->Languages = 1;
    ml->SetActiveLanguage(0);
    SelectLanguage(f.d, 1);
    EXPECT_EQ(a->text(), QStringLiteral("en"));
    EXPECT_EQ(single->ActiveLanguage(), 0);
    EXPECT_EQ(f.d.CurrentLanguage, 1);
    EXPECT_TRUE(f.sink.boxes.empty());
}

TEST(SelectLanguageTest, RegistryFollowsCreationAndDestruction)
{
    Fixture f;
    auto *first = f.attach({});
    {
        QWidget temporary;
        auto *second = new TMultiLang(&temporary, f.d, {}, {}, 0);
        ASSERT_EQ(f.d.Translations.components().size(), 2u);
        EXPECT_EQ(f.d.Translations.components()[0], first);
        EXPECT_EQ(f.d.Translations.components()[1], second);
    }
    ASSERT_EQ(f.d.Translations.components().size(), 1u);
    SelectLanguage(f.d, 1); // must not touch the destroyed component
    EXPECT_EQ(first->ActiveLanguage(), 1);
}

} // namespace
