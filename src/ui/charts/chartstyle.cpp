// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/chartstyle.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QRectF>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace cr::ui::chartstyle {

double valueAxisMargin(const QFontMetrics& metrics, const ValueAxis& axis) {
    int labels = metrics.horizontalAdvance(QStringLiteral("0"));
    for (double value : widestLabelValues(axis)) {
        labels = std::max(labels, metrics.horizontalAdvance(numberText(value)));
    }
    return kSpacing + metrics.height() + kSpacing + labels + kSpacing;
}

void drawValueLabels(QPainter& p, const QRectF& margin, const std::vector<AxisTick>& ticks,
                     const std::function<double(double)>& row, const QString& title,
                     double middle) {
    const QFontMetrics metrics = p.fontMetrics();
    for (const AxisTick& t : ticks) {
        if (t.labelled) {
            const double y = row(t.value);
            const QRectF box(margin.left(), y - metrics.height(), margin.width() - kSpacing,
                             2 * metrics.height());
            p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, numberText(t.value));
        }
    }
    p.save();
    p.translate(margin.left() + kSpacing + metrics.ascent(), middle);
    p.rotate(-90);
    p.drawText(QPointF(-metrics.horizontalAdvance(title) / 2.0, 0), title);
    p.restore();
}

namespace {

const char* const kPairNames[kPairCount] = {"Rot/Schwarz", "Manque/Passe", "Gerade/Ungerade"};
const char* const kZeroHitsBoth = "; eine Null zählt für beide Felder ihrer Zeile als Treffer.";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

QString counterTip(std::size_t counter, bool runs) {
    const QString pair = text(kPairNames[counter % kPairCount]);
    QString tip =
        counter < kPairCount
            ? QStringLiteral("%1: Felder der Paarung %2 (zwei je Zeile des Rasters), die seit "
                             "Start bzw. Reset noch nie getroffen wurden")
            : QStringLiteral("%1: Felder der Paarung %2, die im ersten Step getroffen wurden "
                             "und seitdem nicht wieder (im Raster dunkelrot)");
    tip = tip.arg(text(kCounterLooks[counter].name), pair) + text(kZeroHitsBoth);
    if (runs) {
        tip += QStringLiteral("\nDie Linie verbindet die Mittel über alle Läufe, "
                              "ein Punkt je Step.");
    }
    return tip;
}

QString statisticTip(bool runs) {
    QString tip = QStringLiteral(
        "Statistisch: der statistische Wert, den das Fenster nach jedem Step zeigt: in Step 1 "
        "gleich der Step-Rate, danach mit jedem Step halbiert (gerundet).\nEine Faustregel "
        "für die Zähler; den exakten Mittelwert zeigt die Linie "
        "„Erwartungswert“.");
    if (runs) {
        tip += QStringLiteral(" In jedem Lauf gleich.");
    }
    return tip;
}

QString meanTip() {
    return QStringLiteral("Erwartungswert: der exakte Mittelwert eines Zählers bei reinem "
                          "Zufall, 2 × Step-Rate × (18/37) hoch Step; für Leer "
                          "und 1x (rot) jeder Paarung derselbe.");
}

QString bandTip() {
    return QStringLiteral("Erwartung ± 2σ: der Erwartungswert plus und minus zwei "
                          "Standardabweichungen σ des exakten Gesetzes.\nHier liegen bei "
                          "reinem Zufall etwa 95 % der Werte eines Zählers in einem Lauf.");
}

QString whiskerTip() {
    return QStringLiteral(
        "± 1 SD über die Läufe: je Step und Zähler ein senkrechter Strich in "
        "dessen Farbe, von Mittel − SD bis Mittel + SD; SD ist die Standardabweichung der "
        "Werte über alle Läufe.\nBei reinem Zufall ist SD etwa σ, der Strich "
        "also etwa halb so hoch wie das Band.");
}

QString ringTip() {
    return QStringLiteral("außerhalb ± 2σ: ein Kreis um einen Wert außerhalb "
                          "des Bandes. Bei reinem Zufall liegt etwa 1 von 20 Werten so weit "
                          "draußen.");
}

// What z is, once for every element of the chart by source.
const char* const kWhatZIs =
    "\nz: um wie viele Standardfehler σ/\u221aL\u00e4ufe das Mittel vom exakten Mittel "
    "abweicht. So stehen alle Quellen auf einer Skala, wie viele L\u00e4ufe sie auch haben.";

QString sourceTip(const QString& name, std::size_t counter) {
    return QStringLiteral("%1: die Abweichung z des Mittels von %2 \u00fcber die L\u00e4ufe "
                          "aus dieser Datei, ein Punkt je Step.")
               .arg(name, text(kCounterLooks[counter].name)) +
           text(kWhatZIs) + QLatin1Char('\n') + counterTip(counter, false);
}

QString pooledTip(std::size_t counter) {
    return QStringLiteral("%1, alle Quellen: die Abweichung z des Mittels \u00fcber die "
                          "L\u00e4ufe aller Dateien zusammen, ein Punkt je Step.")
               .arg(text(kCounterLooks[counter].name)) +
           text(kWhatZIs) + QLatin1Char('\n') + counterTip(counter, false);
}

QString zeroLineTip() {
    return QStringLiteral("exaktes Mittel: z = 0, das Mittel gleich dem Erwartungswert des "
                          "exakten Gesetzes. Eine Quelle ohne Abweichung l\u00e4ge hier.");
}

QString deviationBandTip() {
    return QStringLiteral("\u00b1 2: so weit streut z bei reinem Zufall in 95 von 100 "
                          "F\u00e4llen.\nEin Punkt au\u00dferhalb kommt auch bei reinem "
                          "Zufall vor, etwa 1 von 22. Die Steps einer Quelle z\u00e4hlen "
                          "dieselben L\u00e4ufe, darum liegen Nachbarn oft gemeinsam auf "
                          "einer Seite; erst eine Quelle, die in vielen Steps weit "
                          "au\u00dferhalb liegt, deutet auf eine Abweichung.");
}

QString deviationAxisTip() {
    return QStringLiteral("Abweichung z (in Standardfehlern): (Mittel \u2212 exaktes Mittel) "
                          "/ (\u03c3 / \u221aL\u00e4ufe), je Step mit \u03c3 des exakten "
                          "Gesetzes.\n\u00dcber 0 z\u00e4hlt die Quelle mehr Felder als "
                          "erwartet, darunter weniger. Die Achse ist immer linear geteilt.");
}

QString linearOnlyNote() {
    return QStringLiteral("Achse linear: z ist auch negativ");
}

QString linearOnlyTip() {
    return linearOnlyNote() +
           QStringLiteral(". Die logarithmische Achse gilt f\u00fcr Anzahlen; die "
                          "Abweichung z ist oft kleiner als 0 und wird deshalb immer "
                          "linear gezeigt.");
}

QString valueAxisTip(bool runs, bool logarithmic) {
    QString tip = QStringLiteral("Anzahl Felder: der Wert eines Zählers, also wie viele "
                                 "Felder er zählt (höchstens 2 × Step-Rate).");
    if (runs) {
        tip += QStringLiteral(" Bei vielen Läufen: das Mittel über die Läufe.");
    }
    if (logarithmic) {
        tip += QStringLiteral("\nLogarithmisch geteilt: jede Zehnerpotenz gleich hoch; eine 0 "
                              "liegt am Boden der Achse.");
    }
    return tip;
}

QString stepAxisTip() {
    return QStringLiteral("Step: die abgeschlossenen Steps, jeder mit so vielen Würfen wie "
                          "die Step-Rate. Alle stehen auf der Achse, auch die am Ende, in denen "
                          "alle Zähler 0 sind.");
}

QString zeroTailTip(const QString& note) {
    return note + QStringLiteral(": In diesen Steps ist kein Feld mehr leer oder nur im ersten "
                                 "Step getroffen (bei vielen Läufen: in keinem Lauf); alle "
                                 "Zähler liegen auf der 0.");
}

void answerToolTip(QEvent* event, QWidget* owner, const QString& info) {
    if (info.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return;
    }
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                       Qt::convertFromPlainText(info, Qt::WhiteSpaceNormal), owner);
}

} // namespace cr::ui::chartstyle
