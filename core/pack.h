// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The content pack's files, named once: the game opens them by these names, the content checker
// looks for every one of them, the generators write them and the tests make small ones. Paths
// are relative to the game's working directory.

#include "core/layout.h"
#include "core/questions.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorn::pack {

// The question table `questionnaire`, one table file in the database directory.
constexpr const char* databaseDirectory = "dB";
constexpr const char* questionTable = "questionnaire";

// Pictures.
constexpr const char* titlePicture = "image/titre.jpg";
constexpr const char* resultsPicture = "image/resultats.jpg";
inline QString levelPicture(int level) {
    return QStringLiteral("image/niv%1.jpg").arg(level);
}
constexpr const char* playerPicture = "image/aliasMb.bmp";
// The faces, from delighted ('a') to dismayed ('e').
constexpr char firstFace = 'a';
constexpr char lastFace = 'e';
inline QString facePicture(char face) {
    return QStringLiteral("image/aliasMb-%1.bmp").arg(QLatin1Char(face));
}
constexpr const char* rightMarkPicture = "image/juste.bmp";
constexpr const char* wrongMarkPicture = "image/faux.bmp";
constexpr const char* alarmPicture = "image/alarme.bmp";

// Music and sounds.
constexpr const char* titleTune = "son/titre.mid";
constexpr int levelTunes = 6;  // a level plays one of son/1.mid to son/6.mid, drawn at random
inline QString levelTune(int n) {
    return QStringLiteral("son/%1.mid").arg(n);
}
constexpr const char* rightSound = "son/juste.wav";
constexpr const char* wrongSound = "son/faux.wav";

// Videos: 0 the intro, 1 to 4 the levels (4 the bonus), 5 the lost game, 6 the finished game.
constexpr int lastVideo = numbers::kEndOfGameVideo;
inline QString video(int n) {
    return QStringLiteral("video/%1.avi").arg(n);
}
constexpr const char* hourglass = "video/sablier2.avi";

// The rules, an HTML document opened by the desktop.
constexpr const char* rules = "vorn.hlp";

// The game's own files; it never creates their folder.
constexpr const char* saveDirectory = "save";
constexpr const char* highScoresFile = "save/highscores.ini";
constexpr const char* slotsFile = "save/Sauvegardes.ini";
// The player's options (the time to answer), apart from the saves.
constexpr const char* optionsFile = "save/options.ini";

inline QString file(const char* name) {
    return QString::fromLatin1(name);
}

// --- Every file of a complete pack, with what its place on screen asks of it ---

struct PictureFile {
    QString file;
    QSize size;       // the size it is shown at
    bool seeThrough;  // drawn with the colour of its bottom-left pixel made transparent
    bool stretched;   // stretched to its element (the backgrounds), else drawn at its own size
};

inline std::vector<PictureFile> pictures() {
    namespace L = layout::niv;
    std::vector<PictureFile> all = {{file(titlePicture), layout::screen.size(), false, true},
                                    {file(resultsPicture), layout::screen.size(), false, true}};
    for (int level = 1; level <= kLevels; ++level)
        all.push_back({levelPicture(level), layout::screen.size(), false, true});
    all.push_back({file(playerPicture), L::joueur.box.size(), true, false});
    for (char face = firstFace; face <= lastFace; ++face)
        all.push_back({facePicture(face), L::visage3.box.size(), true, false});
    all.push_back({file(rightMarkPicture), L::juste[0].box.size(), true, false});
    all.push_back({file(wrongMarkPicture), L::faux[0].box.size(), true, false});
    all.push_back({file(alarmPicture), L::alarme.box.size(), false, false});
    return all;
}

// The title tune first, then the level tunes.
inline QStringList tunes() {
    QStringList all{file(titleTune)};
    for (int n = 1; n <= levelTunes; ++n) all << levelTune(n);
    return all;
}

inline QStringList sounds() {
    return {file(rightSound), file(wrongSound)};
}

struct VideoFile {
    QString file;
    QSize frame;  // the frame it plays in
};

inline std::vector<VideoFile> interludes() {
    std::vector<VideoFile> all;
    for (int n = 0; n <= lastVideo; ++n)
        all.push_back({video(n), (n == numbers::kEndOfGameVideo ? layout::anim::endOfGamePanel
                                                                : layout::anim::panel)
                                     .size()});
    return all;
}

// Every file of a pack but the question table and the saves: what a new pack takes from an
// existing one.
inline QStringList mediaFiles() {
    QStringList files;
    for (const PictureFile& picture : pictures()) files << picture.file;
    files << tunes() << sounds();
    for (const VideoFile& interlude : interludes()) files << interlude.file;
    files << file(hourglass) << file(rules);
    return files;
}

}  // namespace vorn::pack
