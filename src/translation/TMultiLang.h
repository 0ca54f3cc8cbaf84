#pragma once
// The translation component of a window: its word list in German and English,
// the per-language fonts, and the translation pass that applies one language.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class Deklarat;

class TMultiLang : public QObject
{
    Q_OBJECT
public:
    // `charSets` holds one "Face,code" font entry per language; the entry of
    // `designLanguage` is the window's design font and is applied at once.
    TMultiLang(QWidget *owner, Deklarat &d, QStringList words, QStringList charSets, quint8 designLanguage);
    ~TMultiLang() override;

    QStringList Words;
    quint8 Languages = 2;
    QStringList CharSets;

    quint8 ActiveLanguage() const { return activeLanguage_; }
    // Runs the translation pass for the owner window.
    void SetActiveLanguage(int language);

    // Text of a message entry in the active language; the lower-cased id when
    // the list has no such entry.
    QString LookupMessage(const QString &id) const;

    QWidget *owner() const { return owner_; }

    static constexpr const char *CharSetProperty = "vo_charset";

signals:
    // After every translation pass.
    void translated();

private:
    QString textAt(int entryStart, int language) const;
    QString keyAt(int entryStart) const;
    // Applies the element rule for `element` at entry position p and returns the
    // position of the first entry not taken.
    int applyElement(QObject *element, int p, int n);
    void applyFont(const QString &entry);
    QString currentFontEntry() const;

    QPointer<QWidget> owner_;
    Deklarat &d_;
    quint8 activeLanguage_ = 0;
};

// Splits "Face,code" at its first comma.
struct FontEntry {
    QString face;
    int charSet = 0;
};
FontEntry ParseFontEntry(const QString &entry);

// Creates a window's translation component and runs its first pass in the
// current language, as every window does right after its design is built.
TMultiLang *AttachTranslation(QWidget *window, Deklarat &d, QStringList words, QStringList charSets,
                              quint8 designLanguage);

// Font entries per language of the windows.
namespace WindowFonts
{
inline QStringList Arial()
{
    return {QStringLiteral("Arial,0"), QStringLiteral("Arial,1")};
}
inline QStringList SansSerifThenArial()
{
    return {QStringLiteral("MS Sans Serif,1"), QStringLiteral("Arial,1")};
}
inline QStringList SansSerif()
{
    return {QStringLiteral("MS Sans Serif,1"), QStringLiteral("MS Sans Serif,1")};
}
// Windows designed in English.
inline QStringList ArialEnglishDesign()
{
    return {QStringLiteral("Arial,1"), QStringLiteral("Arial,0")};
}
} // namespace WindowFonts

class Deklarat;
// Switches every window to a language and remembers it.
void SelectLanguage(Deklarat &d, quint8 language);
