#pragma once
#include <QString>
#include <array>

// The built-in short names of the module identifiers, neutral (0) or branded (1).
std::array<QString, 256> BuiltInShortNames(quint8 brandMode);
