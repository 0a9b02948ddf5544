// SPDX-License-Identifier: GPL-3.0-or-later
// Opening permanences of either layout from any spin, and saving a run so
// that "Import" replays it: through the real window, with real files.
#include "core/run.h"
#include "ui/files/importchooser.h"
#include "ui/grid/resultgridmodel.h"
#include "ui/main/application.h"
#include "ui/main/mainwindow.h"
#include "ui/main/runmenu.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <random>

namespace {

using cr::ui::MainWindow;

// Draws from a fixed seed, so a run has varied numbers and is repeatable.
class SeededDraws final : public cr::RandomSource {
public:
    void seedFromClock() override {}
    double next() override { return std::uniform_real_distribution<double>(0, 1)(m_engine); }

private:
    std::mt19937_64 m_engine{2026};
};

std::unique_ptr<MainWindow> newWindow(cr::RandomSource& random) {
    auto window = cr::ui::createMainWindow(random, QCoreApplication::applicationDirPath());
    window->show();
    QCoreApplication::processEvents();
    return window;
}

QString statusOf(const MainWindow& w) {
    return QString::fromStdString(w.run().statusText());
}

QString textOf(const MainWindow& w, const char* name) {
    const QObject* control = w.findChild<QObject*>(QString::fromLatin1(name));
    if (auto* box = qobject_cast<const QLineEdit*>(control)) {
        return box->text();
    }
    return control->property("text").toString();
}

void click(const MainWindow& w, const char* name) {
    w.findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

// The spins of a recorded table, read without the program's reader.
std::vector<int> spinsOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<int> spins;
    const QString all = QString::fromLatin1(file.readAll());
    for (const QString& field :
         all.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts)) {
        spins.push_back(field.toInt());
    }
    return spins;
}

const QString kTableDir = QStringLiteral(CR_WIESBADEN_DIR);
const QString kTableInRepository = QStringLiteral(CR_TEST_DATA_DIR "/wiesbaden_t1_2019-04-24.csv");

// Every recorded table opens from its first spin and from spin 100000: the
// spins box offers 9999 spins, the run replays the file's spins from there,
// and the status label names the file, its count and the first spin.
TEST(OpenPermanence, RecordedTablesFromAnySpin) {
    QStringList tables{kTableInRepository};
    for (const QString& name : QDir(kTableDir).entryList({QStringLiteral("*.csv")})) {
        tables << QDir(kTableDir).filePath(name);
    }
    for (const QString& table : tables) {
        const std::vector<int> spins = spinsOf(table);
        for (const long long from : {1LL, 100000LL}) {
            SCOPED_TRACE((table + QStringLiteral(" from %1").arg(from)).toStdString());
            SeededDraws random;
            auto w = newWindow(random);
            w->menu().files().open(table, from);
            const cr::RunState& s = w->run().state();
            EXPECT_EQ(s.modus, cr::Modus::Replayed);
            EXPECT_EQ(s.permanzahl, 9999);
            EXPECT_EQ(textOf(*w, "textanzahl"), QStringLiteral("9999"));
            for (std::size_t k = 1; k <= 9999; k += 1111) {
                EXPECT_EQ(s.permanenz[k], spins[static_cast<std::size_t>(from) - 2 + k]) << k;
            }
            EXPECT_TRUE(statusOf(*w).endsWith(
                QStringLiteral("%1 Würfe, ab Wurf %2\r  Step-Rate wählen und Start drücken.")
                    .arg(spins.size())
                    .arg(from)));
            EXPECT_FALSE(w->findChild<QPushButton*>(QStringLiteral("okextern"))->isEnabled());
            EXPECT_TRUE(w->findChild<QPushButton*>(QStringLiteral("okabbrechen"))->isEnabled());
        }
    }
}

// What a person sees after a spin: every grid cell with its colour, the six
// counters, the statistic and the spin number.
QStringList snapshot(const MainWindow& w) {
    QStringList seen;
    const cr::ui::ResultGridModel& grid = w.gridModel();
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QModelIndex i = grid.index(r, c);
            seen << i.data().toString() + i.data(Qt::BackgroundRole).toString();
        }
    }
    for (const char* label : {"labtempa", "labtempb", "labtempc", "labtempd", "labtempe",
                              "labtempf", "labstat", "textakut", "textstep"}) {
        seen << textOf(w, label);
    }
    return seen;
}

// A drawn run of 500 spins, saved as a permanence and imported with
// "Import", replays the same run: the same grid and counters at every spin.
TEST(SaveRun, ImportReplaysTheSameRun) {
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("lauf.txt"));
    std::vector<QStringList> seen;
    {
        SeededDraws random;
        auto drawn = newWindow(random);
        drawn->findChild<QLineEdit*>("textanzahl")->setText(QStringLiteral("500"));
        drawn->findChild<QLineEdit*>("textwiederhol")->setText(QStringLiteral("7"));
        click(*drawn, "okstart");
        for (int i = 0; i < 500; ++i) {
            click(*drawn, "okweiter");
            seen.push_back(snapshot(*drawn));
        }
        ASSERT_TRUE(drawn->menu().files().saveRun(saved));
    }
    // The header as the permanences of the casino are written: Windows-1252.
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\r\n500 W\xfcrfe\r\n")) << "Windows-1252, CR LF";
    SeededDraws unused;
    auto replay = newWindow(unused);
    click(*replay, "okextern");
    cr::ui::ImportChooser& chooser = replay->chooser();
    ASSERT_TRUE(chooser.openDirectory(dir.path()));
    QListWidget* files = chooser.fileList();
    ASSERT_EQ(files->count(), 1);
    files->setCurrentRow(0);
    chooser.okButton()->click();
    EXPECT_TRUE(statusOf(*replay).startsWith(
        QStringLiteral("Spielbank Chancenraster\rgezogene Zahlen\rgespeichert am ")));
    EXPECT_EQ(textOf(*replay, "textanzahl"), QStringLiteral("500"));
    replay->findChild<QLineEdit*>("textwiederhol")->setText(QStringLiteral("7"));
    click(*replay, "okstart");
    for (std::size_t i = 0; i < seen.size(); ++i) {
        click(*replay, "okweiter");
        ASSERT_EQ(snapshot(*replay), seen[i]) << "spin " << i + 1;
    }
}

// Drops one file on the window, answering whatever box it raises with its
// first button and the start-spin question with its offer; returns the
// texts they showed (the question's with its offer).
QStringList dropOn(MainWindow& w, const QString& path) {
    QStringList boxes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&boxes] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible()) {
                continue;
            }
            if (auto* box = qobject_cast<QMessageBox*>(top)) {
                boxes << box->text();
                box->buttons().front()->click();
            } else if (top->objectName() == QStringLiteral("firstSpinQuestion")) {
                boxes << top->findChild<QLabel*>(QStringLiteral("firstSpinText"))->text() + ' ' +
                             top->findChild<QLineEdit*>()->text();
                static_cast<QDialog*>(top)->accept();
            }
        }
    });
    closer.start(10);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    const QPoint centre = w.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    return boxes;
}

// A file dropped on the window opens as from the menu before a run; during
// a run nothing changes and a message says to press "Abbruch" first.
TEST(OpenPermanence, DroppedFileOpensOnlyBeforeARun) {
    SeededDraws random;
    auto w = newWindow(random);
    w->findChild<QLineEdit*>("textanzahl")->setText(QStringLiteral("20"));
    w->findChild<QLineEdit*>("textwiederhol")->setText(QStringLiteral("4"));
    click(*w, "okstart");
    const QStringList boxes = dropOn(*w, kTableInRepository);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.front().contains(QStringLiteral("\u201eAbbruch\u201c")));
    EXPECT_EQ(w->run().state().modus, cr::Modus::Drawn);

    auto fresh = newWindow(random);
    EXPECT_EQ(dropOn(*fresh, kTableInRepository),
              QStringList{QStringLiteral("Die Datei hat 187630 Würfe.\nAb welchem Wurf soll sie "
                                         "nachgespielt werden?\n\nab Wurf 1")});
    EXPECT_EQ(fresh->run().state().modus, cr::Modus::Replayed);
    EXPECT_EQ(textOf(*fresh, "textanzahl"), QStringLiteral("9999"));
    EXPECT_TRUE(statusOf(*fresh).endsWith(
        QStringLiteral("187630 Würfe, ab Wurf 1\r  Step-Rate wählen und Start drücken.")));
}

// The start-spin question takes the answer as typed: a spin past the file's
// last is not cut to one that exists, OK stays off and a line says why; a
// spin of the file is taken.
TEST(OpenPermanence, FirstSpinIsTakenAsTypedOrNotAtAll) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SeededDraws random;
    auto w = newWindow(random);
    QTimer::singleShot(0, [] {
        auto* question = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(question);
        auto* box = question->findChild<QLineEdit*>();
        auto* ok = question->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        auto* why = question->findChild<QLabel*>(QStringLiteral("firstSpinProblem"));
        QTest::keyClicks(box, QStringLiteral("999999"));
        EXPECT_EQ(box->text(), QStringLiteral("999999"));
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_EQ(why->text(), QStringLiteral("Die Datei hat nur 187.630 Würfe; bitte eine Zahl "
                                              "von 1 bis 187.630 eingeben."));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("100000"));
        EXPECT_TRUE(ok->isEnabled());
        EXPECT_TRUE(why->isHidden());
        QTest::keyClick(box, Qt::Key_Return);
        if (question->isVisible()) {
            question->reject(); // the answer was not taken: fail, but do not hang
        }
    });
    w->menu().files().open(kTableInRepository);
    QLocale::setDefault(before);
    EXPECT_EQ(w->run().state().modus, cr::Modus::Replayed);
    EXPECT_TRUE(statusOf(*w).endsWith(
        QStringLiteral("187630 Würfe, ab Wurf 100000\r  Step-Rate wählen und Start drücken.")));
}

// Files an editor saved with a byte order mark in front open as without it,
// through "Permanenz öffnen …" and through "Import".
TEST(OpenPermanence, ByteOrderMarkInFrontOfEitherLayout) {
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    SeededDraws random;
    auto opened = newWindow(random);
    // Dropped, so that a message box would be answered and named.
    EXPECT_EQ(dropOn(*opened, write("liste.csv", "\xEF\xBB\xBF"
                                                 "12,0\r\n36\r\n")),
              QStringList());
    EXPECT_EQ(opened->run().state().permanzahl, 3);
    EXPECT_EQ(opened->run().state().permanenz[1], 12);
    QFile::remove(dir.filePath(QStringLiteral("liste.csv")));

    write("kopf.txt",
          "\xEF\xBB\xBFSpielbank Wiesbaden\r\nTisch 1\r\n24.04.2019\r\nCoup\r\n7\r\n5\r\n");
    auto imported = newWindow(random);
    click(*imported, "okextern");
    cr::ui::ImportChooser& chooser = imported->chooser();
    ASSERT_TRUE(chooser.openDirectory(dir.path()));
    ASSERT_EQ(chooser.fileList()->count(), 1);
    chooser.fileList()->setCurrentRow(0);
    chooser.okButton()->click();
    EXPECT_TRUE(statusOf(*imported).startsWith(QStringLiteral("Spielbank Wiesbaden\rTisch 1\r")))
        << statusOf(*imported).toStdString();
    EXPECT_EQ(textOf(*imported, "textanzahl"), QStringLiteral("2"));
}

} // namespace
