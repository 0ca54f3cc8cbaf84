#include "translation/TMultiLang.h"

#include "app/Deklarat.h"
#include "app/Messages.h"
#include "translation/Elements.h"
#include "translation/WordLookup.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <functional>

namespace
{

const QString FormKey = QStringLiteral("%Form%");
const QString ContinuationKey = QStringLiteral("\"");
const QString HintKey = QStringLiteral("\".hint");

// Item access for the kinds that hold a list of texts.
struct ItemList {
    int count = 0;
    std::function<void(int, const QString &)> set;
};

ItemList itemsOf(QObject *element)
{
    if (auto *list = qobject_cast<QListWidget *>(element))
        return {list->count(), [list](int i, const QString &t) { list->item(i)->setText(t); }};
    if (auto *combo = qobject_cast<QComboBox *>(element))
        return {combo->count(), [combo](int i, const QString &t) { combo->setItemText(i, t); }};
    if (auto *tabs = qobject_cast<QTabWidget *>(element))
        return {tabs->count(), [tabs](int i, const QString &t) { tabs->setTabText(i, t); }};
    if (auto *bar = qobject_cast<QTabBar *>(element))
        return {bar->count(), [bar](int i, const QString &t) { bar->setTabText(i, t); }};
    return {};
}

QStringList memoLines(QObject *element)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(element))
        return plain->toPlainText().split(QLatin1Char('\n'));
    if (auto *rich = qobject_cast<QTextEdit *>(element))
        return rich->toPlainText().split(QLatin1Char('\n'));
    return {};
}

void setMemoLines(QObject *element, const QStringList &lines)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(element))
        plain->setPlainText(lines.join(QLatin1Char('\n')));
    else if (auto *rich = qobject_cast<QTextEdit *>(element))
        rich->setPlainText(lines.join(QLatin1Char('\n')));
}

bool isMemo(QObject *element)
{
    return qobject_cast<QPlainTextEdit *>(element) || qobject_cast<QTextEdit *>(element);
}

bool memoReadOnly(QObject *element)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(element))
        return plain->isReadOnly();
    if (auto *rich = qobject_cast<QTextEdit *>(element))
        return rich->isReadOnly();
    return false;
}

bool canShowHint(QObject *element)
{
    return element->isWidgetType() || qobject_cast<QAction *>(element);
}

void setHint(QObject *element, const QString &text)
{
    if (auto *w = qobject_cast<QWidget *>(element))
        w->setToolTip(text);
    else if (auto *a = qobject_cast<QAction *>(element))
        a->setToolTip(text);
}

} // namespace

FontEntry ParseFontEntry(const QString &entry)
{
    FontEntry font;
    const int comma = entry.indexOf(QLatin1Char(','));
    if (comma < 0) {
        font.face = entry;
        return font;
    }
    font.face = entry.left(comma);
    font.charSet = entry.mid(comma + 1).trimmed().toInt();
    return font;
}

TMultiLang::TMultiLang(QWidget *owner, Deklarat &d, QStringList words, QStringList charSets, quint8 designLanguage)
    : QObject(owner), Words(std::move(words)), CharSets(std::move(charSets)), owner_(owner), d_(d),
      activeLanguage_(designLanguage)
{
    setObjectName(QStringLiteral("MultiLang1"));
    if (designLanguage < CharSets.size())
        applyFont(CharSets.at(designLanguage));
    d_.Translations.add(this);
}

TMultiLang::~TMultiLang()
{
    d_.Translations.remove(this);
}

QString TMultiLang::keyAt(int entryStart) const
{
    return entryStart < Words.size() ? Words.at(entryStart) : QString();
}

QString TMultiLang::textAt(int entryStart, int language) const
{
    const int index = entryStart + language + 1;
    return index < Words.size() ? Words.at(index) : QString();
}

QString TMultiLang::currentFontEntry() const
{
    if (!owner_)
        return QString();
    return owner_->font().family() + QLatin1Char(',') + QString::number(owner_->property(CharSetProperty).toInt());
}

void TMultiLang::applyFont(const QString &entry)
{
    if (!owner_)
        return;
    const FontEntry font = ParseFontEntry(entry);
    QFont f = owner_->font();
    f.setFamily(font.face);
    owner_->setFont(f);
    owner_->setProperty(CharSetProperty, font.charSet);
}

void TMultiLang::SetActiveLanguage(int n)
{
    if (n < 0 || n >= Languages) {
        ShowMessage(d_, MessageKind::Information, QString(),
                    QStringLiteral("Value must not be higher than\rnumber of available languages."), Button::Cancel);
        return;
    }
    const QString current = currentFontEntry();
    while (CharSets.size() < Languages)
        CharSets.append(current);
    if (activeLanguage_ < CharSets.size())
        CharSets[activeLanguage_] = current;

    activeLanguage_ = static_cast<quint8>(n);
    if (n < CharSets.size())
        applyFont(CharSets.at(n));
    if (!owner_)
        return;

    // Elements by lower-cased name; the first of a name wins.
    QHash<QString, QObject *> elements;
    const auto children = owner_->findChildren<QObject *>();
    for (QObject *child : children) {
        const QString name = child->objectName();
        if (!name.isEmpty() && !elements.contains(name.toLower()))
            elements.insert(name.toLower(), child);
    }

    const int entrySize = Languages + 1;
    int p = 0;
    while (p < Words.size()) {
        const QString key = Words.at(p);
        if (key == FormKey) {
            owner_->setWindowTitle(textAt(p, n));
            p += entrySize;
            continue;
        }
        QObject *element = elements.value(key.toLower(), nullptr);
        if (!element) {
            p += entrySize;
            continue;
        }
        int next = p + entrySize;
        try {
            next = applyElement(element, p, n);
        } catch (...) {
            // A failing element must not stop the pass.
            next = p + entrySize;
        }
        p = std::max(next, p + entrySize);
    }
    emit translated();
}

int TMultiLang::applyElement(QObject *element, int p, int n)
{
    const int entrySize = Languages + 1;
    int next = p; // first entry not yet taken

    auto continuationRun = [&](int &taken, int count, const std::function<void(int, const QString &)> &set) {
        while (taken < count && keyAt(next) == ContinuationKey && next < Words.size()) {
            set(taken, textAt(next, n));
            ++taken;
            next += entrySize;
        }
    };

    if (auto *bar = qobject_cast<TStatusBar *>(element)) {
        bar->setSimpleText(textAt(p, n));
        next += entrySize;
        int taken = 0;
        continuationRun(taken, bar->panelCount(), [bar](int i, const QString &t) { bar->setPanelText(i, t); });
    } else if (auto *radio = qobject_cast<TRadioGroup *>(element)) {
        radio->setTitle(textAt(p, n));
        next += entrySize;
        const int count = radio->itemCount();
        int taken = 0;
        if (next < Words.size()) {
            if (count > 0)
                radio->setItemText(0, textAt(next, n));
            taken = 1;
            next += entrySize;
        }
        continuationRun(taken, count, [radio](int i, const QString &t) { radio->setItemText(i, t); });
        for (int i = taken; i < count; ++i)
            radio->setItemText(i, QString());
    } else if (ItemList items = itemsOf(element); items.set) {
        auto *combo = qobject_cast<QComboBox *>(element);
        const int selected = combo ? combo->currentIndex() : -1;
        if (items.count > 0) {
            items.set(0, textAt(p, n));
            next += entrySize;
            int taken = 1;
            continuationRun(taken, items.count, items.set);
            for (int i = taken; i < items.count; ++i)
                items.set(i, QString());
        }
        if (combo)
            combo->setCurrentIndex(selected);
    } else if (isMemo(element)) {
        QStringList lines = memoLines(element);
        if (memoReadOnly(element) && !lines.isEmpty()) {
            lines[0] = textAt(p, n);
            next += entrySize;
            int taken = 1;
            continuationRun(taken, static_cast<int>(lines.size()), [&lines](int i, const QString &t) { lines[i] = t; });
            for (int i = taken; i < lines.size(); ++i)
                lines[i].clear();
            setMemoLines(element, lines);
        }
    } else if (auto *menu = qobject_cast<QMenu *>(element)) {
        menu->setTitle(textAt(p, n));
        next += entrySize;
    } else if (auto *action = qobject_cast<QAction *>(element)) {
        action->setText(textAt(p, n));
        next += entrySize;
    } else if (auto *open = qobject_cast<TOpenDialog *>(element)) {
        open->title = textAt(p, n);
        next += entrySize;
        if (next < Words.size()) {
            open->filter = textAt(next, n);
            next += entrySize;
        }
    } else if (auto *fileDialog = qobject_cast<QFileDialog *>(element)) {
        fileDialog->setWindowTitle(textAt(p, n));
        next += entrySize;
        if (next < Words.size()) {
            fileDialog->setNameFilter(textAt(next, n));
            next += entrySize;
        }
    } else if (auto *label = qobject_cast<QLabel *>(element)) {
        label->setText(textAt(p, n));
        next += entrySize;
    } else if (auto *button = qobject_cast<QAbstractButton *>(element)) {
        button->setText(textAt(p, n));
        next += entrySize;
    } else if (auto *group = qobject_cast<QGroupBox *>(element)) {
        group->setTitle(textAt(p, n));
        next += entrySize;
    } else if (auto *edit = qobject_cast<QLineEdit *>(element)) {
        // Editable and masked fields keep what the user typed.
        if (edit->isReadOnly() && edit->inputMask().isEmpty()) {
            edit->setText(textAt(p, n));
            next += entrySize;
        }
    }

    if (canShowHint(element)) {
        if (next == p)
            next += entrySize;
        if (next < Words.size() && keyAt(next).toLower() == HintKey) {
            const QString hint = textAt(next, n);
            if (!hint.isEmpty())
                setHint(element, hint);
            next += entrySize;
        }
    }
    return next;
}

QString TMultiLang::LookupMessage(const QString &id) const
{
    return LookupWord(Words, id, activeLanguage_, Languages);
}

TMultiLang *AttachTranslation(QWidget *window, Deklarat &d, QStringList words, QStringList charSets,
                              quint8 designLanguage)
{
    auto *component = new TMultiLang(window, d, std::move(words), std::move(charSets), designLanguage);
    component->SetActiveLanguage(d.CurrentLanguage);
    return component;
}

void SelectLanguage(Deklarat &d, quint8 language)
{
    // Copy: a pass may create or destroy components.
    const std::vector<TMultiLang *> components = d.Translations.components();
    for (TMultiLang *component : components)
        if (language < component->Languages)
            component->SetActiveLanguage(language);
    d.CurrentLanguage = language;
}
