// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random.h"
#include "io/livejournal.h"
#include "support/memory_window.h"
#include "ui/accessibility/announce.h"
#include "ui/live/livepanel.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::vector<QString> g_named; // the objects whose name a screen reader was told changed

void listen(QAccessibleEvent* event) {
    if (event->type() == QAccessible::NameChanged && event->object()) {
        g_named.push_back(event->object()->objectName());
    }
}

// The real window with its journals in a folder of the test's own.
class LiveTest : public cr::testing::WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        qputenv("XDG_DATA_HOME", folder.path().toUtf8());
        WindowTest::SetUp();
    }
    void TearDown() override {
        window.reset();
        qunsetenv("XDG_DATA_HOME");
    }
    QLineEdit* entry() const { return find<QLineEdit>("liveentry"); }
    // Ctrl+L, the step rate typed, "Start".
    void startLive(const char* steprate) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(steprate));
        find<QPushButton>("okstart")->click();
    }
    void enter(const char* text) {
        QTest::keyClicks(entry(), QString::fromLatin1(text));
        QTest::keyClick(entry(), Qt::Key_Return);
    }
    int akut() const { return window->run().state().akut; }
    // The one journal file's text.
    QString journalText() const {
        const QStringList files =
            QDir(folder.filePath(QStringLiteral("chancenraster"))).entryList(QDir::Files);
        EXPECT_EQ(files.size(), 1);
        QFile file(folder.filePath(QStringLiteral("chancenraster/") + files.value(0)));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir folder;
};

// Ctrl+L makes room for the entry below the form; after "Start" the box has
// the focus, numbers come by keys and by the tableau, a bad text is refused
// and kept for correcting, and Ctrl+Z / Ctrl+Y in the box act on the run.
TEST_F(LiveTest, EnteredByKeysAndTableauAndTakenBack) {
    const int height = window->height();
    startLive("4");
    EXPECT_EQ(window->height(), height + cr::ui::LivePanel::kHeight);
    EXPECT_EQ(find<QLineEdit>("textanzahl")->text(), QStringLiteral("9999"));
    EXPECT_EQ(QApplication::focusWidget(), entry());
    EXPECT_FALSE(find("okweiter")->isEnabled());
    EXPECT_FALSE(find("okstep")->isEnabled());
    enter("17");
    EXPECT_EQ(akut(), 1);
    EXPECT_TRUE(entry()->text().isEmpty());
    QTest::mouseClick(find<QPushButton>("livezahl0"), Qt::LeftButton);
    EXPECT_EQ(akut(), 2);
    EXPECT_EQ(QApplication::focusWidget(), entry()) << "a click on the tableau keeps the box";
    enter("x");
    EXPECT_EQ(akut(), 2);
    EXPECT_EQ(entry()->text(), QStringLiteral("x"));
    EXPECT_TRUE(find<QLabel>("text")->text().endsWith(
        QStringLiteral("\u201ex\u201c ist keine Zahl von 0 bis 36.")));
    QTest::keyClick(entry(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(akut(), 1);
    EXPECT_EQ(entry()->text(), QStringLiteral("x")) << "the box's own typing stays";
    EXPECT_TRUE(find("liveredo")->isEnabled());
    QTest::keyClick(entry(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(akut(), 2);
    EXPECT_EQ(window->run().liveNumbers(), (std::vector<int>{17, 0}));
    EXPECT_EQ(find<QLabel>("liveprogress")->text(),
              QStringLiteral("2 von höchstens 9.999 Würfen eingegeben."));
    EXPECT_EQ(journalText(), QStringLiteral("Spielbank Chancenraster\r\nLive-Eingabe\r\n")
                                 .append(journalText().section(QStringLiteral("\r\n"), 2, 2))
                                 .append(QStringLiteral("\r\nJournal\r\n--- Start 4\r\n17"
                                                        "\r\n0\r\n")));
    // Every caption of the panel fits.
    for (QWidget* w : find("livepanel")->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 8)
                << button->objectName().toStdString();
        }
    }
}

// A screen reader hears each number entered, with the counters it changed.
TEST_F(LiveTest, AScreenReaderHearsEachEntry) {
    startLive("4");
    g_named.clear();
    cr::ui::listenToAnnouncements(&listen);
    enter("32");
    cr::ui::listenToAnnouncements(nullptr);
    EXPECT_NE(std::find(g_named.begin(), g_named.end(), QStringLiteral("livelast")), g_named.end());
    EXPECT_EQ(find<QLabel>("livelast")->text(),
              QStringLiteral("32 (rot) eingegeben; geändert: Leer R/S 7, Leer M/P 7, "
                             "Leer G/U 7, 1x (rot) R/S 1, 1x (rot) M/P 1, 1x (rot) G/U 1"));
}

// A journal that cannot be written is said once; the live run goes on.
// "Ende" answered Yes finishes a journal that could: it is offered no more.
TEST_F(LiveTest, AJournalThatFailsIsReportedOnceAndTheRunGoesOn) {
    QFile blocker(folder.filePath(QStringLiteral("kein-ordner")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", blocker.fileName().toUtf8()); // a file where a folder must be
    int warnings = 0;
    QString said;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++warnings;
            said = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    watcher.start(0);
    startLive("4");
    enter("5");
    enter("6");
    watcher.stop();
    EXPECT_EQ(warnings, 1);
    EXPECT_TRUE(said.contains(QStringLiteral("Die Live-Eingabe geht weiter")))
        << said.toStdString();
    EXPECT_EQ(akut(), 2);

    qputenv("XDG_DATA_HOME", folder.path().toUtf8());
    window.reset();
    WindowTest::SetUp();
    startLive("4");
    enter("5");
    const std::string journals = folder.filePath(QStringLiteral("chancenraster")).toStdString();
    EXPECT_EQ(cr::io::unfinishedJournals(journals).size(), 0u) << "locked while it is written";
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    find<QPushButton>("okende")->click();
    EXPECT_FALSE(window->isVisible());
    window.reset();
    EXPECT_EQ(cr::io::unfinishedJournals(journals).size(), 0u);
    EXPECT_TRUE(journalText().endsWith(QStringLiteral("5\r\n--- Ende\r\n")));
}

// The panel says how far the run has come, and warns in red before its end.
TEST(LivePanelTest, WarnsBeforeTheEndOfTheRun) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    cr::support::MemoryWindow port;
    cr::SeededRandom random{1};
    cr::RunControl run(port, random, ",");
    port.run = &run;
    run.startup();
    cr::ui::LivePanel panel(nullptr);
    run.prepareLive();
    panel.follow(run);
    EXPECT_EQ(panel.progressText(), QStringLiteral("Step-Rate wählen und Start drücken."));
    EXPECT_FALSE(panel.entryBox()->isEnabled());
    port.setText(cr::Control::textwiederhol, "37");
    run.start();
    for (int k = 0; k < 9899; ++k) {
        run.liveEntry(std::to_string(k % 37));
    }
    panel.follow(run);
    EXPECT_EQ(panel.progressText(), QStringLiteral("9.899 von höchstens 9.999 Würfen eingegeben."));
    run.liveEntry("1");
    panel.follow(run);
    EXPECT_EQ(panel.progressText(),
              QStringLiteral("9.900 Würfe; noch 99 bis zum Ende des Laufs bei 9.999."));
    for (int k = 0; k < 99; ++k) {
        run.liveEntry("2");
    }
    panel.follow(run);
    EXPECT_EQ(panel.progressText(), QStringLiteral("Der Lauf ist zu Ende: 9.999 Würfe."));
    EXPECT_FALSE(panel.entryBox()->isEnabled());
    EXPECT_FALSE(panel.numberButton(17)->isEnabled());
    EXPECT_TRUE(panel.undoButton()->isEnabled());
}

} // namespace
