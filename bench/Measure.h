#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace velkor::bench {

// The median of several timed runs, in milliseconds. `prepare` runs before
// each timed run and is not counted.
inline double medianMilliseconds(int repetitions, const std::function<void()> &prepare,
                                 const std::function<void()> &run)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Resident memory of this process, in bytes: now and the peak since the last
// reset. Linux only; elsewhere both read 0.
std::size_t residentBytes();
std::size_t peakResidentBytes();
// Returns freed memory to the system and starts a new peak from here.
void resetPeakResident();

} // namespace velkor::bench
