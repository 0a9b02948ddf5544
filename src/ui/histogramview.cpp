// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/histogramview.h"

#include "analysis/goodness.h"
#include "core/expectation.h"
#include "core/texts.h"

#include <QComboBox>
#include <QFontDatabase>
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
    for (const std::string_view title : texts::kRowTitles) {
        m_counter->addItem(
            QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())).simplified());
    }
    choice->addWidget(new QLabel(QStringLiteral("Histogramm: Step"), this));
    choice->addWidget(m_step);
    choice->addWidget(m_counter);
    choice->addStretch(1);
    layout->addLayout(choice);
    m_text = new QLabel(this);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_text, 1);
    connect(m_step, &QSpinBox::valueChanged, this, &HistogramView::update);
    connect(m_counter, &QComboBox::currentIndexChanged, this, &HistogramView::update);
}

void HistogramView::setStatistics(const analyse::RunStatistics* stats, int steprate) {
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

QString HistogramView::text() const {
    return m_text->text();
}

void HistogramView::update() {
    const auto step = static_cast<std::size_t>(m_step->value() - 1);
    const auto counter = static_cast<std::size_t>(std::max(m_counter->currentIndex(), 0));
    if (!m_stats || step >= m_stats->steps().size() || m_stats->runs() == 0) {
        m_text->clear();
        return;
    }
    const std::vector<long long>& counts = m_stats->steps()[step].histogram[counter];
    const analyse::GoodnessOfFit fit =
        analyse::binomialFit(counts, m_steprate, 2 * fieldChance(static_cast<int>(step) + 1));
    const QLocale locale;
    QStringList lines;
    lines << QStringLiteral("%1 %2  beobachtet  erwartet")
                 .arg(QStringLiteral("Werte"), -12)
                 .arg(QString(), 0);
    long long most = 1;
    for (const analyse::HistogramClass& c : fit.classes) {
        most = std::max(most, c.observed);
    }
    for (const analyse::HistogramClass& c : fit.classes) {
        const QString values = c.low == c.high ? QString::number(c.low)
                                               : QStringLiteral("%1–%2").arg(c.low).arg(c.high);
        const auto bar =
            static_cast<int>(30.0 * static_cast<double>(c.observed) / static_cast<double>(most));
        lines << QStringLiteral("%1 %2 %3  %4")
                     .arg(values, -12)
                     .arg(locale.toString(c.observed), 11)
                     .arg(locale.toString(c.expected, 'f', 1), 9)
                     .arg(QString(bar, QChar(0x2588)));
    }
    lines << QStringLiteral("χ² = %1 bei %2 Freiheitsgraden, p = %3")
                 .arg(locale.toString(fit.chiSquare, 'f', 2))
                 .arg(fit.freedom)
                 .arg(locale.toString(fit.pValue, 'g', 3));
    m_text->setText(lines.join(QLatin1Char('\n')));
}

} // namespace cr::ui
