// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/unix/PathViewerLocator.h"

#include <QStandardPaths>
#include <QString>

namespace help {

std::vector<std::string> PathViewerLocator::knownViewers()
{
    return {"hardinfo2", "hardinfo", "kinfocenter", "cpu-x"};
}

PathViewerLocator::PathViewerLocator(std::vector<std::string> names)
    : names_(std::move(names))
{
}

std::optional<std::string> PathViewerLocator::findViewer() const
{
    for (const std::string &name : names_) {
        const QString path = QStandardPaths::findExecutable(QString::fromStdString(name));
        if (!path.isEmpty())
            return path.toStdString();
    }
    return std::nullopt;
}

} // namespace help
