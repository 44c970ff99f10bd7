// SPDX-License-Identifier: GPL-3.0-or-later
// A reference to measure the game against: a bare Qt window with the game's SDL audio device open,
// nothing else.

#include "Measure.h"
#include "sound/sdl/SdlSoundComponent.h"

#include <QApplication>
#include <QWidget>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    bench::useHeadlessDefaults();
    QApplication app(argc, argv);
    const QHash<QString, int> options = bench::parseOptions(app, {u"start-only"_s, u"idle-ms"_s});
    const SdlSoundComponent audio;
    if (!audio.isOpen()) {
        std::fprintf(stderr, "no audio device: %s\n", qPrintable(audio.openError()));
        return 1;
    }
    QWidget window;
    window.setWindowTitle(u"Velkarn"_s);
    window.resize(390, 130);
    bench::ExposeWatch watch(true);
    window.show();
    QApplication::exec(); // until the first expose
    bench::report("first_expose_ns", double(watch.firstExposeNs()));
    if (options.value(u"start-only"_s) != 0)
        return 0;
    bench::report("rss_start_kb", double(bench::residentKb()));
    if (const int idleMs = options.value(u"idle-ms"_s); idleMs > 0)
        bench::report("idle_cpu_pct", bench::corePercent([idleMs] { bench::stayIdle(idleMs); }));
    return 0;
}
