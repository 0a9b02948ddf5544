// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/seriesview.h"

#include "core/texts.h"
#include "ui/charts/seriescharts.h"
#include "ui/files/stepsaver.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace cr::ui {

namespace {

const QString kZeroSentence = QStringLiteral(
    "Die Null gehört zu keiner Seite: Sie beendet keine Serie und verlängert keine.");
const QString kTooFewSpins = QStringLiteral("Zu wenige Würfe für den Test (mindestens 185)");

// The rows of the pairs' table, with what each says and what chance gives.
struct RowText {
    const char* title;
    const char* tip;
};
const RowText kRows[] = {
    {"Entscheidungen", "Würfe ohne die Null: Nur sie fallen auf eine Seite der Paarung."},
    {"Seite 1", "Wie oft die erste Seite (Rot, Manque, Gerade) fiel; bei reinem Zufall die "
                "Hälfte der Entscheidungen."},
    {"Seite 2", "Wie oft die zweite Seite (Schwarz, Passe, Ungerade) fiel; bei reinem Zufall "
                "die Hälfte der Entscheidungen."},
    {"Écart", "Der Vorsprung der ersten Seite vor der zweiten (Seite 1 − Seite 2); bei reinem "
              "Zufall im Mittel 0, wächst aber wie √n."},
    {"Écart ÷ √n", "Der Écart in Einheiten der Wurzel aus den Entscheidungen: Bei reinem "
                   "Zufall liegt er in etwa 95 % der Fälle zwischen −2 und 2."},
    {"Serien", "Wie viele Serien (Folgen einer Seite) es gab, beider Seiten zusammen."},
    {"Serien erwartet", "So viele Serien erwartet reiner Zufall bei diesen Zahlen beider Seiten "
                        "(Mittel des Runs-Tests 1 + 2·n₁·n₂/n, je Folge)."},
    {"z (Runs-Test)", "Abstand der Serien von ihrer Erwartung in Standardabweichungen (Runs-Test "
                      "nach Wald und Wolfowitz). Bei reinem Zufall meist zwischen −2 und 2; "
                      "deutlich darunter: die Seiten klumpen, darüber: sie wechseln zu oft."},
    {"Längste Serie 1", "Die längste Serie der ersten Seite und in Klammern die exakte Chance, "
                        "dass reiner Zufall bei so vielen Entscheidungen eine mindestens so "
                        "lange bringt. Erst eine sehr kleine Chance ist auffällig."},
    {"Längste Serie 2", "Die längste Serie der zweiten Seite und in Klammern die exakte Chance, "
                        "dass reiner Zufall bei so vielen Entscheidungen eine mindestens so "
                        "lange bringt. Erst eine sehr kleine Chance ist auffällig."},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));

QString percent(double chance) {
    if (chance < 1e-6) {
        return QStringLiteral("< 0,0001 %").replace(QLatin1Char(','), QLocale().decimalPoint());
    }
    return QLocale().toString(100 * chance, 'g', 2) + QStringLiteral(" %");
}

} // namespace

SeriesView::SeriesView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QGridLayout(this);
    auto* choices = new QHBoxLayout;
    m_pairChoice = new QComboBox(this);
    for (int pair = 0; pair < analysis::kSeriesPairs; ++pair) {
        m_pairChoice->addItem(pairName(pair));
    }
    m_pairChoice->setToolTip(QStringLiteral("Die Paarung, deren Serien das Diagramm zeigt."));
    m_sideChoice = new QComboBox(this);
    m_sideChoice->setToolTip(
        QStringLiteral("Die Serien einer Seite oder beider Seiten nebeneinander."));
    const auto fillSides = [this] {
        const int pair = m_pairChoice->currentIndex();
        const int side = std::max(m_sideChoice->currentIndex(), 0);
        const QSignalBlocker quiet(m_sideChoice);
        m_sideChoice->clear();
        m_sideChoice->addItems(
            {QStringLiteral("beide Seiten"), sideName(pair, 0), sideName(pair, 1)});
        m_sideChoice->setCurrentIndex(side);
    };
    fillSides();
    connect(m_pairChoice, &QComboBox::activated, this, [this, fillSides] {
        fillSides();
        showChart();
    });
    connect(m_sideChoice, &QComboBox::activated, this, &SeriesView::showChart);
    auto* pairLabel = new QLabel(QStringLiteral("Serien von"), this);
    pairLabel->setBuddy(m_pairChoice);
    choices->addWidget(pairLabel);
    choices->addWidget(m_pairChoice);
    choices->addWidget(m_sideChoice);
    choices->addStretch(1);
    m_lengthChart = new SeriesLengthChart(this);
    m_numberChart = new NumberBarsChart(this);

    auto* zero = new QLabel(kZeroSentence, this);
    zero->setWordWrap(true);
    zero->setToolTip(QStringLiteral("So zählen alle Zahlen dieser Ansicht: Eine Null zwischen "
                                    "zwei Rot lässt die Serie weiterlaufen."));
    m_pairs = new QTableWidget(kRowCount, analysis::kSeriesPairs, this);
    m_pairs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pairs->verticalHeader()->setDefaultSectionSize(m_pairs->fontMetrics().height() + 4);
    m_pairs->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_pairs->setToolTip(QStringLiteral("Je Paarung die Seiten, ihr Écart, der Runs-Test und die "
                                       "längsten Serien; der Hinweis jeder Zeile erklärt sie."));
    for (int row = 0; row < kRowCount; ++row) {
        auto* item = new QTableWidgetItem(QString::fromUtf8(kRows[row].title));
        item->setToolTip(QString::fromUtf8(kRows[row].tip));
        m_pairs->setVerticalHeaderItem(row, item);
    }
    for (int pair = 0; pair < analysis::kSeriesPairs; ++pair) {
        auto* item = new QTableWidgetItem(pairName(pair));
        item->setToolTip(
            QStringLiteral("Die Paarung %1; die Null zählt zu keiner Seite.").arg(pairName(pair)));
        m_pairs->setHorizontalHeaderItem(pair, item);
    }
    m_numbersText = new QLabel(QStringLiteral("Noch keine Auswertung."), this);
    m_numbersText->setWordWrap(true);
    m_numbersText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_numbersText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_numbersText->setToolTip(QStringLiteral(
        "Der Chi-Quadrat-Test fragt, ob die 37 Zahlen zusammen weiter von n/37 abweichen, als "
        "reiner Zufall es meist tut; p ist die Chance dafür bei einem fairen Kessel."));

    m_copy = new QPushButton(QStringLiteral("Tabelle kopieren"), this);
    m_copy->setToolTip(QStringLiteral("Alle Zahlen dieser Ansicht mit ihrer Herkunft (Zeilen mit "
                                      "\u201e#\u201c) für eine Tabellenkalkulation in die "
                                      "Zwischenablage."));
    m_save = new QPushButton(QStringLiteral("Tabelle speichern \u2026"), this);
    m_save->setToolTip(QStringLiteral("Alle Zahlen dieser Ansicht mit ihrer Herkunft als "
                                      "Textdatei mit Tabulatoren (TSV) speichern."));
    m_copy->setEnabled(false);
    m_save->setEnabled(false);
    connect(m_copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(tableText()); });
    connect(m_save, &QPushButton::clicked, this, [this] {
        const QString path = m_choosePath ? m_choosePath() : QString();
        if (!path.isEmpty()) {
            saveTable(path);
        }
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);

    auto* right = new QVBoxLayout;
    right->addWidget(zero);
    right->addWidget(m_pairs, 1);
    layout->addLayout(choices, 0, 0);
    layout->addWidget(m_lengthChart, 1, 0);
    layout->addLayout(right, 0, 1, 2, 1);
    layout->addWidget(m_numberChart, 2, 0);
    layout->addWidget(m_numbersText, 2, 1);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(2, 1);
}

QString SeriesView::decimal(double value, int decimals) const {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

void SeriesView::setStatistics(const analysis::SeriesStats& stats,
                               const analysis::TableOrigin& origin) {
    m_stats = stats;
    m_origin = origin;
    m_shown = true;
    m_copy->setEnabled(true);
    m_save->setEnabled(true);
    showPairs();
    showNumbers();
    showChart();
}

void SeriesView::choose(int pair, int side) {
    m_pairChoice->setCurrentIndex(std::clamp(pair, 0, analysis::kSeriesPairs - 1));
    emit m_pairChoice->activated(m_pairChoice->currentIndex());
    m_sideChoice->setCurrentIndex(std::clamp(side, 0, 2));
    showChart();
}

void SeriesView::showChart() {
    // The combo lists "beide" first; the chart counts the sides 0, 1 and 2 for both.
    const int choice = m_sideChoice->currentIndex();
    m_lengthChart->setPair(m_stats.pairs[static_cast<std::size_t>(m_pairChoice->currentIndex())],
                           m_pairChoice->currentIndex(), choice <= 0 ? 2 : choice - 1);
}

void SeriesView::showPairs() {
    const QLocale locale;
    for (int pair = 0; pair < analysis::kSeriesPairs; ++pair) {
        const analysis::PairSeries& p = m_stats.pairs[static_cast<std::size_t>(pair)];
        const std::optional<double> z = p.runsZ();
        const auto longest = [&](int side) {
            const long long length = p.longest[static_cast<std::size_t>(side)];
            if (length == 0) {
                return QStringLiteral("–");
            }
            return QStringLiteral("%1 (%2)").arg(length).arg(
                percent(p.chanceOfSeries(side, length)));
        };
        const QString cells[kRowCount] = {
            locale.toString(p.decisions),
            locale.toString(p.sides[0]),
            locale.toString(p.sides[1]),
            (p.ecart() > 0 ? QStringLiteral("+") : QString()) + locale.toString(p.ecart()),
            locale.toString(p.ecartPerRoot(), 'f', 2),
            locale.toString(p.runs),
            locale.toString(p.runsMean(), 'f', 1),
            z ? locale.toString(*z, 'f', 2) : QStringLiteral("–"),
            longest(0),
            longest(1),
        };
        for (int row = 0; row < kRowCount; ++row) {
            auto* item = new QTableWidgetItem(cells[row]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // Rows of one side name it for this pair.
            const bool second = row == 2 || row == 9;
            item->setToolTip(row == 1 || row == 2 || row >= 8
                                 ? QStringLiteral("%1: %2").arg(sideName(pair, second ? 1 : 0),
                                                                QString::fromUtf8(kRows[row].tip))
                                 : QString::fromUtf8(kRows[row].tip));
            m_pairs->setItem(row, pair, item);
        }
        if (!z) {
            m_pairs->item(7, pair)->setToolTip(
                QStringLiteral("Kein Runs-Test: Eine Seite kam nicht vor, es gibt nichts zu "
                               "vergleichen."));
        }
    }
}

void SeriesView::showNumbers() {
    const analysis::NumberCounts& n = m_stats.numbers;
    m_numberChart->setCounts(n);
    const QLocale locale;
    QStringList lines;
    lines << QStringLiteral("%L1 Würfe in %L2 %3; Serien reichen nie von einer in die nächste.")
                 .arg(n.spins)
                 .arg(m_stats.sequences)
                 .arg(m_stats.sequences == 1 ? QStringLiteral("Folge")
                                             : QStringLiteral("Folgen (Dateien bzw. Läufe)"));
    if (n.spins == 0) {
        m_numbersText->setText(lines.join(QLatin1Char('\n')));
        return;
    }
    const std::optional<double> p = n.chiSquareP();
    if (p) {
        lines << QStringLiteral("Chi-Quadrat = %1 bei 36 Freiheitsgraden, p = %2: So weit "
                                "oder weiter weichen die 37 Zahlen bei einem fairen Kessel in "
                                "%2 der Fälle ab; erst ein p unter 1 % ist auffällig.")
                     .arg(locale.toString(n.chiSquare(), 'f', 1), percent(*p));
    } else {
        lines << QStringLiteral("Chi-Quadrat = %1: %2.")
                     .arg(locale.toString(n.chiSquare(), 'f', 1), kTooFewSpins);
    }
    const auto extreme = [&](const QString& what, int number) {
        const double z = m_numberChart->deviation(number);
        return QStringLiteral("%1: %2 mit %L3-mal (erwartet %4, %5 σ). So weit ab liegt eine "
                              "bestimmte Zahl mit %6 Chance, irgendeine der 37 mit mindestens "
                              "%7 (untere Schranke 1 − (1 − p)^37, denn die 37 Zählungen hängen "
                              "zusammen).")
            .arg(what)
            .arg(number)
            .arg(n.counts[static_cast<std::size_t>(number)])
            .arg(locale.toString(n.expected(), 'f', 1),
                 (z > 0 ? QStringLiteral("+") : QString()) + locale.toString(z, 'f', 1),
                 percent(n.chanceForOne(number)), percent(n.chanceAmong37(number)));
    };
    lines << extreme(QStringLiteral("Am häufigsten"), n.most());
    lines << extreme(QStringLiteral("Am seltensten"), n.least());
    m_numbersText->setText(lines.join(QLatin1Char('\n')));
}

QString SeriesView::tableText() const {
    if (!m_shown) {
        return {};
    }
    const QString end = QString::fromUtf8(texts::kExportLineEnd.data(),
                                          static_cast<qsizetype>(texts::kExportLineEnd.size()));
    QString text = QString::fromStdString(analysis::tableNote(m_origin));
    const auto line = [&text, &end](const QStringList& cells) {
        text += cells.join(QLatin1Char('\t')) + end;
    };
    line({QStringLiteral("Paarung"), QStringLiteral("Entscheidungen"), QStringLiteral("Seite 1"),
          QStringLiteral("Anzahl 1"), QStringLiteral("Seite 2"), QStringLiteral("Anzahl 2"),
          QStringLiteral("Écart"), QStringLiteral("Écart/√n"), QStringLiteral("Serien"),
          QStringLiteral("Serien erwartet"), QStringLiteral("z Runs-Test"),
          QStringLiteral("Längste 1"), QStringLiteral("Chance Längste 1"),
          QStringLiteral("Längste 2"), QStringLiteral("Chance Längste 2")});
    long long lengths = 0;
    for (int pair = 0; pair < analysis::kSeriesPairs; ++pair) {
        const analysis::PairSeries& p = m_stats.pairs[static_cast<std::size_t>(pair)];
        const std::optional<double> z = p.runsZ();
        const auto chance = [&](int side) {
            const long long length = p.longest[static_cast<std::size_t>(side)];
            return length == 0 ? QString()
                               : QString::number(p.chanceOfSeries(side, length), 'g', 4)
                                     .replace(QLatin1Char('.'), QLocale().decimalPoint());
        };
        lengths = std::max({lengths, p.longest[0], p.longest[1]});
        line({pairName(pair), QString::number(p.decisions), sideName(pair, 0),
              QString::number(p.sides[0]), sideName(pair, 1), QString::number(p.sides[1]),
              QString::number(p.ecart()), decimal(p.ecartPerRoot(), 3), QString::number(p.runs),
              decimal(p.runsMean(), 2), z ? decimal(*z, 3) : QString(),
              QString::number(p.longest[0]), chance(0), QString::number(p.longest[1]), chance(1)});
    }
    text += end;
    const analysis::NumberCounts& n = m_stats.numbers;
    line({QStringLiteral("Zahl"), QStringLiteral("Anzahl"), QStringLiteral("erwartet"),
          QStringLiteral("Abstand (σ)")});
    for (int number = 0; number < analysis::kNumbers; ++number) {
        line({QString::number(number), QString::number(n.counts[static_cast<std::size_t>(number)]),
              decimal(n.expected(), 2), decimal(m_numberChart->deviation(number), 2)});
    }
    line({QStringLiteral("Chi-Quadrat (36 Freiheitsgrade)"), decimal(n.chiSquare(), 2)});
    const std::optional<double> p = n.chiSquareP();
    line({QStringLiteral("p-Wert"),
          p ? QString::number(*p, 'g', 4).replace(QLatin1Char('.'), QLocale().decimalPoint())
            : kTooFewSpins});
    text += end;
    QStringList titles{QStringLiteral("Länge")};
    for (int pair = 0; pair < analysis::kSeriesPairs; ++pair) {
        for (int side = 0; side < 2; ++side) {
            titles << sideName(pair, side) << sideName(pair, side) + QStringLiteral(" erwartet");
        }
    }
    line(titles);
    for (long long k = 1; k <= lengths; ++k) {
        QStringList cells{QString::number(k)};
        for (const analysis::PairSeries& pair : m_stats.pairs) {
            for (int side = 0; side < 2; ++side) {
                const auto& counts = pair.byLength[static_cast<std::size_t>(side)];
                cells << QString::number(k <= static_cast<long long>(counts.size())
                                             ? counts[static_cast<std::size_t>(k - 1)]
                                             : 0)
                      << QString::number(pair.expectedOfLength(side, k), 'g', 6)
                             .replace(QLatin1Char('.'), QLocale().decimalPoint());
            }
        }
        line(cells);
    }
    return text;
}

bool SeriesView::saveTable(const QString& path) {
    const QByteArray text = tableText().toUtf8();
    const WriteResult result =
        writeWholeFile(path, std::string_view(text.data(), static_cast<std::size_t>(text.size())));
    if (!result.ok) {
        QMessageBox::warning(this, QStringLiteral("Auswertung"), result.error);
    }
    return result.ok;
}

} // namespace cr::ui
