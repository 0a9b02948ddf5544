// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/form.h"

#include "core/texts.h"
#include "ui/common/decorations.h"
#include "ui/common/palette.h"
#include "ui/common/statuslabel.h"
#include "ui/common/twips.h"
#include "ui/common/widgetfactory.h"
#include "ui/files/importchooser.h"
#include "ui/grid/resultgridview.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

namespace cr::ui {

namespace {

enum class Kind { Heading, PlainHeading, Counter, Box, Button, Status, Grid, InfoText, Chooser };
enum class Tint { None, Blue, DarkBlue };

// One control of the form: where it lies (in twips), what it says and how.
struct ControlDef {
    Kind kind;
    const char* name;
    const char* caption;
    const char* toolTip;
    int left, top, width, height;
    double points; // font size; 0 for the kinds whose size is fixed
    Tint tint;
};

// The form from back to front: what comes later lies on top.
const ControlDef kForm[] = {
    {Kind::Heading, "Label4", "Wurf", "", 210, 30, 465, 240, 0, Tint::Blue},
    {Kind::Heading, "Label5", "Zahl", "", 720, 30, 495, 255, 0, Tint::Blue},
    {Kind::PlainHeading, "Label13", "R S", "", 1200, 30, 495, 255, 0, Tint::Blue},
    {Kind::PlainHeading, "Label14", "M P", "", 1800, 30, 375, 255, 0, Tint::Blue},
    {Kind::PlainHeading, "Label16", "G U", "", 2430, 30, 495, 255, 0, Tint::Blue},
    {Kind::Grid, "tabelle2", "", " Zeigt die Würfe an  ", 135, 270, 3090, 7200, 0, Tint::None},
    {Kind::InfoText, "infotext", "", "", 45, 270, 3480, 7215, 0, Tint::None},
    {Kind::Status, "text", "", "", 3600, 360, 3255, 855, 0, Tint::None},
    {Kind::Heading, "Label8", "Step", "", 4920, 2040, 615, 255, 0, Tint::DarkBlue},
    {Kind::Box, "textstep", "", " Laufnummer des aktuellen Steps (s. Step-Rate)  ", 4800, 2280, 855,
     375, 0, Tint::None},
    {Kind::Heading, "Label2", "Leer", "", 4350, 2850, 495, 225, 0, Tint::DarkBlue},
    {Kind::Heading, "Label15", "1x (rot)", "", 5565, 2850, 735, 255, 0, Tint::DarkBlue},
    {Kind::Heading, "Label3", "R/S", "", 3630, 3240, 375, 255, 0, Tint::DarkBlue},
    {Kind::Heading, "Label9", "M/P", "", 3630, 3840, 375, 255, 0, Tint::DarkBlue},
    {Kind::Heading, "Label11", "G/U", "", 3630, 4440, 375, 255, 0, Tint::DarkBlue},
    {Kind::Counter, "labtempa", "", " Anzahl Leere Felder bei Rot/Schwarz ", 4200, 3120, 735, 375,
     0, Tint::None},
    {Kind::Counter, "labtempb", "", " Anzahl Leere Felder bei M/P ", 4200, 3720, 735, 375, 0,
     Tint::None},
    {Kind::Counter, "labtempc", "", " Anzahl Leere Felder bei Gerade/Ungerade ", 4200, 4320, 735,
     375, 0, Tint::None},
    {Kind::Counter, "labtempd", "", " Anzahl Feld Rot/Schwarz 1xl getroffen ", 5520, 3120, 735, 375,
     0, Tint::None},
    {Kind::Counter, "labtempe", "", " Anzahl Feld  M/P 1x getroffen  ", 5520, 3720, 735, 375, 0,
     Tint::None},
    {Kind::Counter, "labtempf", "", " Anzahl Feld  Gerade/Ungerade 1x getroffen ", 5520, 4320, 735,
     375, 0, Tint::None},
    {Kind::Counter, "labstat", "",
     " Statistischer Trefferwert obiger Felder (gerundet), bezogen auf aktuellen Step  ", 4800,
     5040, 855, 375, 0, Tint::None},
    {Kind::Heading, "Label12", "Statistisch", "", 4740, 5520, 975, 255, 0, Tint::DarkBlue},
    {Kind::Button, "okweiter", "Weiter", " Nächster Einzelwurf ", 3600, 5880, 930, 555, 8.25,
     Tint::None},
    {Kind::Button, "okstep", "S t e p", " Wurfserie, Anzahl in \"Step-Rate\" definiert ", 4710,
     5880, 1050, 555, 8.25, Tint::None},
    {Kind::Button, "okreset", "Reset", " Neuanfang innerhalb der Gesamtanzahl ", 6000, 5880, 930,
     555, 8.25, Tint::None},
    {Kind::Button, "okclip", "Export",
     " Schreibt die Ergebnisse in die Zwischenablage, um sie in Excel dann einzufügen..", 4710,
     6600, 975, 375, 8.25, Tint::None},
    {Kind::Heading, "Label1", "Anzahl Würfe", "", 7560, 450, 1575, 255, 0, Tint::DarkBlue},
    {Kind::Box, "textanzahl", "", " Anzahl der gewünschten Würfe ", 7560, 720, 1575, 435, 0,
     Tint::None},
    {Kind::Heading, "Label7", "Akut", "", 8040, 1200, 615, 255, 0, Tint::DarkBlue},
    {Kind::Box, "textakut", "", " Zeigt die Laufnummer des aktuellen Wurfes an ", 7560, 1440, 1575,
     435, 0, Tint::None},
    {Kind::Heading, "Label6", "Step - Rate", "", 7470, 2040, 1575, 255, 0, Tint::DarkBlue},
    {Kind::Box, "textwiederhol", "",
     "Ab diesem Wert werden die Würfe  im linken Fenster wiederholt ", 7560, 2280, 1575, 435, 0,
     Tint::None},
    {Kind::Button, "okstart", "Start", " Startet die Simulation ", 7560, 3000, 1560, 480, 9.75,
     Tint::None},
    {Kind::Button, "okinfo", "Info", "", 7560, 4320, 1605, 480, 9.75, Tint::None},
    {Kind::Button, "okextern", "Import",
     " Liest beliebige Permanenzen der Hamburger Spielbank ein ", 7560, 5040, 1575, 480, 9.75,
     Tint::None},
    {Kind::Button, "okabbrechen", "Abbruch", " Neuanfang komplett ", 7560, 5760, 1575, 480, 9.75,
     Tint::None},
    {Kind::Button, "okende", "Ende", " Beendet das Programm ", 7560, 6480, 1620, 450, 9.75,
     Tint::None},
    {Kind::Chooser, "Frame1", "", "", 0, 0, 0, 0, 0, Tint::None},
};

// Lines drawn on the form itself, from one point to another, in twips.
struct LineDef {
    const char* name;
    int x1, y1, x2, y2;
    Tint tint;
};

const LineDef kLines[] = {
    {"Line2", 5220, 2640, 5220, 5040, Tint::None},
    {"Line3", 4920, 3300, 5535, 3300, Tint::None},
    {"Line4", 4920, 3900, 5535, 3900, Tint::None},
    {"Line5", 4920, 4515, 5535, 4515, Tint::None},
    {"Line1", 7560, 3960, 9120, 3960, Tint::DarkBlue},
};

QColor colourOf(Tint tint) {
    switch (tint) {
    case Tint::Blue:
        return colours::kBlue;
    case Tint::DarkBlue:
        return colours::kDarkBlue;
    case Tint::None:
        break;
    }
    return colours::kDarkGrey;
}

Control controlNamed(const QString& name) {
    for (std::size_t c = 0; c < kControlCount; ++c) {
        if (name == QLatin1String(controlName(static_cast<Control>(c)).data())) {
            return static_cast<Control>(c);
        }
    }
    return Control::tabelle2; // every name in the table is a control's
}

// The controls only this form has: the grid, the info text, the status
// label and the import chooser.
QWidget* makeFormOnlyControl(const ControlDef& def, QWidget* window, ResultGridModel* model,
                             Form& form) {
    const QRect rect = twipRect(def.left, def.top, def.width, def.height);
    switch (def.kind) {
    case Kind::Grid:
        form.grid = new ResultGridView(model, window);
        form.grid->setGeometry(rect);
        form.grid->setFont(windowFont(8.25, false));
        return form.grid;
    case Kind::InfoText:
        form.infotext = new QTextEdit(window);
        form.infotext->setGeometry(rect);
        form.infotext->setReadOnly(true);
        form.infotext->setFont(windowFont(8.25, false));
        form.infotext->setAcceptRichText(false);
        return form.infotext;
    case Kind::Status: {
        auto* status = new StatusLabel(window);
        status->setGeometry(rect);
        status->setFont(windowFont(8.25, false));
        status->setTextFormat(Qt::PlainText);
        status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        status->setFrameShape(QFrame::Box);
        setColours(status, colours::kBackground, colours::kBlack);
        status->fitLines(ownStatusLines());
        return status;
    }
    default:
        form.chooser = new ImportChooser(window);
        return form.chooser;
    }
}

QWidget* makeControl(const ControlDef& def, QWidget* window, ResultGridModel* model, Form& form) {
    const QString name = QString::fromUtf8(def.name);
    const QString caption = QString::fromUtf8(def.caption);
    const QString tip = QString::fromUtf8(def.toolTip);
    const QRect rect = twipRect(def.left, def.top, def.width, def.height);
    switch (def.kind) {
    case Kind::Heading:
        return makeHeading(window, name, caption, rect, colourOf(def.tint));
    case Kind::PlainHeading:
        return makeHeading(window, name, caption, rect, colourOf(def.tint), HeadingStyle::Regular);
    case Kind::Counter:
        return makeCounter(window, name, tip, rect);
    case Kind::Box:
        return makeBox(window, name, tip, rect);
    case Kind::Button:
        return makeButton(window, name, caption, tip, rect, def.points);
    default:
        break;
    }
    QWidget* widget = makeFormOnlyControl(def, window, model, form);
    widget->setObjectName(name);
    if (!tip.isEmpty()) {
        widget->setToolTip(tip);
    }
    return widget;
}

void setTabOrder(const Form& f) {
    QWidget* order[] = {f.boxes.anzahl,
                        f.buttons.start,
                        f.buttons.ende,
                        f.buttons.import,
                        f.buttons.abbrechen,
                        f.chooser->findChild<QWidget*>(QStringLiteral("Drive1")),
                        f.chooser->findChild<QWidget*>(QStringLiteral("Dir1")),
                        f.chooser->fileList(),
                        f.chooser->okButton(),
                        f.chooser->cancelButton(),
                        f.buttons.info,
                        f.grid,
                        f.boxes.wiederhol,
                        f.buttons.weiter,
                        f.boxes.akut,
                        f.boxes.step,
                        f.buttons.reset,
                        f.buttons.step,
                        f.infotext,
                        f.buttons.clip};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

// The boxes and buttons by their type, and the chooser's buttons, which the
// chooser builds itself, among the controls the run writes to.
void collectBoxesAndButtons(Form& f) {
    auto& w = f.widgets;
    f.boxes = {qobject_cast<QLineEdit*>(w[Control::textanzahl]),
               qobject_cast<QLineEdit*>(w[Control::textakut]),
               qobject_cast<QLineEdit*>(w[Control::textwiederhol]),
               qobject_cast<QLineEdit*>(w[Control::textstep])};
    auto button = [&w](Control c) { return qobject_cast<QPushButton*>(w[c]); };
    f.buttons = {button(Control::okstart),  button(Control::okweiter),    button(Control::okstep),
                 button(Control::okreset),  button(Control::okclip),      button(Control::okinfo),
                 button(Control::okextern), button(Control::okabbrechen), button(Control::okende)};
    w[Control::okexternok] = f.chooser->okButton();
    w[Control::okexternabbruch] = f.chooser->cancelButton();
}

} // namespace

Form buildForm(QWidget* window, ResultGridModel* gridModel) {
    Form form;
    for (const ControlDef& def : kForm) {
        QWidget* widget = makeControl(def, window, gridModel, form);
        const QString name = QString::fromUtf8(def.name);
        if (def.kind != Kind::Heading && def.kind != Kind::PlainHeading) {
            form.widgets[controlNamed(name)] = widget;
        }
    }
    // Lines and the outline lie behind every control, as drawn on the form.
    for (const LineDef& line : kLines) {
        (new LineWidget(QString::fromLatin1(line.name), line.x1, line.y1, line.x2, line.y2,
                        colourOf(line.tint), window))
            ->lower();
    }
    (new OutlineWidget(QStringLiteral("Shape1"), twipRect(7320, 240, 2055, 7215),
                       colours::kDarkBlue, window))
        ->lower();
    collectBoxesAndButtons(form);
    for (const auto& [control, widget] : form.widgets) {
        widget->setEnabled(enabledAtStartup(control));
        widget->setVisible(visibleAtStartup(control));
    }
    setTabOrder(form);
    return form;
}

// A refusal of a five-digit spin with an eight-character value stands for
// every refusal the import can show.
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

} // namespace cr::ui
