#pragma once
// The alarm mask window: one check box per bit of the coupler's error word.
// It has no buttons of its own; the error window reads the mask into it and
// sends what the boxes say.
#include "app/TForm.h"

#include <QCheckBox>
#include <QFrame>
#include <array>

class TAlarmMaske : public TForm
{
    Q_OBJECT
public:
    explicit TAlarmMaske(Deklarat &d);

    QFrame *PTop;
    QFrame *PMask;
    QFrame *PBottom;
    QCheckBox *CBErrDigIn;
    QCheckBox *CBErrDigOut;
    QCheckBox *CBErrAnaIn;
    QCheckBox *CBErrAnaOut;
    QCheckBox *CBErrModEep;
    QCheckBox *CBErrWrongIp;
    QCheckBox *CBErrRes1;
    QCheckBox *CBErrCoupler;
    QCheckBox *CBErrLin;
    QCheckBox *CBErrEepNew;
    QCheckBox *CBErrWriteEep;
    QCheckBox *CBErrReadEep;
    QCheckBox *CBErrRes2;
    QCheckBox *CBErrRes3;
    QCheckBox *CBErrId;
    QCheckBox *CBErrNewConfig;

    // The check box of each mask bit, bit 0 first.
    std::array<QCheckBox *, 16> BitBoxes{};

    // The mask as last read from the coupler or last edited; the reserved
    // bits keep what the coupler said.
    quint16 AlarmMaskWord = 0;

    // Checks each active box whose bit is set in `mask`, unchecks the others;
    // the reserved boxes are left alone.
    void ShowMask(quint16 mask);
    // The bits of the checked active boxes.
    quint16 CheckedBits() const;
    static bool IsReservedBit(int bit);
};
