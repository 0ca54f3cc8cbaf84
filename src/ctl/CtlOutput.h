#pragma once
// Writing a verb's outcome: one JSON document on stdout with --json (also on
// failure), else the text for a person on stdout and failures on stderr.
#include "ctl/VerbResult.h"

// Returns the exit status.
int WriteOutcome(const VerbResult &result, bool json);
