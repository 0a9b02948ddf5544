// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace cr::batch {

// A line on a terminal that tells how far the work is, shown only once it
// has run longer than a second and wiped when the work is done. Workers add
// to done(); a thread of its own redraws the line a few times a second.
class Progress {
public:
    Progress(bool enabled, std::ostream& out, long long total, std::string unit);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    std::atomic<long long>& done() { return m_done; }
    // Stops the line and wipes it; the destructor does it too.
    void finish();

private:
    void tick();

    std::ostream& m_out;
    long long m_total;
    std::string m_unit;
    std::atomic<long long> m_done{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_shown = false;
    std::thread m_ticker;
};

} // namespace cr::batch
