#include "parameters/FunctionCodes.h"

#include "app/Conversions.h"
#include "app/IniFile.h"
#include "parameters/ParameterRecords.h"

QString FunctionCodeFileName()
{
    return QStringLiteral("FuncCode.cfg");
}

QString FunctionSectionName(int function)
{
    return QStringLiteral("Function_0x") + HexText(static_cast<quint64>(function & 0xFF), 2);
}

quint8 FunctionKindMask(const QString &typeValue)
{
    const QString digits = typeValue.mid(2, 2);
    int mask = 0;
    for (const QChar c : digits) {
        const int digit = QStringLiteral("0123456789abcdef").indexOf(c.toLower());
        if (digit < 0)
            return 0;
        mask = 16 * mask + digit;
    }
    return static_cast<quint8>(mask);
}

OfferedFunctions ReadFunctionCodes(const QString &path, int language, quint8 kind)
{
    OfferedFunctions offered;
    const IniFile file(path);
    for (int n = 0; n < 256; ++n) {
        const QString section = FunctionSectionName(n);
        const QString name = file.readString(section, QStringLiteral("Text%1").arg(language));
        if (name.isEmpty())
            continue;
        const quint8 kinds = FunctionKindMask(file.readString(section, QStringLiteral("Type"), QStringLiteral("0x00")));
        if ((kinds & kind) == 0)
            continue;
        offered.Names.append(name);
        offered.FunctionTable.push_back(static_cast<quint8>(n));
    }
    return offered;
}

std::optional<bool> ObjectEditorShown(quint8 kind, quint8 function)
{
    if (IsAnalogKind(kind))
        return function != HideObjectsFunction;
    if (function == ShowObjectsFunction)
        return true;
    if (function == HideObjectsFunction)
        return false;
    return std::nullopt;
}
