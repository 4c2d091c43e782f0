#pragma once

#include <cstddef>
#include <exception>
#include <future>
#include <system_error>

namespace velkor {

// Runs work(begin, end) over [0, count): the upper half on a second thread
// and the lower half on this one, when there is enough to share and a thread
// can be had; otherwise all of it here. `work` must be safe to run on two
// halves at once. Exceptions come back to the caller, the lower half's first.
template <typename Work>
void inTwoHalves(std::size_t count, Work work, std::size_t minimumToShare = 2048)
{
    if (count < minimumToShare) {
        work(std::size_t(0), count);
        return;
    }
    const std::size_t middle = count / 2;
    std::future<void> upper;
    try {
        upper = std::async(std::launch::async, [&work, middle, count] { work(middle, count); });
    } catch (const std::system_error &) {
        work(std::size_t(0), count);
        return;
    }
    std::exception_ptr lowerFailure;
    try {
        work(std::size_t(0), middle);
    } catch (...) {
        lowerFailure = std::current_exception();
    }
    upper.wait();
    if (lowerFailure)
        std::rethrow_exception(lowerFailure);
    upper.get();
}

} // namespace velkor
