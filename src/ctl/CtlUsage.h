#pragma once
#include <QString>

// The --help text: synopsis, link options and the verbs of the table.
QString CtlUsageText();
