// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/stepsaver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using cr::ui::writeWholeFile;

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

const std::string kTable = "Step \t1\t2\r\nStatistisch \t37\t18,5\r\n";

// A longer file is replaced whole, and no temporary file stays behind.
TEST(StepSaver, WritesExactlyTheTextOverAnyFileThere) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("verlauf.txt"));
    put(path, QByteArray(500, 'x'));

    const auto result = writeWholeFile(path, kTable);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(contentOf(path), QByteArray::fromStdString(kTable));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("verlauf.txt")});
}

// Failures the superuser meets too, each told in German with what happened;
// nothing is left behind.
TEST(StepSaver, SaysWhatHappenedWhenNothingWasWritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString parent = dir.filePath(QStringLiteral("datei"));
    put(parent, "alt\r\n");
    const QString device = dir.filePath(QStringLiteral("geraet.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), device));

    const auto underAFile = writeWholeFile(parent + QStringLiteral("/verlauf.txt"), kTable);
    EXPECT_FALSE(underAFile.ok);
    EXPECT_TRUE(underAFile.error.contains(QStringLiteral("Zwischendatei")))
        << underAFile.error.toStdString();
    EXPECT_TRUE(underAFile.error.contains(QStringLiteral("unverändert")));
    EXPECT_EQ(contentOf(parent), QByteArray("alt\r\n"));

    const auto toADevice = writeWholeFile(device, kTable);
    EXPECT_FALSE(toADevice.ok);
    EXPECT_TRUE(toADevice.error.contains(QStringLiteral("keine gewöhnliche Datei")));
    EXPECT_TRUE(QFileInfo(device).isSymLink());
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());

    const QString missing = dir.filePath(QStringLiteral("fehlt/verlauf.txt"));
    const auto inAMissingDirectory = writeWholeFile(missing, kTable);
    EXPECT_FALSE(inAMissingDirectory.ok);
    EXPECT_FALSE(inAMissingDirectory.error.isEmpty());
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

} // namespace
