#pragma once
// A module description file and function code files for the parameter
// overview and its editors, and programs whose folder holds them.
#include "OneWindow.h"
#include "TestStation.h"

#include "app/Deklarat.h"
#include "app/IniFile.h"
#include "parameters/TParameter.h"
#include "station/ModuleCatalogue.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace parameterfixture
{

// Module 1 (digital output): a digital object, a mixed object with number
// field, flag and value row, a signed one-byte number (-5) with a flag, an
// object of an
// unknown Typ. Module 2 (digital input): value rows only. Module 4 (analog
// input, 4 channels), 5 (analog output), 10 (strain gauge, entries 4..6 of
// 32 bits), 14 (thermocouple, 6 objects). Module 6 (digital input) lists the
// default edge cases; module 7 (digital output) twelve objects; module 9 an
// object without Name between two named ones. The coupler (245) lists its
// address, mask and five routes.
inline const QByteArray DescriptionFile = R"(
[Mod_ID_0x01]
ShortName=NX 651
Type=DO
AddName=8 x DO 24 V DC
Channel=0
ChannelObject0=DoBits,DoNum,DoSign,DoOdd

[Mod_ID_0x02]
ShortName=NX 641
Type=DI
AddName=4 x DI
ChannelObject0=DiRows

[Mod_ID_0x04]
ShortName=NX 621-0
Type=AI
AddName=4 x AI Strom
Channel=4
ChannelObject0=AiRange
ChannelObject1=AiFilt,AiDiag,AiLimit
ChannelObject2=AiFilt,AiDiag,AiLimit
ChannelObject3=AiFilt,AiDiag,AiLimit
ChannelObject4=AiFilt,AiDiag,AiLimit

[Mod_ID_0x05]
ShortName=NX 631-0
Type=AO
AddName=4 x AO
Channel=4
ChannelObject1=AoRange
ChannelObject2=AoRange
ChannelObject3=AoRange
ChannelObject4=AoRange

[Mod_ID_0x06]
ShortName=NX 642
Type=DI
AddName=8 x DI
ChannelObject0=Hex,Neg,Bad,0x7000ABCD

[Mod_ID_0x07]
ShortName=NX 652
Type=DO
AddName=4 x DO Relais
ChannelObject0=O1,O2,O3,O4,O5,O6,O7,O8,O9,O10,O11,O12

[Mod_ID_0x09]
ShortName=NX 643
Type=DI
AddName=4 x DI 230 V
ChannelObject0=DiRows,NoName,DoBits

[Mod_ID_0x0A]
ShortName=NX 625-1
Type=AI
AddName=2 x AI DMS
Channel=2
ChannelObject1=AiRange,AiFilt,AiDiag,Avg,Load,Tara,Limit32
ChannelObject2=AiRange,AiFilt,AiDiag,Avg,Load,Tara,Limit32

[Mod_ID_0x0E]
ShortName=NX 624-0
Type=AI
AddName=2 x AI Thermoelement
Channel=2
ChannelObject1=AiRange,AiFilt,AiDiag,AiLimit,AiLimit,AiLimit
ChannelObject2=AiRange,AiFilt,AiDiag,AiLimit,AiLimit,AiLimit

[Mod_ID_0xF5]
ShortName=NX 600
Type=Koppler
AddName=Buskoppler
ChannelObject0=0x5500,0x5501,0x15502,0x25502,0x35502,0x45502,0x55502

[Object_0x5500]
Name=IP-Adresse
Typ=3
ParaCount=1
StringCaption0=IP-Adresse des Kopplers

[Object_0x5501]
Name=Subnetzmaske
Typ=3
ParaCount=1
StringCaption0=Subnetzmaske des Kopplers

[Object_0x15502]
Name=Route 1
ParaCount=4
StringCaption0=Zielnetz
StringCaption1=Netzmaske
StringCaption2=Gateway
ValueCaption0=Metrik

[Object_0x25502]
Name=Route 2
ParaCount=4
StringCaption0=Zielnetz 2
StringCaption1=Netzmaske 2
StringCaption2=Gateway 2
ValueCaption0=Metrik 2

[Object_0x35502]
Name=Route 3
ParaCount=4
StringCaption0=Zielnetz
StringCaption1=Netzmaske
StringCaption2=Gateway
ValueCaption0=Metrik

[Object_0x45502]
Name=Route 4
ParaCount=4
StringCaption0=Zielnetz
StringCaption1=Netzmaske
StringCaption2=Gateway
ValueCaption0=Metrik

[Object_0x55502]
Name=Route 5
ParaCount=4
StringCaption0=Zielnetz
StringCaption1=Netzmaske
StringCaption2=Gateway
ValueCaption0=Metrik

[Object_DoBits]
Name=Bits
Typ=1
Bytes=2
BitNumber=0,3
BitText="Bit null","Bit drei"
DefaultValue=0x09

[Object_DoNum]
Name=Zahl
Typ=2
Bytes=2
BitNumber=8
BitText=Melden
ValueRangeCaption=Zahl (0..100)
ValueRange=0,100
ValueMask0=0xFF
ValueCaption1=Modus
ValueMask1=0x3000
ValueList1=0x0000,0x1000,0x2000
ValueText1=aus,langsam,schnell
DefaultValue=0x1105

[Object_DoSign]
Name=Versatz
Typ=2
Bytes=1
Signed=1
BitNumber=8
BitText=Aktiv
ValueRangeCaption=Versatz
ValueRange=-100,100
ValueMask0=0xFF
DefaultValue=0xFB

[Object_DoOdd]
Name=Anders
Typ=3
DefaultValue=7

[Object_DiRows]
Name=Filter
Typ=2
Bytes=2
ValueCaption0=Filterzeit
ValueMask0=0x0007
ValueList0=0,1,2
ValueText0="aus","1 ms","10 ms"
ValueCaption1=Verlängerung
ValueMask1=0x0030
ValueList1=0x00,0x10
ValueText1=aus,ein
DefaultValue=0x0012

[Object_AiRange]
Name=Messbereich
Typ=2
Bytes=2
ValueCaption0=Messbereich
ValueMask0=0x000F
ValueList0=0,1,2
ValueText0="Kanal aus","0..20 mA","4..20 mA"
DefaultValue=2

[Object_AiFilt]
Name=Filter
Typ=2
Bytes=2
ValueCaption0=Netz
ValueMask0=0x0003
ValueList0=0,1,2
ValueText0=aus,"50 Hz","60 Hz"
DefaultValue=1

[Object_AiDiag]
Name=Diagnose
Typ=1
Bytes=2
BitNumber=0,1
BitText=Drahtbruch,Überlauf
DefaultValue=3

[Object_AiLimit]
Name=Grenzwert
Typ=2
Bytes=2
Signed=1
ValueRangeCaption=Grenzwert
ValueRange=-32768,32767
ValueMask0=0xFFFF
DefaultValue=32767

[Object_AoRange]
Name=Ausgangsbereich
Typ=2
Bytes=2
ValueCaption0=Ausgangsbereich
ValueMask0=0x0007
ValueList0=0,1,2,3
ValueText0="Kanal aus","0..20 mA","4..20 mA","0..10 V"
DefaultValue=3

[Object_Avg]
Name=Mittelwert
Typ=2
Bytes=2
ValueRangeCaption=Anzahl
ValueRange=1,64
ValueMask0=0x00FF
DefaultValue=4

[Object_Load]
Name=Nennlast
Typ=2
Bytes=4
ValueRangeCaption=Nennlast (g)
ValueRange=1,2000000
ValueMask0=0xFFFFFFFF
DefaultValue=10000

[Object_Tara]
Name=Tara
Typ=2
Bytes=4
Signed=1
ValueRangeCaption=Tara
ValueRange=-131072,131071
ValueMask0=0xFFFFFFFF
DefaultValue=-100

[Object_Limit32]
Name=Grenzwert
Typ=2
Bytes=4
Signed=1
ValueRangeCaption=Grenzwert
ValueMask0=0xFFFFFFFF
DefaultValue=131071

[Object_Hex]
Name=Hex
DefaultValue=0xFFFF

[Object_Neg]
Name=Negativ
DefaultValue=-5

[Object_Bad]
Name=Unlesbar
DefaultValue=x12

[Object_0x7000A]
Name=Lang
DefaultValue=77

[Object_0x7000ABCD]
Name=Zu lang
DefaultValue=88

[Object_NoName]
Typ=1
BitNumber=0
DefaultValue=1
)";

// Functions for every kind, 0 first; analog inputs also get 255 and 5.
inline const QByteArray FuncCodeFile = R"(
[Function_0x00]
Text0=Standardbetrieb
Text1=Standard operation
Type=0x0F
[Function_0x05]
Text0=Skalierung
Text1=Scaling
Type=0x01
[Function_0xFF]
Text0=Abgeschaltet
Text1=Switched off
Type=0x01
)";

inline bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The fixture files in the program folder, and the catalogue loaded from them.
inline void WriteParameterFiles(Deklarat &d, const QByteArray &funcCode)
{
    WriteFile(d.ProgramFolder + QStringLiteral("ModIO_NX.cfg"), DescriptionFile);
    WriteFile(d.ProgramFolder + QStringLiteral("FuncCode.cfg"), funcCode);
    d.ModuleCatalogue = LoadModuleCatalogue(d.ProgramFolder, d.BrandMode);
}

// A program (`TestStation`, `BareProgram`, `OneWindow<W>`) whose folder holds
// the fixture files.
template <typename Program> struct WithParameterFiles : Program {
    explicit WithParameterFiles(const QByteArray &funcCode = FuncCodeFile) { WriteParameterFiles(this->d, funcCode); }
    // A configuration as the configuration read leaves it.
    void configure(std::initializer_list<quint16> slotIds)
    {
        Deklarat &d = this->d;
        d.StationConfig.SlotModuleIds.fill(0);
        int slot = 1;
        for (quint16 id : slotIds)
            d.StationConfig.SlotModuleIds[static_cast<size_t>(slot++)] = id;
        d.StationConfig.ConfigValid = 1;
    }
};

// The whole program: for the configuration read feeding the overview.
using ParameterStation = WithParameterFiles<TestStation>;
// State and line only, for a test that builds its own window.
using ParameterFiles = WithParameterFiles<BareProgram>;
// The parameter overview alone; its editors open from it.
struct ParameterOverview : WithParameterFiles<OneWindow<TParameter>> {
    using WithParameterFiles::WithParameterFiles;
    TParameter *overview = w;
};

} // namespace parameterfixture
