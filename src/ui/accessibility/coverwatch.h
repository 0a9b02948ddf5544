// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <utility>
#include <vector>

class QWidget;

namespace cr::ui {

// While a control lies over others (the info text over the grid, the import
// chooser over the right-hand column), the controls beneath it are out of the
// keyboard's reach and out of a screen reader's view, though still shown: a
// control counts as covered when its centre, the point a click aims at, lies
// under the cover. When the cover opens the focus moves into it; when it
// closes with the focus inside, the focus goes back to the button that opens
// it, if that can take it.
class CoverWatch final : public QObject {
public:
    CoverWatch(QWidget* cover, QWidget* opener, QWidget* firstFocus);

    static bool isCovered(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cover();
    void uncover();
    bool focusInside() const;

    QWidget* m_cover;
    QPointer<QWidget> m_opener;
    QPointer<QWidget> m_firstFocus;
    std::vector<std::pair<QPointer<QWidget>, Qt::FocusPolicy>> m_covered;
    bool m_focusWasInside = false;
};

} // namespace cr::ui
