// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/histogramview.h"

#include "analysis/goodness.h"
#include "core/expectation.h"
#include "ui/charts/chartstyle.h"
#include "ui/charts/histogramchart.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

namespace cr::ui {

HistogramView::HistogramView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* choice = new QHBoxLayout;
    m_step = new QSpinBox(this);
    m_step->setRange(1, 1);
    m_counter = new QComboBox(this);
    for (const chartstyle::SeriesLook& look : chartstyle::kCounterLooks) {
        m_counter->addItem(QString::fromUtf8(look.name));
    }
    m_step->setToolTip(QStringLiteral("Der Step, nach dem die Werte des Zählers gezählt werden."));
    m_counter->setToolTip(QStringLiteral("Der Zähler, dessen Werte das Histogramm zeigt."));
    choice->addWidget(new QLabel(QStringLiteral("Histogramm: Step"), this));
    choice->addWidget(m_step);
    choice->addWidget(m_counter);
    choice->addStretch(1);
    layout->addLayout(choice);
    m_chart = new HistogramChart(this);
    layout->addWidget(m_chart, 1);
    m_fit = new QLabel(this);
    m_fit->setObjectName(QStringLiteral("chiquadrat"));
    m_fit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fit->setToolTip(QStringLiteral(
        "χ² misst, wie weit die beobachteten Säulen von den erwarteten abweichen; p sagt, wie "
        "oft reiner Zufall eine mindestens so große Abweichung ergibt. Ein p unter 0,05 kommt "
        "bei reinem Zufall in etwa 1 von 20 Auswertungen vor."));
    layout->addWidget(m_fit);
    connect(m_step, &QSpinBox::valueChanged, this, &HistogramView::update);
    connect(m_counter, &QComboBox::currentIndexChanged, this, &HistogramView::update);
}

void HistogramView::setStatistics(const analysis::RunStatistics* stats, int steprate) {
    m_stats = stats;
    m_steprate = steprate;
    const int steps = stats ? static_cast<int>(stats->steps().size()) : 0;
    m_step->setRange(1, std::max(steps, 1));
    update();
}

void HistogramView::choose(int step, int counter) {
    m_step->setValue(step);
    m_counter->setCurrentIndex(counter);
    update();
}

void HistogramView::update() {
    const auto step = static_cast<std::size_t>(m_step->value() - 1);
    const auto counter = static_cast<std::size_t>(std::max(m_counter->currentIndex(), 0));
    if (!m_stats || step >= m_stats->steps().size() || m_stats->runs() == 0) {
        m_chart->setClasses({}, counter);
        m_fit->clear();
        m_text.clear();
        return;
    }
    const std::vector<long long>& counts = m_stats->steps()[step].histogram[counter];
    analysis::GoodnessOfFit fit =
        analysis::binomialFit(counts, m_steprate, 2 * fieldChance(static_cast<int>(step) + 1));
    const QLocale locale;
    QStringList lines;
    lines << QStringLiteral("%1 %2 %3")
                 .arg(QStringLiteral("Werte"), -12)
                 .arg(QStringLiteral("beobachtet"), 11)
                 .arg(QStringLiteral("erwartet"), 9);
    for (const analysis::HistogramClass& c : fit.classes) {
        lines << QStringLiteral("%1 %2 %3")
                     .arg(QString::fromStdString(analysis::classLabel(c)), -12)
                     .arg(locale.toString(c.observed), 11)
                     .arg(locale.toString(c.expected, 'f', 1), 9);
    }
    m_fit->setText(QStringLiteral("χ² = %1 bei %2 Freiheitsgraden, p = %3")
                       .arg(locale.toString(fit.chiSquare, 'f', 2))
                       .arg(fit.freedom)
                       .arg(locale.toString(fit.pValue, 'g', 3)));
    lines << m_fit->text();
    m_text = lines.join(QLatin1Char('\n'));
    m_chart->setAccessibleDescription(m_text);
    m_chart->setClasses(std::move(fit.classes), counter);
}

} // namespace cr::ui
