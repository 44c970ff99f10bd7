#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QTimer>

// Watches for modal message boxes while a test runs, records what they said and
// presses their OK button so the code under test can go on.
class MessageBoxCatcher : public QObject {
public:
    MessageBoxCatcher()
    {
        connect(&timer_, &QTimer::timeout, this, &MessageBoxCatcher::Poll);
        timer_.start(10);
    }

    int count = 0;
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++count;
        text = box->text();
        title = box->windowTitle();
        buttons = box->standardButtons();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    QTimer timer_;
};
