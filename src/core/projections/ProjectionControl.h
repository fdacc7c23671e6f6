#pragma once

#include <atomic>
#include <functional>

namespace kestrava {

// How a long projection run tells its progress and is stopped. The window runs the projections on a
// worker thread: it sets the flag from its own thread, and turns the reports (always made on the
// thread that called the computation, never on the simulation's helper threads) into signals.
struct ProjectionControl
{
    std::function<void(double fraction)> onProgress; // 0 to 1; may be empty
    const std::atomic<bool> *cancel = nullptr; // may be null: the run cannot be stopped

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
    void report(double fraction) const
    {
        if (onProgress)
            onProgress(fraction);
    }
    // The same control for one stage of a longer run: its 0..1 becomes from..to of the whole.
    ProjectionControl stage(double from, double to) const
    {
        ProjectionControl s { nullptr, cancel };
        if (onProgress)
            s.onProgress = [f = onProgress, from, to](double x) { f(from + (to - from) * x); };
        return s;
    }
};

} // namespace kestrava
