// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QFileInfo>
#include <QString>

#include <map>
#include <memory>

// The short recordings, the ones answering keys, kept decoded between plays, so that opening a
// door's recording again costs no decoding; a file that has changed since is decoded afresh.
template<typename Decoded> class KeptRecordings
{
public:
    /// Recordings up to this long stay decoded; long ones decode quickly again and would only hold memory.
    static constexpr qint64 KeepDecodedMs = 3000;

    /// The sound kept for this file, or null when none is kept or the file has changed since.
    std::shared_ptr<Decoded> find(const QFileInfo &file) const
    {
        const auto kept = kept_.find(file.canonicalFilePath());
        if (kept == kept_.end() || kept->second.size != file.size() || kept->second.modified != file.lastModified())
            return {};
        return kept->second.decoded;
    }
    /// Keeps a file's freshly decoded sound if it lasts at most KeepDecodedMs, else forgets the file.
    void keep(const QFileInfo &file, std::shared_ptr<Decoded> decoded, qint64 lengthMs)
    {
        const QString key = file.canonicalFilePath();
        if (lengthMs <= KeepDecodedMs)
            kept_.insert_or_assign(key, Kept{std::move(decoded), file.size(), file.lastModified()});
        else
            kept_.erase(key);
    }

private:
    struct Kept {
        std::shared_ptr<Decoded> decoded;
        qint64 size = 0;
        QDateTime modified;
    };
    std::map<QString, Kept> kept_;
};
