// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "help/SysInfoPlatform.h"

#include <QDialog>

// The modal About dialog: title, version, the maker's address and notice, an OK button and a
// button that starts the system-information viewer.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    /// Starts the system-information viewer, or tells the user that there is none.
    void startSystemInfo();

private:
    help::SysInfoPlatform platform_;
};
