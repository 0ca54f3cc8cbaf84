#pragma once
// Base of the secondary windows: the shared state and one translation component.
#include "translation/TMultiLang.h"

#include <QDialog>

class Deklarat;

class TForm : public QDialog
{
    Q_OBJECT
public:
    TForm(Deklarat &d, const QString &className, const QString &designCaption);
    ~TForm() override;

    TMultiLang *MultiLang1 = nullptr;
    QString LookupMessage(const QString &id) const;

protected:
    // A window with activation steps runs them here. Not called for the
    // activation a box hands back when it closes, whoever showed the box.
    virtual void activated() {}
    bool event(QEvent *event) override;

    // Call once the controls exist, before the window's own creation step.
    void translate(QStringList words, QStringList charSets, quint8 designLanguage = 0);

    Deklarat &d;
};

// Shows a window on top and gives it the focus; null: nothing.
void ShowWindow(QWidget *window);
// The program's main window, or null before it exists.
QWidget *ProgramMainWindow();
