// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

// The room counts the player chooses from, one number shown at a time and moved through with the
// arrow keys. It tells when the player moves along it, or moves the focus to it, so that the number
// it stands on can be said.
class RoomCountList : public QListWidget
{
    Q_OBJECT

public:
    /// Lists the counts from fewest to most, the fewest chosen.
    RoomCountList(int fewest, int most, QWidget *parent = nullptr);

    /// The room count chosen.
    int rooms() const { return currentRow() + fewest_; }
    /// While a screen reader says the number (on), the list tells it to the screen reader alone, as
    /// its description, and not to the game; otherwise the game says it.
    void setToldByScreenReader(bool on);

signals:
    /// The player moved to another count, or moved the focus here, and the game is to say it.
    void roomsReached(int rooms);

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void reach();

    int fewest_;
    bool toldByScreenReader_ = false;
};
