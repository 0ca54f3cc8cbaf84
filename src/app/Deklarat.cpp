#include "app/Deklarat.h"

#include "app/CoreTexts.h"

Deklarat::Deklarat() = default;

QString Deklarat::errorCaption() const
{
    return CoreText(QStringLiteral("@idERR"), CurrentLanguage);
}
