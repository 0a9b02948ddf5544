// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/announce.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QPushButton>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

struct Heard {
    QAccessible::Event type;
    QString control; // the object's name, or a cell's name
};
std::vector<Heard> g_heard;

void listen(QAccessibleEvent* event) {
    QString who;
    if (event->object()) {
        who = event->object()->objectName();
    } else if (QAccessibleInterface* iface = event->accessibleInterface()) {
        who = iface->text(QAccessible::Name);
    }
    g_heard.push_back({event->type(), who});
}

// A screen reader that listens to the window, as one does while it runs.
class AnnouncementTest : public cr::testing::WindowTest {
protected:
    void SetUp() override {
        cr::ui::listenToAnnouncements(&listen);
        WindowTest::SetUp();
        g_heard.clear();
    }
    void TearDown() override {
        window.reset();
        cr::ui::listenToAnnouncements(nullptr);
    }
    int count(QAccessible::Event type, const QString& who) const {
        int n = 0;
        for (const Heard& h : g_heard) {
            n += h.type == type && h.control == who ? 1 : 0;
        }
        return n;
    }
    std::map<QString, QString> names(const char* const* controls, int n) {
        std::map<QString, QString> result;
        for (int i = 0; i < n; ++i) {
            result[controls[i]] =
                QAccessible::queryAccessibleInterface(find(controls[i]))->text(QAccessible::Name);
        }
        return result;
    }
};

// One spin: every label whose text changed is announced once, and so is
// every grid cell it changed, by its new name; nothing else is.
TEST_F(AnnouncementTest, ASpinAnnouncesEachChangeOnce) {
    startRun("10", "4");
    const char* labels[] = {"text",     "labtempa", "labtempb", "labtempc",
                            "labtempd", "labtempe", "labtempf", "labstat"};
    const auto before = names(labels, std::size(labels));
    g_heard.clear();
    find<QPushButton>("okweiter")->click();
    const auto after = names(labels, std::size(labels));
    int changedLabels = 0;
    for (const auto& [control, name] : after) {
        const int expected = name == before.at(control) ? 0 : 1;
        changedLabels += expected;
        EXPECT_EQ(count(QAccessible::NameChanged, control), expected) << control.toStdString();
    }
    EXPECT_GE(changedLabels, 6);
    const QString cells[] = {"Position 1, aktueller Wurf", "Position 1, Zahl 7",
                             "Position 1, Rot: 1x getroffen", "Position 1, Manque: 1x getroffen",
                             "Position 1, Ungerade: 1x getroffen"};
    for (const QString& cell : cells) {
        EXPECT_EQ(count(QAccessible::NameChanged, cell), 1) << cell.toStdString();
    }
    int cellEvents = 0;
    for (const Heard& h : g_heard) {
        cellEvents += h.control.startsWith("Position") ? 1 : 0;
    }
    EXPECT_EQ(cellEvents, static_cast<int>(std::size(cells)));
    EXPECT_EQ(count(QAccessible::VisibleDataChanged, "tabelle2"), 0);
}

// A series changes too many cells to tell one by one: the table is told once.
TEST_F(AnnouncementTest, ASeriesAnnouncesTheTableOnce) {
    startRun("100", "10");
    g_heard.clear();
    find<QPushButton>("okstep")->click();
    EXPECT_EQ(count(QAccessible::VisibleDataChanged, "tabelle2"), 1);
    for (const Heard& h : g_heard) {
        EXPECT_FALSE(h.control.startsWith("Position")) << h.control.toStdString();
    }
    g_heard.clear();
    find<QPushButton>("okweiter")->click(); // step 2, position 1: three cells turn blue
    EXPECT_EQ(
        count(QAccessible::NameChanged, "Position 1, Rot: in späterem Step oder erneut getroffen"),
        1);
}

// A cover hides what lies beneath from a screen reader and shows it again.
TEST_F(AnnouncementTest, ACoverHidesAndShowsWhatItCovers) {
    find<QPushButton>("okinfo")->click();
    EXPECT_EQ(count(QAccessible::ObjectHide, "tabelle2"), 1);
    EXPECT_EQ(count(QAccessible::ObjectHide, "okstart"), 0);
    find<QPushButton>("okinfo")->click();
    EXPECT_EQ(count(QAccessible::ObjectShow, "tabelle2"), 1);
    g_heard.clear();
    find<QPushButton>("okextern")->click();
    for (const char* covered : {"textanzahl", "okstart", "okinfo", "okextern", "okende"}) {
        EXPECT_EQ(count(QAccessible::ObjectHide, covered), 1) << covered;
    }
    EXPECT_EQ(count(QAccessible::ObjectHide, "tabelle2"), 0);
}

} // namespace
