#pragma once
// The additional I/O editor (the properties window of a module): the
// parameter objects of one I/O module, per channel for analog modules, shown
// with the bit, number and choice editors the module description file
// describes, read from the coupler and written back. It works on copies of
// the position's parameter records: "Schreiben" stores them, "Zurück" drops
// them. Created by the parameter overview for a slot and destroyed when it
// closes.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "parameters/ObjectItems.h"
#include "parameters/ParameterRecords.h"
#include "parameters/ZusatzIOFrames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include <array>
#include <vector>

class TZusatzIOEdit : public TForm
{
    Q_OBJECT
public:
    explicit TZusatzIOEdit(Deklarat &d);

    QTabBar *TCKanal;
    QFrame *PKanal; // the area below the channel tabs
    // The object editor: the object tabs and the object panels below them.
    QFrame *PObjectEditor;
    QTabBar *TCCanObject;
    QFrame *PDigObj;
    std::array<QCheckBox *, DigitalObjectBoxes> CBoBit{}; // CBoBit0 .. CBoBit7
    QFrame *PMixObj;
    std::array<QLabel *, ObjectValueRows> LMix{};
    std::array<QComboBox *, ObjectValueRows> CBMix{};
    std::array<QCheckBox *, MixedObjectBoxes> CBoMixBit{}; // CBoMixBit0, CBOMixBit1, CBoMixBit2, CBoMixBit3
    QLineEdit *EMix0;
    QLabel *LFunction;
    QComboBox *CBFunction;
    QPushButton *OKBtn;
    QPushButton *ReadBtn;
    QPushButton *CancelBtn;
    QTimer *TmReadPara;
    QTimer *TmRead32Para;
    QTimer *TmWritePara;
    QTimer *TmWrite32Para;

    // One tick counter serves all four reply timers.
    int TickCounter = 0;
    // Function numbers of CBFunction's items.
    std::vector<quint8> FunctionTable;
    // The working copies: channels 1..8 (analog modules), the module record
    // (digital modules).
    std::array<std::optional<ParameterRecord>, MaxRecordChannels + 1> WorkChannels{};
    std::optional<ParameterRecord> WorkModule;

    void FormCreate();
    void TCKanalChange();
    void CBFunctionChange();
    void TCCanObjectChange();
    void PDigObjChange();
    void PMixObjChange();
    void ReadBtnClick();
    void TmReadParaTimer();
    void TmRead32ParaTimer();
    void OKBtnClick();
    void TmWriteParaTimer();
    void TmWrite32ParaTimer();
    void CancelBtnClick();

    // The record of the channel tab (analog) or the module (digital); null
    // when the position has none.
    ParameterRecord *CurrentRecord();
    // Entry index of the object tab shown; -1 without objects.
    int CurrentEntry() const;
    bool IsAnalog() const { return IsAnalogKind(kind_); }
    quint8 Kind() const { return kind_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void designLayout();
    void listObjects();
    void setObjectEditorShown(bool shown);
    // The block of the current channel or module; reports and gives nothing
    // when there is none to read or write.
    std::optional<ParameterBlock> blockToSend(bool second);
    ParameterRecord *workRecord(int channel);
    void readDone();
    void sendSecondRead();
    void sendSecondWrite();
    void reportFailure(ReplyOutcome outcome);

    quint8 position_ = 0;
    quint8 moduleId_ = 0;
    quint8 kind_ = 0;
    int channels_ = 0;
    // Set while the editor fills its elements: their change handlers wait.
    bool filling_ = false;
    tObjItems shown_; // the description of the object on display

    int requestChannel_ = 0; // channel tab (0-based) of the request outstanding
    ParameterBlock requestBlock_;
    Exchange exchange_{d, TickCounter};
};
