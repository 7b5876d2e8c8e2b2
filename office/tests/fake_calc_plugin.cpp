// A Calc plug-in of another build version, for the loader's tests.

#include "office/calc_plugin.h"

extern "C" const tabulix::office::CalcPlugin* tabulix_calc_plugin() {
    static const tabulix::office::CalcPlugin table{"0.9.9-other", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &table;
}
