// The one symbol libtabulix-calc.so exports.

#include "office/calc_plugin.h"

extern "C" const tabulix::office::CalcPlugin* tabulix_calc_plugin() { return &tabulix::office::LinkedCalcPlugin(); }
