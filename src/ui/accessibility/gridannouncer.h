// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

namespace cr::ui {

class ResultGridView;

// Tells a screen reader which grid cells a user event changed, once the
// window shows the change: each cell whose name changed on its own, or the
// whole table at once when a series changed more than a few.
class GridAnnouncer final : public QObject {
public:
    static constexpr int kCellsOneByOne = 16;

    explicit GridAnnouncer(ResultGridView* view);

private:
    void rowsChanged(int first, int last);
    void rememberAll();

    ResultGridView* m_view;
    // The name last told for each cell (row * columns + column).
    QHash<int, QString> m_told;
};

} // namespace cr::ui
