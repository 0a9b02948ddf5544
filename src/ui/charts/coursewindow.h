// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/evaluation.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QPushButton;
class QScrollArea;

namespace cr::ui {

class CourseChart;

// The window "Verlauf": the chart, its switch for a logarithmic axis, and a
// zoom along the steps. Zoomed in, the chart grows wider than the window and
// scrolls sideways, so hundreds of steps keep their lines apart.
class CourseWindow final : public QWidget {
    Q_OBJECT
public:
    explicit CourseWindow(QWidget* parent);

    CourseChart& chart() const { return *m_chart; }
    QCheckBox& logSwitch() const { return *m_logSwitch; }
    QScrollArea& scrollArea() const { return *m_scroll; }
    int zoom() const { return m_zoom; }
    void showRun(const std::vector<StepResult>& steps, int steprate);
    // Beside the given window if the screen has room there, else over it.
    void placeBeside(const QWidget& window);

    // The chart's width as a multiple of the window's: 1, 2, 4 … 64, and no
    // wider than keeps four steps in view, so the last one can be scrolled to.
    void setZoom(int zoom);
    int largestZoom() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitChartWidth();
    void followScrolling();

    CourseChart* m_chart = nullptr;
    QScrollArea* m_scroll = nullptr;
    QCheckBox* m_logSwitch = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
    int m_zoom = 1;
};

} // namespace cr::ui
