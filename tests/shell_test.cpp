// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the desktop is handed when the game opens a document: the rules are HTML under a name
// that desktops do not type as HTML, so they go over as a ".html" copy that follows the original.

#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace shell_test {

class DesktopDocument : public ::testing::Test {
  protected:
    QTemporaryDir game, cache;
    QString inGame(const QString& name) const { return QDir(game.path()).filePath(name); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(inGame(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
};

TEST_F(DesktopDocument, HtmlRulesGoOverAsAnHtmlCopyThatFollowsTheRules) {
    write("vorn.hlp", "\xEF\xBB\xBF  <!DOCTYPE html><html><body>Règles, version 1</body></html>");
    const QString copy = vorn::documentForDesktop(inGame("vorn.hlp"), cache.path());
    EXPECT_EQ(copy, QDir(cache.path()).filePath("vorn.html"));
    EXPECT_EQ(read(copy), read(inGame("vorn.hlp")));

    write("vorn.hlp", "<html><body>Règles, version 2</body></html>");
    EXPECT_EQ(vorn::documentForDesktop(inGame("vorn.hlp"), cache.path()), copy);
    EXPECT_EQ(read(copy), "<html><body>Règles, version 2</body></html>");

    // Comments before the doctype, such as a licence header.
    write("vorn.hlp",
          "<!--\n  the licence of the rules\n-->\n<!-- -->\n<!DOCTYPE html><html></html>");
    EXPECT_EQ(vorn::documentForDesktop(inGame("vorn.hlp"), cache.path()), copy);
}

TEST_F(DesktopDocument, OtherDocumentsGoOverAsTheyAreAndAMissingOneNotAtAll) {
    write("notes.html", "<p>already named as HTML</p>");
    EXPECT_EQ(vorn::documentForDesktop(inGame("notes.html"), cache.path()), inGame("notes.html"));
    write("aide.hlp", "?_\x03\x00 a help file of another kind");
    EXPECT_EQ(vorn::documentForDesktop(inGame("aide.hlp"), cache.path()), inGame("aide.hlp"));
    write("notes.hlp", "<!-- a comment that never ends <html>");
    EXPECT_EQ(vorn::documentForDesktop(inGame("notes.hlp"), cache.path()), inGame("notes.hlp"));
    EXPECT_EQ(vorn::documentForDesktop(inGame("vorn.hlp"), cache.path()), QString());
    EXPECT_TRUE(QDir(cache.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace shell_test
