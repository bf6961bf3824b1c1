#pragma once
// The editor library's headers use the words `signals` and `slots`, which this project switches off so
// that they never clash with other libraries. They are defined for these includes only.
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>
#undef signals
#undef slots
