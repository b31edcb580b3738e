// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records/Player.h"

#include "platform/ini.h"

namespace vorn {

namespace {

QString sectionOf(int place) {
    return QStringLiteral("place%1").arg(place);
}

const QString kNameKey = QStringLiteral("nom");
const QString kScoreKey = QStringLiteral("score");

}  // namespace

const QString tscores::kNobody = QStringLiteral("anonyme");
const QString tscores::kFileName = QStringLiteral("save/highscores.ini");

tscores::tscores(QString fileName) : fileName_(std::move(fileName)) {
    for (auto& e : entries_) e = std::make_unique<TJoueur>(kNobody, 0);
}

tscores::~tscores() = default;

void tscores::charger() {
    IniFile file(fileName_);
    for (int place = 1; place <= kPlaces; ++place) {
        TJoueur& e = entry(place);
        e.score = file.readInteger(sectionOf(place), kScoreKey, 0);
        e.name = file.readString(sectionOf(place), kNameKey, kNobody);
    }
    file.release();
}

bool tscores::qualifie(const TJoueur& player) const {
    return player.score >= entry(kPlaces).score;
}

void tscores::inserer(const TJoueur& player) {
    // Copied first: the player may be one of the entries that are about to move.
    const QString name = player.name;
    const qint32 s = player.score;
    const auto t = [this](int place) { return entry(place).score; };
    if (s < t(kPlaces)) return;

    int p = 1;
    if (s <= t(1)) {
        // The last place whose upper neighbour is at least s and which is itself below s; on a
        // table read out of order several may match. None matches when s equals the last score.
        p = kPlaces;
        for (int k = 2; k <= kPlaces; ++k) {
            if (t(k - 1) >= s && t(k) < s) p = k;
        }
    }
    // From the bottom up, so that each entry is copied before it is overwritten.
    for (int k = kPlaces - 1; k >= p; --k) {
        entry(k + 1).name = entry(k).name;
        entry(k + 1).score = entry(k).score;
    }
    entry(p).name = name;
    entry(p).score = s;
}

void tscores::recordOnDisk(const TJoueur& player) {
    const FolderLock lock(fileName_);
    charger();
    inserer(player);
    sauver();
}

void tscores::sauver() {
    IniFile file(fileName_);
    for (int place = 1; place <= kPlaces; ++place) {
        file.writeString(sectionOf(place), kNameKey, entry(place).name);
        file.writeInteger(sectionOf(place), kScoreKey, entry(place).score);
    }
    file.release();
}

}  // namespace vorn
