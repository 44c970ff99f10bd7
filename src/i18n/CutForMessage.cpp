// SPDX-License-Identifier: GPL-3.0-or-later
#include "CutForMessage.h"

QString cutForMessage(const QString &value)
{
    constexpr qsizetype Shown = 40;
    if (value.size() <= Shown)
        return value;
    qsizetype head = Shown / 2;
    qsizetype tail = Shown - head;
    // A character beyond the first 65,536 takes two units: never shown by half.
    if (value[head - 1].isHighSurrogate())
        --head;
    if (value[value.size() - tail].isLowSurrogate())
        --tail;
    return value.first(head) + u'…' + value.last(tail);
}
