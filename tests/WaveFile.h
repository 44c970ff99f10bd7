#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <numbers>

// Writes a mono 16-bit PCM wave file holding a sine tone, for tests that play real sound.
inline bool WriteTone(const QString &path, int milliseconds, double amplitude = 0.5,
                      double frequency = 440, int rate = 44100)
{
    const int frames = rate * milliseconds / 1000;
    QByteArray data(frames * 2, Qt::Uninitialized);
    for (int i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2 * std::numbers::pi * frequency * i / rate);
        qToLittleEndian<qint16>(static_cast<qint16>(std::lround(value * 32767)), data.data() + 2 * i);
    }
    QByteArray header;
    auto put32 = [&header](quint32 v) { char b[4]; qToLittleEndian(v, b); header.append(b, 4); };
    auto put16 = [&header](quint16 v) { char b[2]; qToLittleEndian(v, b); header.append(b, 2); };
    header.append("RIFF");
    put32(static_cast<quint32>(36 + data.size()));
    header.append("WAVEfmt ");
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(static_cast<quint32>(rate));
    put32(static_cast<quint32>(rate * 2));
    put16(2);
    put16(16);
    header.append("data");
    put32(static_cast<quint32>(data.size()));

    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(header + data) == header.size() + data.size();
}

// Writes raw bytes to a file (for files that are not waves at all).
inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
