// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/importchooser.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// A file whose name is no valid UTF-8 is listed (its odd byte as \xNN) and
// "OK" hands over its exact name.
TEST(ImportChooser, ListsNamesThatAreNoUtf8) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string odd = QFile::encodeName(dir.path()).toStdString() + "/b\xE4"
                                                                          "d.txt";
    std::ofstream(odd) << "Spielbank\r\n";
    std::ofstream(QFile::encodeName(dir.filePath(QStringLiteral("gut.txt"))).toStdString()) << "";

    cr::ui::ImportChooser chooser(nullptr);
    ASSERT_TRUE(chooser.openDirectory(dir.path()));
    EXPECT_EQ(chooser.files(),
              (QStringList{QStringLiteral("gut.txt"), QStringLiteral("b\\xe4d.txt")}));
    chooser.fileList()->setCurrentRow(1);
    chooser.fileList()->item(1)->setSelected(true);
    EXPECT_EQ(chooser.chosenNativePath().toStdString(), odd);
    chooser.fileList()->item(0)->setSelected(true);
    chooser.fileList()->item(1)->setSelected(false);
    EXPECT_EQ(chooser.chosenNativePath(),
              QFile::encodeName(dir.filePath(QStringLiteral("gut.txt"))));
}

} // namespace
