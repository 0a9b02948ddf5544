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

// Walks what a screen reader reaches from the window: whatever shows has a
// name (or a label that names it) and its tool tip as description, and
// nothing inside a hidden object shows or has the focus; returns how many
// objects were seen.
int checkNamed(QAccessibleInterface* iface, bool insideHidden = false) {
    int seen = 1;
    const QAccessible::State state = iface->state();
    const QString where =
        iface->parent()->text(QAccessible::Name) + " > " + iface->text(QAccessible::Name);
    if (!state.invisible && iface->text(QAccessible::Name).trimmed().isEmpty()) {
        ADD_FAILURE() << "unnamed, role " << iface->role() << " in " << where.toStdString();
    }
    if (auto* widget = qobject_cast<QWidget*>(iface->object()); widget && widget->toolTip() != "") {
        EXPECT_EQ(iface->text(QAccessible::Description), widget->toolTip()) << where.toStdString();
    }
    if (insideHidden && (!state.invisible || state.focused)) {
        ADD_FAILURE() << "shown or focused while hidden: " << where.toStdString();
    }
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (child == nullptr) {
            ADD_FAILURE() << "child " << i << " missing";
            continue;
        }
        EXPECT_EQ(iface->indexOfChild(child), i);
        seen += checkNamed(child, insideHidden || state.invisible);
    }
    return seen;
}

// Four spins in, with the chooser and the info text hidden, and again with
// each of them open.
TEST_F(AccessibilityTest, WhatAScreenReaderReachesIsNamed) {
    startRun("10", "4");
    for (int spin = 0; spin < 4; ++spin) {
        find<QPushButton>("okweiter")->click();
    }
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.get());
    QAccessibleInterface* dirs = QAccessible::queryAccessibleInterface(find("Dir1"));
    ASSERT_GT(dirs->childCount(), 0);
    EXPECT_TRUE(dirs->child(dirs->childCount() - 1)->state().invisible);
    EXPECT_GT(checkNamed(root), 8 + 4 * 8 + dirs->childCount());
    find<QPushButton>("okinfo")->click();
    checkNamed(root);
    find<QPushButton>("okinfo")->click();
    abbruch();
    find<QPushButton>("okextern")->click();
    EXPECT_FALSE(dirs->child(0)->state().invisible);
    checkNamed(root);
    // The status label speaks its lines as the sentences they form.
    EXPECT_EQ(accessibleText(find("text"), QAccessible::Name),
              "Statusmeldung: Geben Sie den Ort an, wo sich die Datei mit den Permanenzen der "
              "Hamburger Spielbank befindet und drücken Sie anschl. OK.");
    EXPECT_EQ(accessibleText(find("okstep"), QAccessible::Name), "Step");
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

} // namespace
