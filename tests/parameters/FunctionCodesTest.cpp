// The function code file: which functions a module kind is offered, in which
// language and order, and what a function does to the object editor.
#include "ParameterFixture.h"

#include "parameters/FunctionCodes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

struct FuncFile {
    explicit FuncFile(const QByteArray &text) { parameterfixture::WriteFile(path(), text); }
    QString path() const { return dir.filePath(QStringLiteral("FuncCode.cfg")); }
    QTemporaryDir dir;
};

std::vector<int> numbers(const OfferedFunctions &f)
{
    return std::vector<int>(f.FunctionTable.begin(), f.FunctionTable.end());
}

TEST(FunctionCodes, OfferedPerKindAndLanguageInAscendingOrder)
{
    const FuncFile f(R"(
[Function_0xFF]
Text0=Aus
Text1=Off
Type=0x03
[Function_0x10]
Text0=Zähler
Text1=Counter
Type=0x04
[Function_0x00]
Text0=Standard
Text1=Standard
Type=0x0F
[Function_0x02]
Text0=Nur deutsch
Type=0x01
[Function_0x03]
Text1=English only
Type=0x01
[function_0x04]
Text0=Section name in lower case
Type=0x08
[Function_0x05]
Text0=Ohne Typ
[Function_0x06]
Text0=Typ ohne 0x
Type=01
[Function_0x07]
Text0=Typ ab dem dritten Zeichen
Type=xx0C
[Function_0x08]
Text0=Eine Ziffer
Type=0x1
[Function_0x09]
Text0=Keine Hexziffer
Type=0xG1
[Function_0x0a]
Text0=Kleine Hexziffer im Namen
Type=0x0F
)");
    struct Case {
        quint8 kind;
        int language;
        std::vector<int> functions;
    };
    const Case cases[] = {
        {1, 0, {0, 2, 8, 10, 255}}, // "0x1" reads as one digit; section names ignore case
        {1, 1, {0, 3, 255}},        {2, 0, {0, 10, 255}}, {4, 0, {0, 7, 10, 16}}, {8, 0, {0, 4, 7, 10}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << " language " << c.language);
        EXPECT_EQ(numbers(ReadFunctionCodes(f.path(), c.language, c.kind)), c.functions);
    }
    const OfferedFunctions english = ReadFunctionCodes(f.path(), 1, 4);
    EXPECT_EQ(english.Names, (QStringList{"Standard", "Counter"}));
    EXPECT_EQ(ReadFunctionCodes(f.path(), 0, 2).Names, (QStringList{"Standard", "Kleine Hexziffer im Namen", "Aus"}));
}

TEST(FunctionCodes, KindMaskFromTheThirdAndFourthCharacter)
{
    EXPECT_EQ(FunctionKindMask(QStringLiteral("0x0F")), 0x0F);
    EXPECT_EQ(FunctionKindMask(QStringLiteral("0x0a")), 0x0A);
    EXPECT_EQ(FunctionKindMask(QStringLiteral("ab12zz")), 0x12);
    EXPECT_EQ(FunctionKindMask(QStringLiteral("0x")), 0);
    EXPECT_EQ(FunctionKindMask(QStringLiteral("0x-1")), 0);
    EXPECT_EQ(FunctionKindMask(QString()), 0);
    EXPECT_EQ(FunctionSectionName(255), QStringLiteral("Function_0xFF"));
    EXPECT_EQ(FunctionSectionName(10), QStringLiteral("Function_0x0A"));
}

TEST(FunctionCodes, MissingFileOffersNothing)
{
    QTemporaryDir dir;
    const OfferedFunctions none = ReadFunctionCodes(dir.filePath(QStringLiteral("FuncCode.cfg")), 0, 1);
    EXPECT_TRUE(none.Names.isEmpty());
    EXPECT_TRUE(none.FunctionTable.empty());
}

TEST(FunctionCodes, WhatAFunctionDoesToTheObjectEditor)
{
    struct Case {
        quint8 kind;
        quint8 function;
        std::optional<bool> shown;
    };
    const Case cases[] = {
        {1, 0, true}, {1, 7, true},    {1, 255, false},      {2, 3, true}, {2, 255, false},
        {4, 0, true}, {4, 255, false}, {4, 1, std::nullopt}, {8, 0, true}, {8, 9, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ObjectEditorShown(c.kind, c.function), c.shown) << int(c.kind) << " " << int(c.function);
}

} // namespace
