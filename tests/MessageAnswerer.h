// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Answers message boxes as a user would while a test runs: writes down each one's title and text
// ("title: text") and presses OK, its only button, so the code under test goes on.
class MessageAnswerer : public QTimer
{
public:
    QStringList texts;

    MessageAnswerer()
    {
        connect(this, &QTimer::timeout, this, [this] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                    texts << box->windowTitle() + ": " + box->text();
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
        start(10);
    }
};
