// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QHash>

namespace cr::ui {

// The accessible interfaces a table has made for its cells, by a key of its
// own. A screen reader holds on to them by their id, so the same one is
// handed out again until the table forgets it (its rows changed) or goes.
class MadeInterfaces {
public:
    MadeInterfaces() = default;
    MadeInterfaces(const MadeInterfaces&) = delete;
    MadeInterfaces& operator=(const MadeInterfaces&) = delete;
    ~MadeInterfaces() {
        forget([](int) { return true; });
    }

    // The one made for key, or nullptr.
    QAccessibleInterface* known(int key) const {
        const auto found = m_ids.constFind(key);
        return found == m_ids.constEnd() ? nullptr : QAccessible::accessibleInterface(*found);
    }
    QAccessibleInterface* remember(int key, QAccessibleInterface* made) {
        m_ids.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    // Deletes those whose key passes the test.
    template <typename Test> void forget(Test which) {
        for (auto it = m_ids.begin(); it != m_ids.end();) {
            if (which(it.key())) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = m_ids.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    QHash<int, QAccessible::Id> m_ids;
};

} // namespace cr::ui
