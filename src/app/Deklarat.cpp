#include "app/Deklarat.h"

#include "link/TSIOTransfer.h"
#include "translation/TMultiLang.h"

Deklarat::Deklarat() = default;

QString Deklarat::errorCaption() const
{
    if (SIOTransfer)
        return SIOTransfer->LookupMessage(QStringLiteral("@idERR"));
    return CurrentLanguage == 1 ? QStringLiteral("Error") : QStringLiteral("Fehler");
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
