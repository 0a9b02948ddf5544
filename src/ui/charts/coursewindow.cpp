// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/coursewindow.h"

#include "ui/charts/coursechart.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

namespace cr::ui {

namespace {

const char* const kWindowTitle = "Verlauf";
const char* const kLogSwitchText = "Logarithmische Achse";
const char* const kZoomInText = "Vergrößern";
const char* const kZoomOutText = "Verkleinern";
const char* const kZoomTip = "Breite der Steps (auch Strg+Mausrad, Strg++ und Strg+-)";
constexpr int kSpacing = 8;
constexpr int kLargestZoom = 64;

QPushButton* zoomButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(kZoomTip));
    return button;
}

} // namespace

CourseWindow::CourseWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("verlauf"));
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    m_chart = new CourseChart;
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("verlaufrollen"));
    m_scroll->setWidget(m_chart);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->installEventFilter(this);
    m_logSwitch = new QCheckBox(QString::fromUtf8(kLogSwitchText), this);
    m_logSwitch->setObjectName(QStringLiteral("logachse"));
    m_zoomOut = zoomButton("verkleinern", kZoomOutText, this);
    m_zoomIn = zoomButton("vergroessern", kZoomInText, this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_logSwitch);
    controls->addStretch(1);
    controls->addWidget(m_zoomOut);
    controls->addWidget(m_zoomIn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(controls);

    connect(m_logSwitch, &QCheckBox::toggled, m_chart, &CourseChart::setLogarithmic);
    connect(m_scroll->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &CourseWindow::followScrolling);
    connect(m_zoomIn, &QPushButton::clicked, this, [this] { setZoom(m_zoom * 2); });
    connect(m_zoomOut, &QPushButton::clicked, this, [this] { setZoom(m_zoom / 2); });
    connect(new QShortcut(QKeySequence::ZoomIn, this), &QShortcut::activated, m_zoomIn,
            &QPushButton::click);
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, m_zoomOut,
            &QPushButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    setZoom(1);
    resize(620, 460);
}

void CourseWindow::showRun(const std::vector<StepResult>& steps, int steprate) {
    m_chart->setRun(steps, steprate);
    if (m_zoom > largestZoom()) {
        setZoom(m_zoom);
    } else {
        m_zoomIn->setEnabled(m_zoom < largestZoom());
    }
}

// A step wider than a quarter of the plot in view would leave the half step
// after the last one wider than the view: scrolled to the end, the last step
// would lie out of sight.
int CourseWindow::largestZoom() const {
    const double shown = m_scroll->viewport()->width();
    const double edges = m_chart->valueAxisRect().width() + m_chart->legendRect().width();
    const double plot = std::max(shown - edges, 1.0);
    const auto steps = static_cast<double>(m_chart->stepCount());
    int zoom = 1;
    while (zoom < kLargestZoom && (2 * zoom * shown - edges) / steps <= plot / 4) {
        zoom *= 2;
    }
    return zoom;
}

void CourseWindow::setZoom(int zoom) {
    zoom = std::clamp(zoom, 1, largestZoom());
    QScrollBar* bar = m_scroll->horizontalScrollBar();
    // The middle of what is shown stays in the middle.
    const double middle = (bar->value() + bar->pageStep() / 2.0) / std::max(1, m_chart->width());
    m_zoom = zoom;
    fitChartWidth();
    bar->setValue(static_cast<int>(middle * m_chart->width() - bar->pageStep() / 2.0));
    m_zoomIn->setEnabled(m_zoom < largestZoom());
    m_zoomOut->setEnabled(m_zoom > 1);
}

void CourseWindow::fitChartWidth() {
    const int shown = m_scroll->viewport()->width();
    m_chart->setMinimumWidth(m_zoom == 1 ? 0 : shown * m_zoom);
    m_scroll->setHorizontalScrollBarPolicy(m_zoom == 1 ? Qt::ScrollBarAlwaysOff
                                                       : Qt::ScrollBarAsNeeded);
    m_chart->resize(std::max(shown, shown * m_zoom), m_scroll->viewport()->height());
    followScrolling();
}

// The chart keeps its value axis and legend at the edges of what is shown.
// Scrolling moves its pixels; those edges have to be drawn afresh.
void CourseWindow::followScrolling() {
    const int shown = m_scroll->viewport()->width();
    m_chart->setShownPart(m_zoom == 1 ? 0 : m_scroll->horizontalScrollBar()->value(),
                          m_zoom == 1 ? 0 : shown);
    m_chart->update();
}

void CourseWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setZoom(m_zoom); // fits the chart's width, within the zoom a narrower window allows
}

// Ctrl and the wheel zoom, as in most programs that show wide things.
bool CourseWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            setZoom(wheel->angleDelta().y() > 0 ? m_zoom * 2 : m_zoom / 2);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CourseWindow::placeBeside(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    QRect wanted(frame.topRight() + QPoint(kSpacing, 0), size());
    if (const QScreen* screen = window.screen()) {
        const QRect room = screen->availableGeometry();
        if (!room.contains(wanted)) {
            wanted.moveTopLeft(frame.topLeft() + QPoint(4 * kSpacing, 4 * kSpacing));
            wanted.moveRight(std::min(wanted.right(), room.right()));
            wanted.moveBottom(std::min(wanted.bottom(), room.bottom()));
            wanted.moveTopLeft(
                QPoint(std::max(wanted.left(), room.left()), std::max(wanted.top(), room.top())));
        }
    }
    move(wanted.topLeft());
}

} // namespace cr::ui
