#pragma once
#include "translation/Elements.h"
#include "translation/TMultiLang.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

class Deklarat;

// The main window: menu, status bar and (later) the bus monitor.
class TVo3112CCC : public QMainWindow {
    Q_OBJECT
public:
    explicit TVo3112CCC(Deklarat &d);

    TMultiLang *MultiLang1 = nullptr;
    QString LookupMessage(const QString &id) const { return MultiLang1->LookupMessage(id); }

    QMenu *Datei1;
    QAction *Info1;
    QAction *Sprache1;
    QAction *Beenden1;
    QAction *Schnittstelle1;
    QAction *Steuerung1;
    QAction *Parameter1;
    QAction *Konfiguration1;
    QAction *Fehler1;
    QMenu *Parameterfenster1;
    QAction *Analog1;
    QAction *AnalogIn32Bit1;
    QAction *AnalogOut1;
    QAction *Digital1;
    QAction *Allgemein1;
    TStatusBar *StatusBar1;

    void FormCreate();
    void Info1Click();
    void Sprache1Click();
    void Beenden1Click();
    void Schnittstelle1Click();
    void Steuerung1Click();
    void Parameter1Click();
    void Konfiguration1Click();
    void Fehler1Click();
    void Analog1Click();
    void AnalogIn32Bit1Click();
    void AnalogOut1Click();
    void Digital1Click();
    void Allgemein1Click();

    // " Slaveadress: " and the address as two hex digits.
    void ShowSlaveAddress();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addAction(QMenu *menu, const char *name, const QString &caption, void (TVo3112CCC::*handler)());
    QAction *addBarAction(const char *name, const QString &caption, void (TVo3112CCC::*handler)());

    Deklarat &d;
};

// Shows a window that lives for the whole run, brought to the front.
void ShowWindow(QWidget *window);
