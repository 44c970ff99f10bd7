// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/unix/DetachedLauncher.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace help {

bool DetachedLauncher::start(const std::string &path)
{
    if (path.empty())
        return false;
    // The path goes to exec as it is, so spaces, quotes or $(...) in it mean nothing.
    return QProcess::startDetached(QString::fromStdString(path), QStringList{});
}

} // namespace help
