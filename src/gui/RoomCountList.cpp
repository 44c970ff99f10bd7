// SPDX-License-Identifier: GPL-3.0-or-later
#include "RoomCountList.h"

#include <QFocusEvent>

RoomCountList::RoomCountList(int fewest, int most, QWidget *parent)
    : QListWidget(parent)
    , fewest_(fewest)
{
    for (int rooms = fewest; rooms <= most; ++rooms)
        addItem(QString::number(rooms));
    // A one-item list, moved through with the arrow keys.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::NoFrame);
    setCurrentRow(0); // said by nobody: nothing listens yet
    connect(this, &QListWidget::currentRowChanged, this, &RoomCountList::reach);
}

void RoomCountList::setToldByScreenReader(bool on)
{
    toldByScreenReader_ = on;
    // The screen reader says a list's name and then its description when the focus comes to it; it
    // says the numbers moved to by itself.
    setAccessibleDescription(on ? QString::number(rooms()) : QString());
}

void RoomCountList::reach()
{
    if (toldByScreenReader_)
        setAccessibleDescription(QString::number(rooms()));
    else
        emit roomsReached(rooms());
}

void RoomCountList::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    // Only when the player or the game moved the focus here. When the window is merely active again
    // (after a message, a menu or another program) the list says nothing.
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
        reach();
}
