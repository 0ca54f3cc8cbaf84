#pragma once
// The parameter window of the digital output channels: what each output does
// when the station goes into its fail state (hold its last value, go to 0 or
// go to 1), read from and written to the coupler.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "parameters/DigOutParams.h"
#include "translation/Elements.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include <array>

class TParaDig : public TForm
{
    Q_OBJECT
public:
    explicit TParaDig(Deklarat &d);

    // Columns 1..9 and channels 1..72; element 0 is unused.
    std::array<QGroupBox *, DigOutModules + 1> GroupBox{};
    std::array<TRadioGroup *, DigOutChannels + 1> RadioGroup{};
    QScrollArea *ScrollBox1; // the columns, scrolled on a small screen
    QPlainTextEdit *Memo1;
    QPushButton *Write;
    QPushButton *Read;
    QPushButton *Back;
    QTimer *Anfrage; // read reply
    QTimer *Timer1;  // write reply

    // BehaviourBits and StateBits, one byte each per module; kept for the run.
    DigOutFailStates FailStates;
    // Shared by both reply timers.
    int TickCounter = 0;

    void FormCreate();
    void FormActivate();
    void ReadClick();
    void AnfrageTimer();
    void WriteClick();
    void Timer1Timer();
    void BackClick();
    // RadioGroup1Click .. RadioGroup72Click: the channel's choice into the bits.
    void RadioGroupClick(int channel);

    // Every channel's choice from the bits, hidden channels included.
    void ShowFailStates();

protected:
    void activated() override { FormActivate(); }

private:
    void designLayout();
    void addMemoLine(const QString &line);
    void showError(const QString &text);
    // The modules a request carries; 0 after telling the user there are none.
    int modulesOrRefuse();

    int readModules_ = 0;
    Exchange exchange_{d, TickCounter};
};
