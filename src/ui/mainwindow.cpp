#include "ui/mainwindow.h"

#include "core/steptable.h"
#include "core/texts.h"
#include "io/infofile.h"
#include "io/permanence_reader.h"
#include "ui/accessibility.h"
#include "ui/appicon.h"
#include "ui/coursechart.h"
#include "ui/decorations.h"
#include "ui/importchooser.h"
#include "ui/palette.h"
#include "ui/resultgridmodel.h"
#include "ui/resultgridview.h"
#include "ui/statuslabel.h"
#include "ui/stepsaver.h"
#include "ui/twips.h"
#include "ui/widgetfactory.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>

namespace cr::ui {

namespace {

// Every line the program itself writes into the status label; a refusal of
// a five-digit spin with an eight-character value stands for all of those.
QStringList ownStatusLines() {
    QStringList lines;
    auto add = [&lines](std::string_view line) {
        lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    };
    for (auto line : texts::kStartupLines) {
        add(line);
    }
    lines << QLatin1Char(' ') + QString::fromUtf8(texts::kChooserLines[0].data(),
                                                  qsizetype(texts::kChooserLines[0].size()));
    add(texts::kChooserLines[1]);
    add(texts::kChooserLines[2]);
    add(texts::kModusLine);
    add(texts::kComputerDraws);
    add(texts::kEndReached);
    add(texts::kRefusedFirst);
    add(texts::kRefusedLast);
    std::string refusal(texts::kRefusedSpin);
    refusal += "99999";
    refusal += texts::kRefusedIs;
    refusal += "1E400000,";
    add(refusal);
    return lines;
}

} // namespace

const QString MainWindow::kTitle =
    QStringLiteral("Rerovu / DU / Zozozazed 4    Tarvo / V05.01  www.chancenraster.example");

class MainWindow::Batch {
public:
    explicit Batch(MainWindow& window) : m_window(window) {
        ++m_window.m_batchDepth;
        m_window.m_model->beginBatch();
    }
    ~Batch() {
        if (--m_window.m_batchDepth == 0) {
            m_window.flushPending();
            m_window.followHistory();
        }
        m_window.m_model->endBatch();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

private:
    MainWindow& m_window;
};

template <typename Handler> void MainWindow::handle(Handler handler) {
    Batch batch(*this);
    handler();
}

MainWindow::MainWindow(RandomSource& random, const QString& decimalSeparator, const QString& appDir,
                       QWidget* parent)
    : QWidget(parent), m_run(*this, random, decimalSeparator.toStdString()), m_appDir(appDir),
      m_decimalSeparator(decimalSeparator) {
    installFontSubstitutes();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setWindowIcon(makeAppIcon());
    setFixedSize(px(9570), px(7605));
    setColours(this, colours::kBackground, colours::kDarkBlue);

    m_model = std::make_unique<ResultGridModel>(m_run.grid());
    m_run.grid().setObserver(m_model.get());
    createWidgets();
    applyStartupStates();
    applyTabOrder();
    describeForScreenReaders(this);
    m_run.startup();
    createConnections();
    createContextMenu();
    m_boxes.anzahl->setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() {
    m_run.grid().setObserver(nullptr);
}

void MainWindow::createWidgets() {
    const QColor headingBlue = colours::kBlue;
    makeHeading(this, "Label4", "Wurf", twipRect(210, 30, 465, 240), headingBlue);
    makeHeading(this, "Label5", "Zahl", twipRect(720, 30, 495, 255), headingBlue);
    makeHeading(this, "Label13", "R S", twipRect(1200, 30, 495, 255), headingBlue,
                HeadingStyle::Regular);
    makeHeading(this, "Label14", "M P", twipRect(1800, 30, 375, 255), headingBlue,
                HeadingStyle::Regular);
    makeHeading(this, "Label16", "G U", twipRect(2430, 30, 495, 255), headingBlue,
                HeadingStyle::Regular);

    m_grid = new ResultGridView(m_model.get(), this);
    m_grid->setObjectName("tabelle2");
    m_grid->setGeometry(twipRect(135, 270, 3090, 7200));
    m_grid->setFont(windowFont(8.25, false));
    m_grid->setToolTip(" Zeigt die Würfe an  ");
    m_widgets[Control::tabelle2] = m_grid;

    m_infotext = new QTextEdit(this);
    m_infotext->setObjectName("infotext");
    m_infotext->setGeometry(twipRect(45, 270, 3480, 7215));
    m_infotext->setReadOnly(true);
    m_infotext->setFont(windowFont(8.25, false));
    m_infotext->setAcceptRichText(false);
    m_widgets[Control::infotext] = m_infotext;

    createMiddle();
    createRightColumn();
    createChooserFrame();
    createDecorations();
}

void MainWindow::createMiddle() {
    auto* status = new StatusLabel(this);
    status->setObjectName("text");
    status->setGeometry(twipRect(3600, 360, 3255, 855));
    status->setFont(windowFont(8.25, false));
    status->setTextFormat(Qt::PlainText);
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status->setFrameShape(QFrame::Box);
    setColours(status, colours::kBackground, colours::kBlack);
    status->fitLines(ownStatusLines());
    m_widgets[Control::text] = status;

    const QColor dark = colours::kDarkBlue;
    makeHeading(this, "Label8", "Step", twipRect(4920, 2040, 615, 255), dark);
    m_boxes.step = makeBox(this, "textstep", " Laufnummer des aktuellen Steps (s. Step-Rate)  ",
                           twipRect(4800, 2280, 855, 375));
    makeHeading(this, "Label2", "Leer", twipRect(4350, 2850, 495, 225), dark);
    makeHeading(this, "Label15", "1x (rot)", twipRect(5565, 2850, 735, 255), dark);
    makeHeading(this, "Label3", "R/S", twipRect(3630, 3240, 375, 255), dark);
    makeHeading(this, "Label9", "M/P", twipRect(3630, 3840, 375, 255), dark);
    makeHeading(this, "Label11", "G/U", twipRect(3630, 4440, 375, 255), dark);

    struct CounterDef {
        Control control;
        const char* tip;
        int left;
        int top;
        int width;
    };
    const CounterDef counters[] = {
        {Control::labtempa, " Anzahl Leere Felder bei Rot/Schwarz ", 4200, 3120, 735},
        {Control::labtempb, " Anzahl Leere Felder bei M/P ", 4200, 3720, 735},
        {Control::labtempc, " Anzahl Leere Felder bei Gerade/Ungerade ", 4200, 4320, 735},
        {Control::labtempd, " Anzahl Feld Rot/Schwarz 1xl getroffen ", 5520, 3120, 735},
        {Control::labtempe, " Anzahl Feld  M/P 1x getroffen  ", 5520, 3720, 735},
        {Control::labtempf, " Anzahl Feld  Gerade/Ungerade 1x getroffen ", 5520, 4320, 735},
        {Control::labstat,
         " Statistischer Trefferwert obiger Felder (gerundet), bezogen auf aktuellen Step  ", 4800,
         5040, 855},
    };
    for (const CounterDef& def : counters) {
        m_widgets[def.control] =
            makeCounter(this, QString::fromUtf8(controlName(def.control)),
                        QString::fromUtf8(def.tip), twipRect(def.left, def.top, def.width, 375));
    }
    makeHeading(this, "Label12", "Statistisch", twipRect(4740, 5520, 975, 255), dark);

    m_buttons.weiter = makeButton(this, "okweiter", "Weiter", " Nächster Einzelwurf ",
                                  twipRect(3600, 5880, 930, 555), 8.25);
    m_buttons.step =
        makeButton(this, "okstep", "S t e p", " Wurfserie, Anzahl in \"Step-Rate\" definiert ",
                   twipRect(4710, 5880, 1050, 555), 8.25);
    m_buttons.reset = makeButton(this, "okreset", "Reset", " Neuanfang innerhalb der Gesamtanzahl ",
                                 twipRect(6000, 5880, 930, 555), 8.25);
    m_buttons.clip = makeButton(
        this, "okclip", "Export",
        " Schreibt die Ergebnisse in die Zwischenablage, um sie in Excel dann einzufügen..",
        twipRect(4710, 6600, 975, 375), 8.25);
    m_widgets[Control::textstep] = m_boxes.step;
    m_widgets[Control::okweiter] = m_buttons.weiter;
    m_widgets[Control::okstep] = m_buttons.step;
    m_widgets[Control::okreset] = m_buttons.reset;
    m_widgets[Control::okclip] = m_buttons.clip;
}

void MainWindow::createRightColumn() {
    const QColor dark = colours::kDarkBlue;
    makeHeading(this, "Label1", "Anzahl Würfe", twipRect(7560, 450, 1575, 255), dark);
    m_boxes.anzahl = makeBox(this, "textanzahl", " Anzahl der gewünschten Würfe ",
                             twipRect(7560, 720, 1575, 435));
    makeHeading(this, "Label7", "Akut", twipRect(8040, 1200, 615, 255), dark);
    m_boxes.akut = makeBox(this, "textakut", " Zeigt die Laufnummer des aktuellen Wurfes an ",
                           twipRect(7560, 1440, 1575, 435));
    makeHeading(this, "Label6", "Step - Rate", twipRect(7470, 2040, 1575, 255), dark);
    m_boxes.wiederhol = makeBox(this, "textwiederhol",
                                "Ab diesem Wert werden die Würfe  im linken Fenster wiederholt ",
                                twipRect(7560, 2280, 1575, 435));

    m_buttons.start = makeButton(this, "okstart", "Start", " Startet die Simulation ",
                                 twipRect(7560, 3000, 1560, 480), 9.75);
    m_buttons.info = makeButton(this, "okinfo", "Info", "", twipRect(7560, 4320, 1605, 480), 9.75);
    m_buttons.import = makeButton(this, "okextern", "Import",
                                  " Liest beliebige Permanenzen der Hamburger Spielbank ein ",
                                  twipRect(7560, 5040, 1575, 480), 9.75);
    m_buttons.abbrechen = makeButton(this, "okabbrechen", "Abbruch", " Neuanfang komplett ",
                                     twipRect(7560, 5760, 1575, 480), 9.75);
    m_buttons.ende = makeButton(this, "okende", "Ende", " Beendet das Programm ",
                                twipRect(7560, 6480, 1620, 450), 9.75);

    m_widgets[Control::textanzahl] = m_boxes.anzahl;
    m_widgets[Control::textakut] = m_boxes.akut;
    m_widgets[Control::textwiederhol] = m_boxes.wiederhol;
    m_widgets[Control::okstart] = m_buttons.start;
    m_widgets[Control::okinfo] = m_buttons.info;
    m_widgets[Control::okextern] = m_buttons.import;
    m_widgets[Control::okabbrechen] = m_buttons.abbrechen;
    m_widgets[Control::okende] = m_buttons.ende;
}

void MainWindow::createChooserFrame() {
    m_chooser = new ImportChooser(this);
    m_widgets[Control::Frame1] = m_chooser;
    m_widgets[Control::okexternok] = m_chooser->okButton();
    m_widgets[Control::okexternabbruch] = m_chooser->cancelButton();
}

void MainWindow::createDecorations() {
    const QColor grey = colours::kDarkGrey;
    new LineWidget("Line2", 5220, 2640, 5220, 5040, grey, this);
    new LineWidget("Line3", 4920, 3300, 5535, 3300, grey, this);
    new LineWidget("Line4", 4920, 3900, 5535, 3900, grey, this);
    new LineWidget("Line5", 4920, 4515, 5535, 4515, grey, this);
    new LineWidget("Line1", 7560, 3960, 9120, 3960, colours::kDarkBlue, this);
    new OutlineWidget("Shape1", twipRect(7320, 240, 2055, 7215), colours::kDarkBlue, this);
    // Lines and the outline lie behind every control, as drawn on the form itself.
    for (QWidget* decoration : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (dynamic_cast<LineWidget*>(decoration) || dynamic_cast<OutlineWidget*>(decoration)) {
            decoration->lower();
        }
    }
}

void MainWindow::createConnections() {
    connect(m_boxes.anzahl, &QLineEdit::textChanged, this,
            [this] { handle([this] { m_run.spinsBoxChanged(); }); });
    connect(m_boxes.wiederhol, &QLineEdit::textChanged, this,
            [this] { handle([this] { m_run.stepRateBoxChanged(); }); });
    const std::pair<QPushButton*, void (RunControl::*)()> clicks[] = {
        {m_buttons.start, &RunControl::start},       {m_buttons.reset, &RunControl::reset},
        {m_buttons.weiter, &RunControl::weiter},     {m_buttons.step, &RunControl::step},
        {m_buttons.abbrechen, &RunControl::abbruch}, {m_buttons.ende, &RunControl::ende},
    };
    for (const auto& [button, handler] : clicks) {
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { handle([this, handler] { (m_run.*handler)(); }); });
    }
    connect(m_buttons.clip, &QPushButton::clicked, this,
            [this] { handle([this] { m_run.exportResults(); }); });
    connect(m_buttons.import, &QPushButton::clicked, this, [this] {
        handle([this] { m_run.openChooser(); });
        m_chooser->raise();
    });
    connect(m_chooser, &ImportChooser::cancelled, this,
            [this] { handle([this] { m_run.cancelChooser(); }); });
    connect(m_chooser, &ImportChooser::importRequested, this, [this] {
        const PermanenceOutcome outcome =
            io::readPermanenceFile(m_chooser->chosenNativePath().toStdString(), kMostReplayedSpins);
        handle([this, &outcome] { m_run.applyPermanence(outcome); });
    });
    connect(m_buttons.info, &QPushButton::clicked, this, &MainWindow::toggleInfo);
}

// Right click on the window's background or the grid; the chart also by Ctrl+G.
void MainWindow::createContextMenu() {
    m_showCourse = new QAction(QStringLiteral("Verlauf anzeigen"), this);
    m_showCourse->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_saveSteps = new QAction(QStringLiteral("Alle Steps speichern \u2026"), this);
    m_saveSteps->setEnabled(false);
    connect(m_showCourse, &QAction::triggered, this, &MainWindow::showCourse);
    connect(m_saveSteps, &QAction::triggered, this, &MainWindow::saveSteps);
    for (QWidget* target : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_grid)}) {
        target->addAction(m_showCourse);
        target->addAction(m_saveSteps);
        target->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    m_seenHistory = m_run.historyVersion();
}

void MainWindow::showCourse() {
    if (!m_course) {
        m_course = new CourseWindow(this);
        m_course->showRun(m_run.history(), m_run.runSteprate());
        m_course->placeBeside(*this);
    }
    m_course->show();
    m_course->raise();
    m_course->activateWindow();
}

void MainWindow::saveSteps() {
    saveAllSteps(this, stepTableText(m_run.history(), m_run.runSteprate(),
                                     m_decimalSeparator.toStdString()));
}

// After each user event: the chart follows the steps, and saving needs one.
void MainWindow::followHistory() {
    if (m_run.historyVersion() == m_seenHistory) {
        return;
    }
    m_seenHistory = m_run.historyVersion();
    m_saveSteps->setEnabled(!m_run.history().empty());
    if (m_course) {
        m_course->showRun(m_run.history(), m_run.runSteprate());
    }
}

// The info text lies over the grid while it is open; it is read anew each time.
void MainWindow::toggleInfo() {
    if (m_buttons.info->text() == QLatin1String("Info")) {
        m_infotext->show();
        m_infotext->raise();
        const QString path = QDir::toNativeSeparators(QDir(m_appDir).filePath(io::kInfoFileName));
        const auto content = io::loadInfoFile(QFile::encodeName(path).toStdString());
        m_infotext->setPlainText(content ? QString::fromStdString(*content)
                                         : QStringLiteral("Problem:\nKann die Datei "
                                                          "Info_Kugellauf4.txt nicht finden."));
        m_buttons.info->setText(QStringLiteral("Ende Info"));
    } else if (m_buttons.info->text() == QLatin1String("Ende Info")) {
        m_infotext->hide();
        m_buttons.info->setText(QStringLiteral("Info"));
        m_infotext->clear();
    }
}

void MainWindow::applyStartupStates() {
    for (const auto& [control, widget] : m_widgets) {
        widget->setEnabled(enabledAtStartup(control));
        widget->setVisible(visibleAtStartup(control));
    }
}

void MainWindow::applyTabOrder() {
    QWidget* order[] = {m_boxes.anzahl,
                        m_buttons.start,
                        m_buttons.ende,
                        m_buttons.import,
                        m_buttons.abbrechen,
                        m_chooser->findChild<QWidget*>(QStringLiteral("Drive1")),
                        m_chooser->findChild<QWidget*>(QStringLiteral("Dir1")),
                        m_chooser->fileList(),
                        m_chooser->okButton(),
                        m_chooser->cancelButton(),
                        m_buttons.info,
                        m_grid,
                        m_boxes.wiederhol,
                        m_buttons.weiter,
                        m_boxes.akut,
                        m_boxes.step,
                        m_buttons.reset,
                        m_buttons.step,
                        m_infotext,
                        m_buttons.clip};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

std::string_view MainWindow::boxText(Control box) const {
    auto* edit = qobject_cast<QLineEdit*>(m_widgets.at(box));
    std::string& cached = m_boxCache[box];
    cached = edit ? edit->text().toStdString() : std::string();
    return cached;
}

void MainWindow::setText(Control control, std::string_view text) {
    if (control == Control::cliptext) {
        m_cliptext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return;
    }
    // The two input boxes are checked on every change, so they are never deferred.
    const bool checked = control == Control::textanzahl || control == Control::textwiederhol;
    PendingText& pending = m_pending[static_cast<std::size_t>(control)];
    if (m_batchDepth > 0 && !checked) {
        pending.text.assign(text);
        pending.waiting = true;
        return;
    }
    pending.waiting = false;
    applyText(control, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void MainWindow::applyText(Control control, const QString& text) {
    QWidget* widget = m_widgets.at(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != text) {
            edit->setText(text);
        }
    } else if (auto* status = dynamic_cast<StatusLabel*>(widget)) {
        status->setStatusText(text);
        refreshAccessibleName(status, text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
        refreshAccessibleName(label, text);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
    } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
        frame->setTitle(text);
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        rich->setPlainText(text);
    }
}

void MainWindow::flushPending() {
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        PendingText& pending = m_pending[i];
        if (pending.waiting) {
            pending.waiting = false;
            applyText(static_cast<Control>(i), QString::fromStdString(pending.text));
        }
    }
}

void MainWindow::setEnabled(Control control, bool enabled) {
    m_widgets.at(control)->setEnabled(enabled);
}

void MainWindow::setVisible(Control control, bool visible) {
    m_widgets.at(control)->setVisible(visible);
}

bool MainWindow::confirm(std::string_view title, std::string_view question) {
    // One box serves every question; it is built on first use.
    if (!m_confirmBox) {
        m_confirmBox = new QMessageBox(QMessageBox::Question, QString(), QString(),
                                       QMessageBox::Yes | QMessageBox::No, this);
        m_confirmBox->setTextFormat(Qt::PlainText);
    }
    m_confirmBox->setWindowTitle(QString::fromUtf8(title.data(), qsizetype(title.size())));
    m_confirmBox->setText(QString::fromUtf8(question.data(), qsizetype(question.size())));
    m_confirmBox->setDefaultButton(QMessageBox::Yes);
    return m_confirmBox->exec() == QMessageBox::Yes;
}

void MainWindow::closeWindow() {
    close();
}

void MainWindow::clipboardClear() {
    QGuiApplication::clipboard()->clear();
}

bool MainWindow::clipboardSet(std::string_view text) {
    const QString plain = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(plain);
    // Only what really arrived counts as exported.
    return clipboard->text() == plain;
}

} // namespace cr::ui
