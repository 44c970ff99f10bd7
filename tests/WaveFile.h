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
    quint32 rate = 44100;
    quint16 bits = 16;
};

// A whole wave file holding a 440 Hz tone of the given length and amplitude (0 to 1).
inline QByteArray WaveBytes(int milliseconds, const WaveFormat &f = {}, double amplitude = 0.5)
{
    const int bytes = f.bits / 8;
    QByteArray data;
    for (qint64 i = 0; i < qint64(f.rate) * milliseconds / 1000; ++i) {
        const double value = amplitude * std::sin(2 * std::numbers::pi * 440 * double(i) / f.rate);
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
    auto put = [&header](quint32 value, int size) {
        char b[4];
        qToLittleEndian(value, b);
        header.append(b, size);
    };
    qToLittleEndian(quint32(36 + data.size()), header.data() + 4);
    put(16, 4);
    put(f.tag, 2);
    put(f.channels, 2);
    put(f.rate, 4);
    put(f.rate * f.channels * bytes, 4);
    put(f.channels * bytes, 2);
    put(f.bits, 2);
    header.append("data");
    put(quint32(data.size()), 4);
    return header + data;
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
