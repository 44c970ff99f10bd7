#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Answers message boxes as a user would while a test runs: writes down each one's title and text
// ("title: text") and buttons, and presses OK so the code under test goes on.
class MessageAnswerer : public QTimer
{
public:
    QStringList texts;
    QMessageBox::StandardButtons buttons; // of the last box

    MessageAnswerer()
    {
        connect(this, &QTimer::timeout, this, [this] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                    texts << box->windowTitle() + ": " + box->text();
                    buttons = box->standardButtons();
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
        start(10);
    }
};
