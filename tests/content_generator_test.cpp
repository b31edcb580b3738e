// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The generator of the default pack: the same bytes every time, and a clear refusal of what it
// does not know.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "support/defaultpack.h"

#include <gtest/gtest.h>

namespace content_generator_test {

using namespace vorn::test;

TEST(ContentGenerator, GivesTheSameBytesEveryTime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess generator;
    generator.start(kBuild + "/vorn-content", {dir.path(), "pictures", "music", "sounds"});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    int compared = 0;
    for (const QString& sub : {QStringLiteral("image"), QStringLiteral("son")}) {
        for (const QString& name : QDir(dir.path() + "/" + sub).entryList(QDir::Files)) {
            const QString file = sub + "/" + name;
            EXPECT_EQ(readFile(dir.path() + "/" + file), readFile(kGame + "/" + file))
                << qPrintable(file);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 24);
    EXPECT_TRUE(QDir(dir.path() + "/save").exists());
}

TEST(ContentGenerator, RefusesWhatItDoesNotKnow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess generator;
    generator.start(kBuild + "/vorn-content", {});
    ASSERT_TRUE(generator.waitForFinished(30000));
    EXPECT_EQ(generator.exitCode(), 2);
    generator.start(kBuild + "/vorn-content", {dir.path(), "posters"});
    ASSERT_TRUE(generator.waitForFinished(30000));
    EXPECT_EQ(generator.exitCode(), 1);
    EXPECT_TRUE(generator.readAllStandardError().contains("posters"));
}

}  // namespace content_generator_test
