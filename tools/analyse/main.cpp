// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyse.h"
#include "output.h"

#include <cerrno>
#include <iostream>
#include <streambuf>
#include <unistd.h>

namespace {

// Standard output with every write checked: a failure keeps the errno of
// the write that failed, so the message can name it.
class CheckedOutput final : public std::streambuf {
public:
    CheckedOutput() { setp(m_buffer, m_buffer + sizeof m_buffer); }

protected:
    int_type overflow(int_type c) override {
        if (sync() != 0) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        for (const char* p = pbase(); p < pptr();) {
            const ssize_t done = ::write(STDOUT_FILENO, p, static_cast<std::size_t>(pptr() - p));
            if (done < 0 && errno == EINTR) {
                continue;
            }
            if (done <= 0) {
                cr::batch::outputError() = done < 0 ? errno : EIO;
                return -1;
            }
            p += done;
        }
        setp(m_buffer, m_buffer + sizeof m_buffer);
        return 0;
    }

private:
    char m_buffer[1 << 16];
};

} // namespace

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    CheckedOutput buffer;
    std::ostream out(&buffer);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cr::batch::runAnalysis(args, out, std::cerr, isatty(STDERR_FILENO) == 1);
}
