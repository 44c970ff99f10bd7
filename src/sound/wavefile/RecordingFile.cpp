// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingFile.h"

#include <SDL.h>

#include <QFile>

#include <cstring>

namespace RecordingFile {
void Closer::operator()(SDL_RWops *file) const
{
    if (SDL_RWclose(file) != 0)
        qWarning("SDL_RWclose failed: %s", SDL_GetError());
}

Handle open(const QString &path)
{
    // SDL takes UTF-8 names on Windows; the ANSI code page of QFile::encodeName would lose letters.
#ifdef Q_OS_WIN
    Handle file(SDL_RWFromFile(path.toUtf8().constData(), "rb"));
#else
    Handle file(SDL_RWFromFile(QFile::encodeName(path).constData(), "rb"));
#endif
    // A wave file begins with "RIFF", a size and "WAVE".
    char header[12];
    if (!file || SDL_RWread(file.get(), header, 1, sizeof header) != sizeof header
        || std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0
        || SDL_RWseek(file.get(), 0, RW_SEEK_SET) != 0)
        return {};
    return file;
}
} // namespace RecordingFile
