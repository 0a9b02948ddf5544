// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shownport.h"

namespace cr {

// Out of line: inlined into its callers, g++ 12 warns falsely about the copy.
void ShownPort::setText(Control control, std::string_view text) {
    m_shown.texts[index(control)] = std::string(text);
    if (!m_muted) {
        m_window.setText(control, text);
    }
}

} // namespace cr
