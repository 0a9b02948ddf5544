// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/mainwindow.h"

#include "io/infofile.h"
#include "io/permanence_reader.h"
#include "ui/accessibility/accessibility.h"
#include "ui/common/palette.h"
#include "ui/common/twips.h"
#include "ui/common/widgetfactory.h"
#include "ui/files/importchooser.h"
#include "ui/grid/resultgridmodel.h"
#include "ui/grid/resultgridview.h"
#include "ui/live/journalkeeper.h"
#include "ui/live/livepanel.h"
#include "ui/main/appicon.h"
#include "ui/main/runmenu.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>

namespace cr::ui {

namespace {

// The context menu's shortcuts work whatever box of the window has the
// focus: a line edit claims some of them for itself before any shortcut is
// looked at (Ctrl+E moves to the line's end where the keyboard scheme says
// so). Only the keys of the window's enabled actions are taken from the
// boxes; every other key, Ctrl+A/C/V/X/Z among them, stays theirs.
class MenuKeysFirst final : public QObject {
public:
    explicit MenuKeysFirst(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_window) {
            return false;
        }
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : m_window->actions()) {
            if (action->isEnabled() && action->shortcut() == pressed) {
                event->ignore(); // not claimed: the shortcut goes to the menu
                return true;
            }
        }
        return false;
    }

private:
    QWidget* m_window;
};

} // namespace

const QString MainWindow::kTitle =
    QStringLiteral("Rerovu / DU / Zozozazed 4    Tarvo / V05.01  www.chancenraster.example");

MainWindow::MainWindow(RandomSource& random, const QString& decimalSeparator, const QString& appDir,
                       QWidget* parent)
    : QWidget(parent), m_port(this), m_run(m_port, random, decimalSeparator.toStdString()),
      m_model(std::make_unique<ResultGridModel>(m_run.grid())), m_appDir(appDir) {
    installFontSubstitutes();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setWindowIcon(makeAppIcon());
    setFixedSize(px(9570), px(7605));
    setColours(this, colours::kBackground, colours::kDarkBlue);

    m_run.grid().setObserver(m_model.get());
    m_form = buildForm(this, m_model.get());
    m_port.attach(m_form.widgets, m_model.get());
    describeForScreenReaders(this, QString::fromLatin1(staticMetaObject.className()));
    m_run.startup();
    createConnections();
    m_menu = new RunMenu(this, m_run, decimalSeparator,
                         [this](const std::function<void(RunControl&)>& change) {
                             handle([this, &change] { change(m_run); });
                         });
    setAcceptDrops(true);
    m_live = new LivePanel(this);
    m_live->setGeometry(0, px(7605), px(9570), LivePanel::kHeight);
    m_live->hide();
    m_live->layout()->activate();          // laid out while still hidden, so its sizes are known
    QWidget* before = m_form.buttons.clip; // the panel comes last in the tab order
    for (QWidget* next : m_live->tabOrder()) {
        QWidget::setTabOrder(before, next);
        before = next;
    }
    m_journal = std::make_unique<JournalKeeper>(this, m_run);
    m_run.setLiveObserver(m_journal.get());
    connect(m_live, &LivePanel::entered, this, &MainWindow::enterLive);
    connect(m_live, &LivePanel::undoRequested, this, &MainWindow::undoLive);
    connect(m_live, &LivePanel::redoRequested, this, &MainWindow::redoLive);
    connect(m_menu, &RunMenu::liveRequested, this, &MainWindow::prepareLive);
    connect(m_menu, &RunMenu::runSaved, this, [this] {
        if (m_run.live()) {
            m_journal->saved();
        }
    });
    m_menu->attachTo(this);
    m_menu->attachTo(m_form.grid);
    m_undo = new QAction(QStringLiteral("Zurück"), this);
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = new QAction(QStringLiteral("Wiederholen"), this);
    m_redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    m_undo->setEnabled(false); // until a live run has something to take back
    m_redo->setEnabled(false);
    connect(m_undo, &QAction::triggered, this, &MainWindow::undoLive);
    connect(m_redo, &QAction::triggered, this, &MainWindow::redoLive);
    for (QWidget* target : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_form.grid)}) {
        target->addAction(m_undo);
        target->addAction(m_redo);
    }
    followLive();
    QApplication::instance()->installEventFilter(new MenuKeysFirst(this));
    m_form.boxes.anzahl->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() {
    m_run.grid().setObserver(nullptr);
}

template <typename Handler> void MainWindow::handle(Handler handler) {
    const QPointer<QWidget> focused = QApplication::focusWidget();
    {
        QtWindowPort::Batch batch(m_port, [this] {
            m_menu->follow();
            followLive();
        });
        handler();
    }
    keepFocusAtWork(focused);
}

// When a handler disables or hides the control that has the focus, the focus
// goes on to the next thing to do, never onto "Ende" or "Abbruch", where one
// more Space would ask a question that defaults to Yes.
void MainWindow::keepFocusAtWork(QWidget* focusedBefore) {
    if (!focusedBefore || focusedBefore->window() != this ||
        (focusedBefore->isEnabled() && focusedBefore->isVisible())) {
        return;
    }
    const Form::Buttons& b = m_form.buttons;
    // A cover that closed with the focus inside hands it back to its opener.
    const QWidget* now = QApplication::focusWidget();
    const auto inside = [focusedBefore](const QWidget* cover) {
        return focusedBefore == cover || cover->isAncestorOf(focusedBefore);
    };
    if ((now == b.info && inside(m_form.infotext)) || (now == b.import && inside(m_form.chooser))) {
        return;
    }
    for (QWidget* next :
         {static_cast<QWidget*>(m_live->entryBox()), static_cast<QWidget*>(b.weiter),
          static_cast<QWidget*>(b.step), static_cast<QWidget*>(b.clip),
          static_cast<QWidget*>(m_form.boxes.anzahl)}) {
        if (next->isEnabled() && next->isVisible()) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void MainWindow::connectButton(QWidget* button, void (RunControl::*handler)()) {
    connect(static_cast<QPushButton*>(button), &QPushButton::clicked, this,
            [this, handler] { handle([this, handler] { (m_run.*handler)(); }); });
}

void MainWindow::createConnections() {
    connect(m_form.boxes.anzahl, &QLineEdit::textChanged, this,
            [this] { handle([this] { m_run.spinsBoxChanged(); }); });
    connect(m_form.boxes.wiederhol, &QLineEdit::textChanged, this,
            [this] { handle([this] { m_run.stepRateBoxChanged(); }); });
    const Form::Buttons& b = m_form.buttons;
    connectButton(b.start, &RunControl::start);
    connect(b.start, &QPushButton::clicked, this, [this] {
        // Ready for the first spin: the live entry's box in a live run.
        QWidget* next = m_run.live() ? static_cast<QWidget*>(m_live->entryBox())
                                     : static_cast<QWidget*>(m_form.buttons.weiter);
        next->setFocus(Qt::OtherFocusReason);
    });
    connectButton(b.reset, &RunControl::reset);
    connectButton(b.weiter, &RunControl::weiter);
    connectButton(b.step, &RunControl::step);
    connectButton(b.abbrechen, &RunControl::abbruch);
    connect(static_cast<QPushButton*>(b.ende), &QPushButton::clicked, this, [this] {
        handle([this] { m_run.ende(); });
        if (!isVisible()) {
            m_journal->finish(); // closed on purpose: nothing to offer next time
        }
    });
    connectButton(b.clip, &RunControl::exportResults);
    connectButton(b.import, &RunControl::openChooser);
    connect(b.info, &QPushButton::clicked, this,
            [this] { handle([this] { m_run.toggleInfo([this] { return readInfoFile(); }); }); });
    connect(m_form.chooser, &ImportChooser::cancelled, this,
            [this] { handle([this] { m_run.cancelChooser(); }); });
    connect(m_form.chooser, &ImportChooser::importRequested, this, [this] {
        const PermanenceOutcome outcome = io::readPermanenceFile(
            m_form.chooser->chosenNativePath().toStdString(), kMostReplayedSpins);
        const std::string name = QFileInfo(m_form.chooser->chosenPath()).fileName().toStdString();
        handle([this, &outcome, &name] { m_run.applyPermanence(outcome, name); });
    });
}

namespace {

// The one local file a drag carries, or nothing.
QString droppedFile(const QMimeData* mime) {
    const QList<QUrl> urls = mime->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        m_menu->files().openDropped(path);
    }
}

// The panel is there while the run is live: the window grows by its height.
void MainWindow::followLive() {
    // Every user event passes here: a run that is not live, and was not
    // live just now, leaves the panel alone.
    if (!m_live || (!m_run.live() && !m_live->isVisible())) {
        return;
    }
    m_live->follow(m_run);
    m_undo->setEnabled(m_run.canUndo());
    m_redo->setEnabled(m_run.canRedo() && m_live->entryBox()->isEnabled());
    if (m_run.live() != m_live->isVisible()) {
        m_live->setVisible(m_run.live());
        setFixedSize(px(9570), px(7605) + (m_run.live() ? LivePanel::kHeight : 0));
    }
}

void MainWindow::prepareLive() {
    handle([this] { m_run.prepareLive(); });
    if (m_run.live() && !m_run.runStarted()) {
        m_form.boxes.wiederhol->setFocus(Qt::OtherFocusReason); // the step rate comes next
    }
}

namespace {

QString numberWithColour(int number) {
    if (number == 0) {
        return QStringLiteral("0 (grün)");
    }
    return QStringLiteral("%1 (%2)").arg(number).arg(
        makeColourTable()[static_cast<std::size_t>(number)] == kRed ? QStringLiteral("rot")
                                                                    : QStringLiteral("schwarz"));
}

} // namespace

void MainWindow::enterLive(const QString& text) {
    bool taken = false;
    const QByteArray typed = text.toUtf8();
    handle([this, &taken, &typed] {
        taken =
            m_run.liveEntry(std::string_view(typed.data(), static_cast<std::size_t>(typed.size())));
    });
    if (taken) {
        m_live->entryBox()->clear();
        m_live->tell(m_run,
                     numberWithColour(m_run.liveNumbers().back()) + QStringLiteral(" eingegeben"));
    } else {
        m_live->entryBox()->selectAll(); // typing again replaces the refused text
    }
}

void MainWindow::undoLive() {
    if (!m_run.canUndo()) {
        return;
    }
    const int number = m_run.liveNumbers().back();
    handle([this] { m_run.liveUndo(); });
    m_live->tell(m_run, numberWithColour(number) + QStringLiteral(" zurückgenommen"));
}

void MainWindow::redoLive() {
    bool taken = false;
    handle([this, &taken] { taken = m_run.liveRedo(); });
    if (taken) {
        m_live->tell(m_run, numberWithColour(m_run.liveNumbers().back()) +
                                QStringLiteral(" wieder eingegeben"));
    }
}

void MainWindow::offerUnfinishedLive() {
    if (m_run.runStarted() || m_run.live()) {
        return;
    }
    if (const auto events = m_journal->offerUnfinished()) {
        handle([this, &events] { m_run.resumeLive(*events); });
        if (m_run.runStarted()) {
            m_live->entryBox()->setFocus(Qt::OtherFocusReason);
        }
    }
}

// The info file beside the program, read anew at every opening.
std::optional<std::string> MainWindow::readInfoFile() const {
    const QString path = QDir::toNativeSeparators(QDir(m_appDir).filePath(io::kInfoFileName));
    return io::loadInfoFile(QFile::encodeName(path).toStdString());
}

} // namespace cr::ui
