#pragma once
// The function code file "FuncCode.cfg" beside the program: the functions the
// additional I/O editor offers a channel (analog modules) or a module (digital
// modules). Sections "Function_0x" + two upper-case hex digits for 0..255;
// "Text" + language number is the function's name, "Type" the kinds of
// module it applies to ("0x" and two hex digits).
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

constexpr quint8 ShowObjectsFunction = 0;
constexpr quint8 HideObjectsFunction = 255;

QString FunctionCodeFileName();

// "Function_0x" + two upper-case hex digits.
QString FunctionSectionName(int function);

// The module kinds of a "Type" value: its third and fourth characters as two
// hex digits; anything unreadable names no kind.
quint8 FunctionKindMask(const QString &typeValue);

struct OfferedFunctions {
    QStringList Names;
    std::vector<quint8> FunctionTable; // function numbers, ascending
};

// The functions with a name in `language` whose kinds include `kind`.
OfferedFunctions ReadFunctionCodes(const QString &path, int language, quint8 kind);

// Whether the object editor shows once function `function` is applied to a
// module of `kind`: analog modules show it for every function but 255;
// digital modules for 0, hide it for 255 and leave it as it is otherwise.
std::optional<bool> ObjectEditorShown(quint8 kind, quint8 function);
