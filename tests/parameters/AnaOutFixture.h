#pragma once
// A module description file with the three analog output modules and their
// channel objects, and the program folder it goes into.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace anaoutfixture
{

// Variant A (id 5): 0..10 V on all four channels; variant B (id 133): 0..10 V
// on channels 1 and 2, -10..+10 V on 3 and 4; variant C (id 69): -10..+10 V.
inline const QByteArray DescriptionFile = R"([Mod_ID_0x01]
ShortName=NX 651
Type=DO
Channel=0

[Mod_ID_0x05]
ShortName=NX 631-0
Type=AO
Channel=4
ChannelObject0=
ChannelObject1=0x7500
ChannelObject2=0x7500
ChannelObject3=0x7500
ChannelObject4=0x7500

[Mod_ID_0x45]
ShortName=NX 631-2
Type=AO
Channel=4
ChannelObject1=0x7501
ChannelObject2=0x7501
ChannelObject3=0x7501
ChannelObject4=0x7501

[Mod_ID_0x85]
ShortName=NX 631-1
Type=AO
Channel=4
ChannelObject1=0x7500
ChannelObject2=0x7500
ChannelObject3=0x7501
ChannelObject4=0x7501

[Object_0x7500]
Name=Ausgangsbereich
Typ=2
Bytes=2
BitNumber=8
BitText="Drahtbruch melden"
ValueCaption0=Ausgangsbereich
ValueMask0=0x0007
ValueList0=0,1,2,3
ValueText0="Kanal aus","0..20 mA","4..20 mA","0..10 V"
ValueCaption1=Bei Busausfall
ValueMask1=0x0030
ValueList1=0x0000,0x0010
ValueText1="Ausgang 0","letzten Wert halten"
DefaultValue=0x0102

[Object_0x7501]
Name=Ausgangsbereich
Typ=2
Bytes=2
ValueCaption0=Ausgangsbereich
ValueMask0=0x0007
ValueList0=0,1,2,3
ValueText0="Kanal aus","0..20 mA","4..20 mA","-10..+10 V"
ValueCaption1=Bei Busausfall
ValueMask1=0x0030
ValueList1=0x0000,0x0010
ValueText1="Ausgang 0","letzten Wert halten"
)";

// Writes the file as ModIO_NX.cfg into `folder` (with trailing separator).
inline bool WriteDescriptionFile(const QString &folder)
{
    QFile f(folder + QStringLiteral("ModIO_NX.cfg"));
    return f.open(QIODevice::WriteOnly) && f.write(DescriptionFile) == DescriptionFile.size();
}

} // namespace anaoutfixture
