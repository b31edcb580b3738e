// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Content pack folders: what a folder holds, where the default pack is, reading a pack's question
// table, and writing a new pack from an existing pack's media and a new question table.

#include "content/bank/questionbank.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vorn::packtool {

enum class FolderKind { Missing, Empty, Pack, Other };

// A pack is a folder holding the question table file; an empty folder or one that does not
// exist may become one; anything else is someone's folder.
FolderKind folderKind(const QString& dir);

// The pack whose media a new pack takes: the `game` folder beside the tool (the build's layout),
// or the tool's own folder when the tool lives in a pack. Empty when neither is a pack.
QString defaultPack(const QString& toolDir);

// The media files of mediaFiles() that `pack` lacks.
QStringList missingMedia(const QString& pack);

// The rows of a pack's question table, read as the checker reads them. Raises
// std::runtime_error naming the file when it cannot.
std::vector<bank::Question> readPackQuestions(const QString& pack);

// What writing a pack did.
struct PackWriting {
    int copied = 0;  // media files copied from the source pack
    int kept = 0;    // media files the folder already had, left as they were
};

// Writes `questions` as the folder's question table (replacing the one there) and copies every
// media file from `from` that the folder does not hold yet; makes the save folder. Files the
// folder has beyond these are never touched. Raises std::runtime_error naming the file on
// failure.
PackWriting writePack(const QString& from, const QString& dir,
                      const std::vector<bank::Question>& questions);

// Whether two paths name the same folder.
bool sameFolder(const QString& a, const QString& b);

}  // namespace vorn::packtool
