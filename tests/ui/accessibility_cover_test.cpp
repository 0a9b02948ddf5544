// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using CoverTest = cr::testing::WindowTest;

bool isWindowChild(QWidget* window, QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window);
    for (int i = 0; i < iface->childCount(); ++i) {
        if (iface->child(i)->object() == widget) {
            EXPECT_EQ(iface->indexOfChild(iface->child(i)), i);
            return true;
        }
    }
    return false;
}

// Opening "Info" or the import chooser moves the focus into it; what lies
// beneath stays shown but leaves the tab order and a screen reader's view
// until the cover closes, and then the focus goes back to the opening button.
TEST_F(CoverTest, CoveredControlsLeaveTabOrderAndViewWhileCovered) {
    const struct {
        const char* opener;
        const char* closer;
        const char* firstFocus;
        std::vector<const char*> covered;
        std::vector<const char*> beside;
    } covers[] = {
        {"okinfo", "okinfo", "infotext", {"tabelle2"}, {"okinfo", "text", "Label4", "okweiter"}},
        {"okextern",
         "okexternabbruch",
         "Drive1",
         {"Label1", "textanzahl", "textakut", "textwiederhol", "okstart", "okinfo", "okextern",
          "okabbrechen", "okende"},
         {"Frame1", "text", "tabelle2", "textstep"}},
    };
    for (const auto& c : covers) {
        SCOPED_TRACE(c.opener);
        std::map<QWidget*, Qt::FocusPolicy> policies;
        for (const char* name : c.covered) {
            policies[find(name)] = find(name)->focusPolicy();
            EXPECT_TRUE(isWindowChild(window.get(), find(name))) << name;
        }
        find<QPushButton>(c.opener)->click();
        EXPECT_EQ(window->focusWidget(), find(c.firstFocus));
        for (const char* name : c.covered) {
            QWidget* w = find(name);
            EXPECT_TRUE(w->isVisible()) << name;
            EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << name;
            EXPECT_FALSE(isWindowChild(window.get(), w)) << name;
        }
        for (const char* name : c.beside) {
            EXPECT_TRUE(isWindowChild(window.get(), find(name))) << name;
        }
        for (int tab = 0; tab < 30; ++tab) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(policies.count(window->focusWidget()), 0u)
                << window->focusWidget()->objectName().toStdString();
        }
        find(c.firstFocus)->setFocus();
        find<QPushButton>(c.closer)->click();
        EXPECT_EQ(window->focusWidget(), find(c.opener));
        for (const auto& [w, policy] : policies) {
            EXPECT_EQ(w->focusPolicy(), policy) << w->objectName().toStdString();
            EXPECT_TRUE(isWindowChild(window.get(), w)) << w->objectName().toStdString();
        }
    }
}

// The covered grid reports itself invisible; hiding the whole window
// (minimised, say) leaves an open cover covering.
TEST_F(CoverTest, TheCoveredGridIsInvisibleAlsoAfterTheWindowHides) {
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(find("tabelle2"));
    EXPECT_FALSE(grid->state().invisible);
    find<QPushButton>("okinfo")->click();
    window->hide();
    window->show();
    EXPECT_TRUE(grid->state().invisible);
    EXPECT_EQ(find("tabelle2")->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(isWindowChild(window.get(), find("tabelle2")));
    find<QPushButton>("okinfo")->click();
    EXPECT_FALSE(grid->state().invisible);
}

} // namespace
