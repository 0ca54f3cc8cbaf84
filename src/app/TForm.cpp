#include "app/TForm.h"

#include "app/Deklarat.h"

TForm::TForm(Deklarat &d, const QString &className, const QString &designCaption) : d(d)
{
    setObjectName(className);
    setWindowTitle(designCaption);
}

QString TForm::LookupMessage(const QString &id) const
{
    return MultiLang1 ? MultiLang1->LookupMessage(id) : id.toLower();
}

void TForm::translate(QStringList words, QStringList charSets, quint8 designLanguage)
{
    MultiLang1 = AttachTranslation(this, d, std::move(words), std::move(charSets), designLanguage);
}
