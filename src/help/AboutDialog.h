// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// The modal About dialog: title, version, the maker's address and notice, an OK button and a
// button that starts the system-information viewer.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

public Q_SLOTS:
    /// Starts the system-information viewer, or tells the user that there is none.
    void startSystemInfo();
};
