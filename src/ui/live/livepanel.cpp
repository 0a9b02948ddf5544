// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/live/livepanel.h"

#include "core/limits.h"
#include "core/run.h"
#include "core/texts.h"
#include "ui/accessibility/announce.h"
#include "ui/common/palette.h"
#include "ui/common/widgetfactory.h"

#include <QAccessible>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace cr::ui {

namespace {

// Fewer spins left than this, and the line says how many.
constexpr int kWarnBelow = 100;

QString colourName(int number) {
    if (number == 0) {
        return QStringLiteral("grün");
    }
    return makeColourTable()[static_cast<std::size_t>(number)] == kRed ? QStringLiteral("rot")
                                                                       : QStringLiteral("schwarz");
}

std::array<int, 6> countersOf(const RunState& s) {
    return {s.leerrs, s.leermp, s.leergu, s.einmalrs, s.einmalmp, s.einmalgu};
}

} // namespace

LivePanel::LivePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("livepanel"));
    setAutoFillBackground(true);
    setColours(this, colours::kBackground, colours::kDarkBlue);
    const QFont font = windowFont(8.25, false);
    setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(4);

    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Live-Eingabe, Zahl:"), this);
    caption->setFont(windowFont(8.25, true));
    m_entry = new QLineEdit(this);
    m_entry->setObjectName(QStringLiteral("liveentry"));
    m_entry->setMaxLength(40);
    m_entry->setFixedWidth(56);
    m_entry->setToolTip(QStringLiteral(
        "Die gefallene Zahl (0 bis 36) eintippen und Enter drücken: Sie zählt wie ein "
        "\u201eWeiter\u201c mit dieser Zahl. Strg+Z nimmt die letzte Zahl zurück, Strg+Y "
        "gibt sie wieder ein."));
    m_entry->setAccessibleName(QStringLiteral("Live-Eingabe: gefallene Zahl"));
    m_entry->installEventFilter(this);
    caption->setBuddy(m_entry);
    connect(m_entry, &QLineEdit::returnPressed, this, [this] { emit entered(m_entry->text()); });
    m_undo = new QPushButton(QStringLiteral("Zurück"), this);
    m_undo->setObjectName(QStringLiteral("liveundo"));
    m_undo->setToolTip(QStringLiteral(
        "Nimmt die zuletzt eingegebene Zahl genau zurück, als wäre sie nie eingegeben worden "
        "(Strg+Z); nicht über den letzten Reset oder Export hinaus."));
    m_redo = new QPushButton(QStringLiteral("Wiederholen"), this);
    m_redo->setObjectName(QStringLiteral("liveredo"));
    m_redo->setToolTip(QStringLiteral("Gibt die zuletzt zurückgenommene Zahl wieder ein "
                                      "(Strg+Y), bis eine neue Zahl eingegeben wird."));
    connect(m_undo, &QPushButton::clicked, this, &LivePanel::undoRequested);
    connect(m_redo, &QPushButton::clicked, this, &LivePanel::redoRequested);
    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("liveprogress"));
    m_progress->setToolTip(
        QStringLiteral("Wie viele Würfe der Live-Lauf schon hat; er endet bei 9.999 Würfen."));
    row->addWidget(caption);
    row->addWidget(m_entry);
    row->addWidget(m_undo);
    row->addWidget(m_redo);
    row->addWidget(m_progress, 1);
    layout->addLayout(row);

    // The tableau as on the table: the zero left, then twelve columns of
    // three, 3 6 9 … on top and 1 4 7 … at the bottom.
    auto* tableau = new QGridLayout;
    tableau->setSpacing(2);
    const ColourTable colours = makeColourTable();
    for (int n = 0; n <= 36; ++n) {
        auto* button = new QPushButton(QString::number(n), this);
        button->setObjectName(QStringLiteral("livezahl%1").arg(n));
        button->setFont(windowFont(8.25, true));
        button->setFixedHeight(22);
        button->setMinimumWidth(30);
        button->setFocusPolicy(Qt::TabFocus); // a click leaves the focus in the box
        const QColor background = n == 0                                         ? QColor(0, 128, 0)
                                  : colours[static_cast<std::size_t>(n)] == kRed ? QColor(192, 0, 0)
                                                                                 : QColor(0, 0, 0);
        button->setStyleSheet(
            QStringLiteral(
                "QPushButton { background: %1; color: white; border: 1px solid #808080; }"
                "QPushButton:focus { border: 2px solid #ffd000; }"
                "QPushButton:disabled { background: #a0a0a0; color: #e0e0e0; }")
                .arg(background.name()));
        button->setToolTip(QStringLiteral("%1 (%2) eingeben").arg(n).arg(colourName(n)));
        button->setAccessibleName(QStringLiteral("%1 %2").arg(n).arg(colourName(n)));
        connect(button, &QPushButton::clicked, this,
                [this, n] { emit entered(QString::number(n)); });
        m_numbers[static_cast<std::size_t>(n)] = button;
        if (n == 0) {
            button->setFixedHeight(3 * 22 + 2 * 2);
            tableau->addWidget(button, 0, 0, 3, 1);
        } else {
            tableau->addWidget(button, 2 - (n - 1) % 3, 1 + (n - 1) / 3);
        }
    }
    layout->addLayout(tableau);

    m_last = new QLabel(this);
    m_last->setObjectName(QStringLiteral("livelast"));
    m_last->setToolTip(QStringLiteral(
        "Was die letzte Eingabe getan hat: die Zahl mit ihrer Farbe und die Zähler, die sich "
        "dadurch geändert haben."));
    m_last->setAccessibleName(QStringLiteral("Letzte Eingabe"));
    m_last->setWordWrap(true); // six changed counters take two lines
    layout->addWidget(m_last);
    setFixedHeight(kHeight);
}

void LivePanel::follow(const RunControl& run) {
    const RunState& s = run.state();
    const bool open = run.live() && run.runStarted() && s.akut < kLiveTotal;
    m_entry->setEnabled(open);
    for (QPushButton* button : m_numbers) {
        button->setEnabled(open);
    }
    m_undo->setEnabled(run.canUndo());
    m_redo->setEnabled(run.canRedo() && open);
    const QLocale locale;
    QString progress;
    QString style;
    if (!run.runStarted()) {
        progress = QStringLiteral("Step-Rate wählen und Start drücken.");
        m_counters.reset();
    } else if (s.akut >= kLiveTotal) {
        progress = QStringLiteral("Der Lauf ist zu Ende: %1 Würfe.").arg(locale.toString(s.akut));
        style = QStringLiteral("color: #c00000");
    } else if (kLiveTotal - s.akut < kWarnBelow) {
        progress = QStringLiteral("%1 Würfe; noch %2 bis zum Ende des Laufs bei %3.")
                       .arg(locale.toString(s.akut), locale.toString(kLiveTotal - s.akut),
                            locale.toString(kLiveTotal));
        style = QStringLiteral("color: #c00000");
    } else {
        progress = QStringLiteral("%1 von höchstens %2 Würfen eingegeben.")
                       .arg(locale.toString(s.akut), locale.toString(kLiveTotal));
    }
    m_progress->setText(progress);
    m_progress->setStyleSheet(style);
    if (!m_counters && run.runStarted()) {
        m_counters = countersOf(s);
    }
}

void LivePanel::tell(const RunControl& run, const QString& what) {
    const RunState& s = run.state();
    const std::array<int, 6> now = countersOf(s);
    QStringList changed;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (m_counters && (*m_counters)[i] != now[i]) {
            changed << QStringLiteral("%1 %2")
                           .arg(QString::fromUtf8(
                               texts::kCounterNames[i].data(),
                               static_cast<qsizetype>(texts::kCounterNames[i].size())))
                           .arg(now[i]);
        }
    }
    m_counters = now;
    QString line = what;
    if (!changed.isEmpty()) {
        line += QStringLiteral("; geändert: ") + changed.join(QStringLiteral(", "));
    }
    m_last->setText(line);
    if (announcing()) {
        QAccessibleEvent event(m_last, QAccessible::NameChanged);
        announce(&event);
    }
}

std::vector<QWidget*> LivePanel::tabOrder() const {
    std::vector<QWidget*> order{m_entry, m_undo, m_redo};
    for (int n = 0; n <= 36; ++n) {
        // The tableau row by row, as the eye reads it: 0, then 3 6 9 …, 2 5 8 …, 1 4 7 …
        const int k = n == 0 ? 0 : 3 * ((n - 1) % 12) + 3 - (n - 1) / 12;
        order.push_back(m_numbers[static_cast<std::size_t>(k)]);
    }
    return order;
}

QString LivePanel::progressText() const {
    return m_progress->text();
}

QString LivePanel::lastText() const {
    return m_last->text();
}

// Ctrl+Z and Ctrl+Y in the box take back and redo entries of the run, never
// the box's own typing.
bool LivePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_entry &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo) ||
                          key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
        if (undo || redo) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                emit undo ? undoRequested() : redoRequested();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cr::ui
