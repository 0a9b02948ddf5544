// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress.h"

namespace cr::batch {

namespace {

constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedraw = std::chrono::milliseconds(250);

} // namespace

Progress::Progress(bool enabled, std::ostream& out, long long total, std::string unit)
    : m_out(out), m_total(total), m_unit(std::move(unit)) {
    if (enabled) {
        m_ticker = std::thread([this] { tick(); });
    }
}

Progress::~Progress() {
    finish();
}

void Progress::finish() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_ticker.joinable()) {
        m_ticker.join();
    }
    if (m_shown) {
        m_out << '\r' << std::string(78, ' ') << '\r' << std::flush;
        m_shown = false;
    }
}

void Progress::tick() {
    const auto begin = std::chrono::steady_clock::now();
    std::unique_lock lock(m_mutex);
    if (m_wake.wait_until(lock, begin + kQuietTime, [this] { return m_stop; })) {
        return;
    }
    do {
        const long long done = m_done.load(std::memory_order_relaxed);
        const long long percent = m_total > 0 ? done * 100 / m_total : 0;
        m_out << "\rchancenraster-analyse: " << percent << " % (" << done << " of " << m_total
              << ' ' << m_unit << ")   " << std::flush;
        m_shown = true;
    } while (!m_wake.wait_for(lock, kRedraw, [this] { return m_stop; }));
}

} // namespace cr::batch
