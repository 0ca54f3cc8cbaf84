#pragma once
// The parameter window of the analog output channels: reads and writes the
// parameter word of each channel and shows it in a grid, one row a channel:
// output type and reaction as the module's parameter object describes them,
// and the word itself.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "parameters/AnaOutParams.h"
#include "parameters/ChannelLimitNotice.h"

#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <array>

class TParaAnaOut : public TForm
{
    Q_OBJECT
public:
    explicit TParaAnaOut(Deklarat &d);

    // Grid columns after the channel column.
    enum Column { ChannelColumn = 0, TypeColumn = 1, ReactionColumn = 2, WordColumn = 3 };

    QFrame *PTop;
    QFrame *PClient;
    QTableWidget *SgAnaOutPara;
    // Editors laid over a type or reaction cell while the user chooses.
    QComboBox *CbAnaOutTyp;
    QComboBox *CbAnaOutReaktion;
    QFrame *PBottom;
    QPushButton *BRead;
    QPushButton *BWrite;
    QPushButton *BCancel;
    QTimer *Timer2; // read reply
    QTimer *Timer4; // write reply

    AnaOutBlock AnaOutParams{};
    // Shared by both reply timers.
    int TickCounter = 0;
    // The parameter object of each channel, from the last activation.
    std::array<AnaOutObject, AnaOutChannels> ChannelObjects;

    void FormCreate();
    void FormActivate();
    void ReadAnaOutClick();
    void Timer2Timer();
    void WriteAnaOutClick();
    void Timer4Timer();
    void BackClick();

    // A click on a cell of row 1..n: the type or reaction column opens its choice.
    void SgAnaOutParaSelectCell(int row, int column);
    void CbAnaOutTypChange();
    void CbAnaOutReaktionChange();

    // Fills the grid from AnaOutParams.
    void ShowParams();

protected:
    void activated() override { FormActivate(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void designLayout();
    int channels() const;
    void reportChannelLimit();
    void loadChannelObjects();
    void closeEditors();
    void setCell(int row, int column, const QString &text, bool fixed);
    void fitColumns();
    // The object row behind a grid column: the type is the first value row,
    // the reaction the second.
    static int choiceRowOf(int column) { return column == TypeColumn ? 0 : 1; }
    void chosen(QComboBox *editor, int column);

    int readChannels_ = 0;
    int editRow_ = 0; // grid row of the open editor, 0: none
    ChannelLimitNotice channelLimit_;
    Exchange exchange_{d, TickCounter};
};
