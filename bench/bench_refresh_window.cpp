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

// Matchday 13's Sunday evening, moved on by the benchmark one beat at a time; every hour measured
// is 19:00 to 20:00.
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
        // An earlier refresh of the evening: the window holds the site's store and its validators
        // before the first hour is measured.
        clock.at = QDateTime(QDate(2026, 12, 6), QTime(18, 0));
        controller->refresh().tick();
        run(100);
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
    static int publication = 0;
    // A new publication: another "Texte" each time, so that the bytes differ from every earlier one.
    const auto publish = [&] {
        QByteArray changed = store;
        kestrava::test::WriteFileBytes(
            published, changed.replace("[Texte]\r\n", "[Texte]\r\nTexte=" + QByteArray::number(++publication) + "\r\n"));
    };
    double cpuTotal = 0;
    int askedTotal = 0, replacedTotal = 0, unchangedTotal = 0;
    for (auto _ : state) {
        // Every hour measured is the same evening hour: the schedule asks only until 23:59, and the
        // rows run one after the other on one clock.
        e.clock.at = QDateTime(QDate(2026, 12, 6), QTime(19, 0));
        const int requests = refresh.requests();
        int replaced = 0, unchanged = 0;
        double cpu = 0;
        bool publishNext = newStores;
        for (int beat = 0; beat < 60; ++beat) {
            e.clock.at = e.clock.at.addSecs(60);
            // The site holds a store the window has not seen before each request.
            if (publishNext) {
                state.PauseTiming();
                publish();
                state.ResumeTiming();
                publishNext = false;
            }
            const double before = processCpuSeconds();
            const int sent = refresh.requests();
            refresh.tick();
            QCoreApplication::processEvents(); // the repaints, when anything changed
            cpu += processCpuSeconds() - before;
            if (refresh.requests() > sent) {
                replaced += refresh.lastOutcome() == Downloader::Outcome::Replaced;
                unchanged += refresh.lastOutcome() == Downloader::Outcome::NotModified;
                publishNext = newStores;
            }
        }
        const int asked = refresh.requests() - requests;
        // An hour is twelve requests, each a new store or each a 304: anything else measures
        // something other than what the row says.
        if (asked != 12 || (newStores ? replaced : unchanged) != asked) {
            state.SkipWithError(newStores ? "expected 12 requests, each bringing a new store"
                                          : "expected 12 requests, each answered 304");
            break;
        }
        cpuTotal += cpu;
        askedTotal += asked;
        replacedTotal += replaced;
        unchangedTotal += unchanged;
    }
    const auto perHour = benchmark::Counter::kAvgIterations;
    state.counters["cpu_ms_per_hour"] = benchmark::Counter(cpuTotal * 1000, perHour);
    state.counters["requests"] = benchmark::Counter(askedTotal, perHour);
    state.counters["cpu_ms_per_request"] = askedTotal > 0 ? cpuTotal * 1000 / askedTotal : 0;
    state.counters["new_stores"] = benchmark::Counter(replacedTotal, perHour);
    state.counters["answers_304"] = benchmark::Counter(unchangedTotal, perHour);
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
