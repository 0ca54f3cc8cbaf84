#include "app/TForm.h"

#include "app/Deklarat.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>

TForm::TForm(Deklarat &d, const QString &className, const QString &designCaption) : d(d)
{
    setObjectName(className);
    setWindowTitle(designCaption);
}

TForm::~TForm()
{
    d.activation().hidden(this);
}

bool TForm::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (d.activation().activates(this))
            activated();
        break;
    case QEvent::WindowDeactivate:
        d.activation().deactivated(this);
        break;
    case QEvent::Hide:
        d.activation().hidden(this);
        break;
    default:
        break;
    }
    return handled;
}

QString TForm::LookupMessage(const QString &id) const
{
    return MultiLang1 ? MultiLang1->LookupMessage(id) : id.toLower();
}

void TForm::translate(QStringList words, QStringList charSets, quint8 designLanguage)
{
    MultiLang1 = AttachTranslation(this, d, std::move(words), std::move(charSets), designLanguage);
}

void ShowWindow(QWidget *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

QWidget *ProgramMainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow *>(w))
            return w;
    return nullptr;
}
