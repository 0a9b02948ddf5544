#include "ui/stepsaver.h"

#include <QDir>
#include <QFile>
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

TEST(StepSaver, ReportsAMissingDirectoryAndWritesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("fehlt/verlauf.txt"));
    const auto result = writeWholeFile(path, kTable);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(StepSaver, LeavesAnExistingFileInAReadOnlyDirectoryAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("verlauf.txt"));
    put(path, "alt\r\n");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(dir.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) { // the superuser writes anywhere
        probe.remove();
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
        GTEST_SKIP() << "read-only directories are writable for this user";
    }

    const auto result = writeWholeFile(path, kTable);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(contentOf(path), QByteArray("alt\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("verlauf.txt")});
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
