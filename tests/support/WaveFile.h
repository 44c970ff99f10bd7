// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <numbers>

// How a wave file stores its samples: PCM (tag 1) or floating point (tag 3).
struct WaveFormat {
    quint16 tag = 1;
    quint16 channels = 1;
    quint32 rate = 48000; // the mixer's rate, which the build gives every recording
    quint16 bits = 16;
};

// A whole wave file holding a 440 Hz tone, at half the loudest, of the given length.
inline QByteArray WaveBytes(int milliseconds, const WaveFormat &f = {})
{
    const quint32 bytes = f.bits / 8;
    QByteArray data;
    for (qint64 i = 0; i < qint64(f.rate) * milliseconds / 1000; ++i) {
        const double value = 0.5 * std::sin(2 * std::numbers::pi * 440 * double(i) / f.rate);
        for (int channel = 0; channel < f.channels; ++channel) {
            char sample[4];
            if (f.tag == 3)
                qToLittleEndian(float(value), sample);
            else if (bytes == 1)
                sample[0] = char(128 + std::lround(value * 127));
            else
                qToLittleEndian(qint32(std::lround(value * ((1 << (f.bits - 1)) - 1))), sample);
            data.append(sample, bytes);
        }
    }
    QByteArray header("RIFF....WAVEfmt ");
    qToLittleEndian(quint32(36 + data.size()), header.data() + 4);
    const std::pair<quint32, int> fields[] = {
        {16, 4},    {f.tag, 2}, {f.channels, 2}, {f.rate, 4}, {f.rate * f.channels * bytes, 4}, {f.channels * bytes, 2},
        {f.bits, 2}};
    for (const auto &[value, size] : fields) {
        char b[4];
        qToLittleEndian(value, b);
        header.append(b, size);
    }
    QByteArray size(4, '\0');
    qToLittleEndian(quint32(data.size()), size.data());
    return header + "data" + size + data;
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
