// The crest banner in the real window (offscreen platform unless told otherwise): the program's CPU
// time while the banner runs, per second and per tick, the repaints included, against the same
// window once the banner has ended, when its timer must cost nothing. And "Graphiques" in the
// window: its time apart from drawing (the widgets follow the models, nothing is painted) must stay
// within a 60 Hz frame; the time with the paints between matchdays is given beside it.
#include "platform/Settings.h"
#include "platform/Style.h"
#include "window/MainController.h"
#include "window/MainWindow.h"

#include "SilentDialogs.h"
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <ctime>

using namespace kestrava;

namespace {

const QString dataDir = QStringLiteral(KESTRAVA_DATA_DIR);

using bench::SilentDialogs;

// The pictures' moment: the demo store's season on 6 December, 13 matchdays played.
class December6 final : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 6), QTime(8, 0)); }
};

double processCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

// The program on the shipped season and the demo store, its window shown.
struct Window
{
    QTemporaryDir dir;
    December6 clock;
    MemorySettingsStore settings;
    SilentDialogs dialogs;
    std::unique_ptr<MainController> controller;
    std::unique_ptr<MainWindow> window;

    Window()
    {
        for (const QString &name : { QStringLiteral("2027.txt"), QStringLiteral("demo/Resultats2027.ini") })
            QFile::copy(QDir(dataDir).filePath(name), QDir(dir.path()).filePath(QFileInfo(name).fileName()));
        controller = std::make_unique<MainController>(
            dir.path(), Services { &clock, &settings, &dialogs, nullptr, nullptr, nullptr, nullptr });
        window = std::make_unique<MainWindow>(*controller);
        controller->start();
        window->show();
        run(300); // the first paints
    }

    static void run(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

// Closed before the application: widgets may not outlive it.
std::unique_ptr<Window> shown;

Window &window()
{
    if (!shown)
        shown = std::make_unique<Window>();
    return *shown;
}

constexpr int MeasuredMs = 2000;

void measure(benchmark::State &state, bool bannerRunning)
{
    Window &w = window();
    TeamViewsController &views = w.controller->teamViews();
    int ticks = 0;
    const QMetaObject::Connection counting
        = QObject::connect(&views.banner(), &CrestBannerModel::changed, [&ticks] { ++ticks; });
    for (auto _ : state) {
        if (bannerRunning) {
            views.clickLastUpdate();
        } else {
            views.endBanner();
            Window::run(100); // the tick that takes the strip away
        }
        ticks = 0;
        const double before = processCpuSeconds();
        Window::run(MeasuredMs);
        const double cpu = processCpuSeconds() - before;
        state.counters["cpu_ms_per_s"] = cpu * 1000 / (MeasuredMs / 1000.0);
        state.counters["ticks"] = ticks;
        state.counters["cpu_us_per_tick"] = ticks > 0 ? cpu * 1e6 / ticks : 0;
        state.counters["banner_running"] = views.bannerRunning() ? 1 : 0;
    }
    QObject::disconnect(counting);
}

void BM_WindowWhileBannerRuns(benchmark::State &state)
{
    measure(state, true);
}
BENCHMARK(BM_WindowWhileBannerRuns)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WindowAfterBannerEnded(benchmark::State &state)
{
    measure(state, false);
}
BENCHMARK(BM_WindowAfterBannerEnded)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OpenChartInWindow(benchmark::State &state)
{
    Window &w = window();
    MainController &c = *w.controller;
    const bool drawing = state.range(0) != 0;
    if (!drawing)
        c.setEventPump([] {});
    for (auto _ : state) {
        c.clickButton(Btn::Chart);
        state.PauseTiming();
        c.clickButton(Btn::CloseChart);
        Window::run(20);
        state.ResumeTiming();
    }
    c.setEventPump({});
}
BENCHMARK(BM_OpenChartInWindow)->ArgName("drawing")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyApplicationStyle(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shown.reset();
    return 0;
}
