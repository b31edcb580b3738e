// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `vorn [GAME_DIR]`: the game plays the folder named on its command line, and says why it cannot.

#include "app/gamefolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorn;

namespace gamefolder_test {

class GameFolder : public ::testing::Test {
  protected:
    QString before = QDir::currentPath();
    QTemporaryDir dir;
    QString said;
    QTextStream err{&said};

    ~GameFolder() override { QDir::setCurrent(before); }

    std::optional<int> enter(const QString& folder) {
        const auto status = enterGameFolder(folder, err);
        err.flush();
        return status;
    }
};

TEST_F(GameFolder, TheFolderNamedBecomesTheWorkingDirectory) {
    EXPECT_EQ(enter(dir.path()), std::nullopt);
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(said, "");
    QDir::setCurrent(before);
    EXPECT_EQ(enter(QString()), std::nullopt);  // no folder: the working directory as it is
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(GameFolder, AMissingFolderStopsWithAMessageAndStatusTwo) {
    EXPECT_EQ(enter(dir.filePath("nowhere")), 2);
    EXPECT_EQ(said, "vorn: no game folder " + dir.filePath("nowhere") + " (it does not exist)\n");
    EXPECT_EQ(QDir::currentPath(), before);

    said.clear();
    QFile file(dir.filePath("table.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(enter(file.fileName()), 2);
    EXPECT_TRUE(said.contains("it is a file, not a folder")) << said.toStdString();
    EXPECT_EQ(QDir::currentPath(), before);
}

}  // namespace gamefolder_test
