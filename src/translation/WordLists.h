#pragma once
// The word list of every window: groups of three strings, a key followed by
// the German and the English text (see TMultiLang for the keys).
#include <QStringList>

QStringList TVo3112CCCWords();
QStringList TDeviceConfigFormWords();
QStringList TParaDigWords();
QStringList TFehlerWords();
QStringList TSIOTransferWords();
QStringList TParaAnaWords();
QStringList TContWords();
QStringList TAboutBoxWords();
QStringList TOKBottomDlgWords();
QStringList TAllgeParaWords();
QStringList TParaAnaOutWords();
QStringList TParaAnaIn32BitWords();
QStringList TAlarmMaskeWords();
QStringList TParameterWords();
QStringList TParamEditWords();
QStringList TZusatzIOEditWords();
QStringList TStatistikWords();
QStringList TTrendWords();
