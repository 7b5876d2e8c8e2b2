#pragma once
// The colours of a chart's series. Qt's chart themes repeat and pale out after a few series (an
// 18-series chart drew five of them almost white); these stay apart and readable on white for
// any count: twenty hand-picked colours at least 25 CIELAB units from one another, then hues a
// golden angle apart at three depths, every one at least twice as dark as the white behind it.

#include <QColor>

namespace tabulix::ui {

QColor seriesColour(int index);

}  // namespace tabulix::ui
