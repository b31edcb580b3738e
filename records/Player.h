// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The table of the ten best final scores and its file "save/highscores.ini": one section per
// place, "place1" (the best) to "place10", each with the keys "nom" (the player's name) and
// "score". The table is read afresh at every use; what is on disk is the only lasting state.

#include <QString>

#include <array>
#include <memory>

namespace vorn {

// A player: a name and a final score, which may be negative.
class TJoueur {
  public:
    TJoueur(QString playerName, qint32 playerScore)
        : name(std::move(playerName)), score(playerScore) {}

    QString name;
    qint32 score = 0;
};

class tscores {
  public:
    static constexpr int kPlaces = 10;
    // The name of an empty place, and of a place whose file entry has no name.
    static const QString kNobody;
    // The table's file, relative to the working directory.
    static const QString kFileName;

    // Ten places "anonyme" with 0. `fileName` is where charger() and sauver() read and write.
    explicit tscores(QString fileName = kFileName);
    tscores(const tscores&) = delete;
    tscores& operator=(const tscores&) = delete;
    ~tscores();

    // Fills the ten places from the file in file order, without sorting; a missing file,
    // section or key leaves the default ("anonyme", 0), a score that is not an integer reads 0.
    void charger();
    // Whether the player's score enters the table: at least the score of place 10.
    bool qualifie(const TJoueur& player) const;
    // Copies the player's name and score in at its rank; below the last place with a score at
    // least as high, so older entries keep the higher places among equal scores. The entry of
    // place 10 leaves the table. Does nothing when the score does not qualify.
    void inserer(const TJoueur& player);
    // Writes the ten places to the file, "nom" then "score" for place 1 to 10, as one pass.
    // Raises "Unable to write to <file name>" when the file cannot be written.
    void sauver();
    // Records a player whose game has ended: reads the table again, inserts the player into what
    // the file holds now and writes it, with the file locked from the read to the write, so that
    // another copy of the game that recorded its own player meanwhile keeps its record. Raises as
    // sauver() does.
    void recordOnDisk(const TJoueur& player);

    // The entry of place `place`, 1 to 10. The entries live as long as the table: loading and
    // inserting change them in place.
    TJoueur& entry(int place) { return *entries_.at(static_cast<std::size_t>(place - 1)); }
    const TJoueur& entry(int place) const {
        return *entries_.at(static_cast<std::size_t>(place - 1));
    }
    const QString& fileName() const { return fileName_; }

  private:
    QString fileName_;
    std::array<std::unique_ptr<TJoueur>, kPlaces> entries_;
};

}  // namespace vorn
