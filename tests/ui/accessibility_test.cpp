// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/accessibility.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString accessibleText(QObject* object, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(kind) : QString();
}

using AccessibilityTest = cr::testing::WindowTest;

// A screen reader finds a name for every control, and the tool tip as its
// description.
TEST_F(AccessibilityTest, EveryControlHasANameAndItsToolTipAsDescription) {
    const char* controls[] = {
        "textanzahl", "textakut",    "textwiederhol", "textstep",   "okstart",
        "okweiter",   "okstep",      "okreset",       "okclip",     "okinfo",
        "okextern",   "okabbrechen", "okende",        "text",       "labtempa",
        "labtempf",   "labstat",     "tabelle2",      "infotext",   "Frame1",
        "Drive1",     "Dir1",        "File1",         "okexternok", "okexternabbruch"};
    for (const char* name : controls) {
        SCOPED_TRACE(name);
        QWidget* w = window->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(accessibleText(w, QAccessible::Name).isEmpty());
        if (!w->toolTip().isEmpty()) {
            EXPECT_EQ(accessibleText(w, QAccessible::Description), w->toolTip());
        }
    }
    EXPECT_EQ(accessibleText(window->findChild<QWidget*>("okstep"), QAccessible::Name), "Step");
}

// Walks what a screen reader reaches from the window: whatever shows has a
// name (or a label that names it); returns how many objects were seen.
int checkNamed(QAccessibleInterface* iface, int depth = 0) {
    int seen = 1;
    const bool shows = !iface->state().invisible;
    if (shows && iface->text(QAccessible::Name).trimmed().isEmpty()) {
        ADD_FAILURE() << "unnamed, role " << iface->role() << " at depth " << depth << " under "
                      << iface->parent()->text(QAccessible::Name).toStdString();
    }
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (child == nullptr) {
            ADD_FAILURE() << "child " << i << " missing";
            continue;
        }
        EXPECT_EQ(iface->indexOfChild(child), i);
        seen += checkNamed(child, depth + 1);
    }
    return seen;
}

TEST_F(AccessibilityTest, WhatAScreenReaderReachesIsNamed) {
    startRun("10", "4");
    find<QPushButton>("okweiter")->click();
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.get());
    EXPECT_GT(checkNamed(root), 8 + 4 * 8);
    find<QPushButton>("okinfo")->click();
    checkNamed(root);
}

// The status lines are read as the sentences they form.
TEST(SpokenStatus, LinesBecomeSentences) {
    const struct {
        const char* shown;
        const char* spoken;
    } cases[] = {
        {" Anzahl der gewünschten Würfe eingeben,\r  Step-Rate wählen und Start drücken.\r  "
         "Oder Import drücken und entspr. Datei der\r  Spielbank Hamburg angeben.",
         "Anzahl der gewünschten Würfe eingeben, Step-Rate wählen und Start drücken. Oder "
         "Import drücken und entspr. Datei der Spielbank Hamburg angeben."},
        {"  Geben Sie den Ort an, wo sich die Datei\r   mit den Permanenzen der Hamburger "
         "Spiel-\r   bank befindet und drücken Sie anschl. OK",
         "Geben Sie den Ort an, wo sich die Datei mit den Permanenzen der Hamburger Spielbank "
         "befindet und drücken Sie anschl. OK."},
        {" Datei nicht übernommen:\r  Wurf 5 lautet Tisch 2,\r  erlaubt sind 0 bis 36.",
         "Datei nicht übernommen: Wurf 5 lautet Tisch 2, erlaubt sind 0 bis 36."},
        {"  Ende erreicht ...", "Ende erreicht ..."},
        {"Wurf 3 lautet 7,", "Wurf 3 lautet 7."},
        {"der Step-\rRate folgt", "der Step-Rate folgt."},
        {"\r\r", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(cr::ui::spokenStatus(QString::fromUtf8(c.shown)), QString::fromUtf8(c.spoken));
    }
}

TEST_F(AccessibilityTest, StatusLabelSpeaksItsLinesAsSentences) {
    const QString startup = accessibleText(find("text"), QAccessible::Name);
    EXPECT_TRUE(startup.startsWith("Statusmeldung: Anzahl der gewünschten Würfe eingeben, "))
        << startup.toStdString();
    EXPECT_FALSE(startup.contains(",,"));
    EXPECT_FALSE(startup.contains(QLatin1Char('\r')));
    find<QPushButton>("okextern")->click();
    EXPECT_TRUE(accessibleText(find("text"), QAccessible::Name)
                    .contains("der Hamburger Spielbank befindet"));
}

} // namespace
