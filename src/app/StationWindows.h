#pragma once
// The program's windows, in creation order. Only `Station` fills this and
// wires one window to another; a window gets the core's state alone and never
// reaches another window through it.
#include "app/Deklarat.h"

class TVo3112CCC;
class TDeviceConfigForm;
class TParaDig;
class TFehler;
class TSIOTransfer;
class TParaAna;
class TCont;
class TAboutBox;
class TOKBottomDlg;
class TAllgePara;
class TParaAnaOut;
class TParaAnaIn32Bit;
class TAlarmMaske;
class TParameter;
class TStatistik;
class TTrend;

struct StationWindows {
    TVo3112CCC *Vo3112CCC = nullptr;
    TDeviceConfigForm *DeviceConfigForm = nullptr;
    TParaDig *ParaDig = nullptr;
    TFehler *Fehler = nullptr;
    TSIOTransfer *SIOTransfer = nullptr;
    TParaAna *ParaAna = nullptr;
    TCont *Cont = nullptr;
    TAboutBox *AboutBox = nullptr;
    TOKBottomDlg *OKBottomDlg = nullptr;
    TAllgePara *AllgePara = nullptr;
    TParaAnaOut *ParaAnaOut = nullptr;
    TParaAnaIn32Bit *ParaAnaIn32Bit = nullptr;
    TAlarmMaske *AlarmMaske = nullptr;
    TParameter *Parameter = nullptr;
    TStatistik *Statistik = nullptr;
    TTrend *Trend = nullptr;
};

// The desktop program's state: the core's, and its windows.
struct ProgramState : Deklarat, StationWindows {
};
