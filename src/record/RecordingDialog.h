// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/Sound.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class RecordingSession;

// The teacher's recording window: every phrase of the language with its text, and the buttons to
// record, stop, listen, keep, restore the built-in voice, export and import. It only shows the
// session's state and passes the teacher's choices on; every control is reached by Tab and named
// for a screen reader.
class RecordingDialog : public QDialog
{
    Q_OBJECT

public:
    /// The session is the caller's and outlives the dialog.
    explicit RecordingDialog(RecordingSession &session, QWidget *parent = nullptr);

    /// What the phrase says, in the language in use.
    static QString phraseText(Sound sound);

private:
    QPushButton *addButton(const char *name, const QString &text, const QString &accessibleName);
    Sound chosen() const;
    void showPhrases();
    void showState();
    void showProblem(const QString &text);

    RecordingSession &session_;
    QListWidget *phrases_ = nullptr;
    QPushButton *record_ = nullptr;
    QPushButton *stop_ = nullptr;
    QPushButton *listen_ = nullptr;
    QPushButton *keep_ = nullptr;
    QPushButton *restore_ = nullptr;
    QPushButton *export_ = nullptr;
    QPushButton *import_ = nullptr;
    QProgressBar *level_ = nullptr;
    QLabel *status_ = nullptr;
};
