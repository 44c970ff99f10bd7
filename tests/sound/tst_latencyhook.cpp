#include "WaveFile.h"
#include "sound/SdlSoundComponent.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {
// The handles the listener was told about, gathered from the audio thread.
class Heard
{
public:
    SdlSoundComponent::MixListener Listener()
    {
        return [this](qint32 handle) {
            const std::lock_guard lock(mutex_);
            handles_.push_back(handle);
        };
    }
    std::vector<qint32> Handles() const
    {
        const std::lock_guard lock(mutex_);
        return handles_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<qint32> handles_;
};

// Returns once the handle's sound has ended; the mixer marks the end after its last samples.
void WaitUntilEnded(SdlSoundComponent &component, qint32 handle)
{
    QSignalSpy ended(&component, &SoundComponent::PlaybackEnded);
    while (component.IsPlaying(handle))
        QVERIFY2(ended.wait(5000), "the sound never ended");
}
} // namespace

class tst_LatencyHook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        // Longer than several mixing passes, so a report per pass would show.
        QVERIFY(WriteTone(Tone(), 120));
        QVERIFY(WriteTone(Other(), 60));
    }

    void reportsOncePerStartedSound()
    {
        SdlSoundComponent component;
        QVERIFY2(component.IsOpen(), qPrintable(component.OpenError()));
        Heard heard;
        component.SetMixListener(heard.Listener());

        const qint32 tone = component.OpenWave(Tone());
        const qint32 other = component.OpenWave(Other());
        QVERIFY(tone > 0 && other > 0);
        QVERIFY(heard.Handles().empty()); // opening alone mixes nothing

        component.StartWave(tone, 0, -1);
        WaitUntilEnded(component, tone);
        QCOMPARE(heard.Handles(), std::vector<qint32>({tone}));

        component.StartWave(tone, 0, -1); // starting again is a new start
        WaitUntilEnded(component, tone);
        component.StartWave(other, 0, -1);
        WaitUntilEnded(component, other);
        QCOMPARE(heard.Handles(), std::vector<qint32>({tone, tone, other}));
    }

    void reportsEachOfTwoSoundsPlayingTogether()
    {
        SdlSoundComponent component;
        QVERIFY2(component.IsOpen(), qPrintable(component.OpenError()));
        Heard heard;
        component.SetMixListener(heard.Listener());

        const qint32 tone = component.OpenWave(Tone());
        const qint32 other = component.OpenWave(Other());
        component.StartWave(tone, 0, -1);
        component.StartWave(other, 0, -1);
        WaitUntilEnded(component, tone);
        WaitUntilEnded(component, other);

        std::vector<qint32> handles = heard.Handles();
        std::sort(handles.begin(), handles.end());
        QCOMPARE(handles, std::vector<qint32>({tone, other}));
    }

    void staysSilentOnceCleared()
    {
        SdlSoundComponent component;
        QVERIFY2(component.IsOpen(), qPrintable(component.OpenError()));
        Heard heard;
        component.SetMixListener(heard.Listener());
        const qint32 tone = component.OpenWave(Tone());
        component.StartWave(tone, 0, -1);
        WaitUntilEnded(component, tone);
        QCOMPARE(heard.Handles().size(), size_t(1));

        component.SetMixListener({});
        component.StartWave(tone, 0, -1);
        WaitUntilEnded(component, tone);
        QCOMPARE(heard.Handles().size(), size_t(1));
    }

    void reportsNothingForAStoppedSoundOrAFailedStart()
    {
        SdlSoundComponent component;
        QVERIFY2(component.IsOpen(), qPrintable(component.OpenError()));
        Heard heard;
        component.SetMixListener(heard.Listener());

        component.StartWave(12345, 0, -1); // no such handle: nothing starts
        const qint32 tone = component.OpenWave(Tone());
        component.StartWave(tone, 0, -1);
        component.CloseWave(tone); // may be released before or after its first pass
        const qint32 other = component.OpenWave(Other());
        component.StartWave(other, 0, -1);
        WaitUntilEnded(component, other);

        const std::vector<qint32> handles = heard.Handles();
        QVERIFY(!handles.empty() && handles.size() <= 2);
        QCOMPARE(handles.back(), other);
        QVERIFY(std::count(handles.begin(), handles.end(), tone) <= 1);
        QVERIFY(std::count(handles.begin(), handles.end(), 12345) == 0);
    }

private:
    QString Tone() const { return dir_.filePath(QStringLiteral("tone.wav")); }
    QString Other() const { return dir_.filePath(QStringLiteral("other.wav")); }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(tst_LatencyHook)
#include "tst_latencyhook.moc"
