#include "WaveFile.h"
#include "sound/SdlSoundComponent.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <mutex>
#include <vector>

// The listener that the benchmark uses to see a sound's first mixed samples.
class LatencyHookTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::mutex mutex;
    std::vector<qint32> heard; // filled on the audio thread

    std::vector<qint32> Heard()
    {
        const std::lock_guard lock(mutex);
        return heard;
    }
    static void Play(SdlSoundComponent &component, qint32 handle)
    {
        QSignalSpy ended(&component, &SoundComponent::PlaybackEnded);
        component.StartWave(handle, 0, -1);
        while (component.IsPlaying(handle))
            QVERIFY2(ended.wait(5000), "the sound never ended");
    }

private slots:
    void reportsOncePerStartedSoundAndNothingOnceCleared()
    {
        // Longer than several mixing passes, so a report per pass would show.
        QVERIFY(WriteTone(dir.filePath("tone.wav"), 120));
        SdlSoundComponent component;
        QVERIFY2(component.IsOpen(), qPrintable(component.OpenError()));
        component.SetMixListener([this](qint32 handle) {
            const std::lock_guard lock(mutex);
            heard.push_back(handle);
        });
        const qint32 first = component.OpenWave(dir.filePath("tone.wav"));
        const qint32 second = component.OpenWave(dir.filePath("tone.wav"));
        QVERIFY(Heard().empty()); // opening alone mixes nothing

        Play(component, first);
        Play(component, first); // starting again is a new start
        Play(component, second);
        QCOMPARE(Heard(), (std::vector<qint32>{first, first, second}));

        component.SetMixListener({});
        Play(component, first);
        QCOMPARE(Heard().size(), size_t(3));
    }
};

QTEST_GUILESS_MAIN(LatencyHookTest)
#include "tst_latencyhook.moc"
