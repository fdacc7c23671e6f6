// An evening of automatic refreshes in the real window (offscreen platform unless told otherwise),
// against the real site on 127.0.0.1: the program's CPU time over one hour of the schedule's
// beats (60 beats, 12 requests), when every answer is a 304, against the same hour when the site
// publishes a new store before every request (each one downloaded, checked and drawn).
#include "DemoSite.h"
#include "NetworkDownloader.h"
#include "platform/Settings.h"
#include "platform/Style.h"
#include "window/MainController.h"
#include "window/MainWindow.h"

#include "SilentDialogs.h"
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkProxyFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

using namespace kestrava;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);

using bench::SilentDialogs;

// Matchday 13's Sunday evening, moved on by the benchmark one beat at a time.
class EveningClock final : public Clock
{
public:
    QDateTime at{QDate(2026, 12, 6), QTime(19, 0)};
    QDateTime now() const override { return at; }
};

class CountingNotifier final : public Notifier
{
public:
    int shown = 0;
    void notify(const DesktopNotice &) override { ++shown; }
};

double processCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

void run(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Evening
{
    kestrava::test::DemoSite site;
    QTemporaryDir dir;
    EveningClock clock;
    MemorySettingsStore settings;
    SilentDialogs dialogs;
    NetworkDownloader downloader;
    CountingNotifier notifier;
    std::unique_ptr<MainController> controller;
    std::unique_ptr<MainWindow> window;

    Evening()
    {
        if (!site.start(QStringLiteral(KESTRAVA_SITE)) || !site.reset(dataDir))
            qFatal("the site did not start");
        QFile::copy(QDir(dataDir).filePath(QStringLiteral("2027.txt")), QDir(dir.path()).filePath(QStringLiteral("2027.txt")));
        settings.write(QStringLiteral("Site"), QStringLiteral("Base"), site.base());
        settings.write(QStringLiteral("Data"), QStringLiteral("C4"), QStringLiteral("1"));
        settings.write(QStringLiteral("Data"), QStringLiteral("C7"), QStringLiteral("1"));
        controller = std::make_unique<MainController>(
            dir.path(), Services{&clock, &settings, &dialogs, nullptr, nullptr, &downloader, nullptr, &notifier});
        window = std::make_unique<MainWindow>(*controller);
        controller->start();
        window->show();
        run(300);
    }
};

std::unique_ptr<Evening> evening;

void hour(benchmark::State &state, bool newStores)
{
    if (!evening)
        evening = std::make_unique<Evening>();
    Evening &e = *evening;
    RefreshController &refresh = e.controller->refresh();
    const QString published = e.site.published(QStringLiteral("Resultats2027.ini"));
    const QByteArray store = kestrava::test::ReadFileBytes(published);
    for (auto _ : state) {
        const int requests = refresh.requests();
        int replaced = 0;
        const double before = processCpuSeconds();
        for (int beat = 0; beat < 60; ++beat) {
            e.clock.at = e.clock.at.addSecs(60);
            // A new publication: another "Texte" each time, so that the bytes differ.
            if (newStores && beat % 5 == 0) {
                state.PauseTiming();
                QByteArray changed = store;
                kestrava::test::WriteFileBytes(published, changed.replace("[Texte]\r\n", "[Texte]\r\nTexte=" + QByteArray::number(beat) + "\r\n"));
                state.ResumeTiming();
            }
            const int sent = refresh.requests();
            refresh.tick();
            if (refresh.requests() > sent && refresh.lastOutcome() == Downloader::Outcome::Replaced)
                ++replaced;
            QCoreApplication::processEvents(); // the repaints, when anything changed
        }
        const double cpu = processCpuSeconds() - before;
        const int asked = refresh.requests() - requests;
        state.counters["cpu_ms_per_hour"] = cpu * 1000;
        state.counters["requests"] = asked;
        state.counters["cpu_ms_per_request"] = asked > 0 ? cpu * 1000 / asked : 0;
        state.counters["new_stores"] = replaced;
    }
}

void BM_HourOf304(benchmark::State &state)
{
    hour(state, false);
}
BENCHMARK(BM_HourOf304)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_HourOfNewStores(benchmark::State &state)
{
    hour(state, true);
}
BENCHMARK(BM_HourOfNewStores)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QNetworkProxyFactory::setUseSystemConfiguration(false);
    ApplyApplicationStyle(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    evening.reset();
    return 0;
}
