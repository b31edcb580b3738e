// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/HighScores.h"

#include "core/layout.h"
#include "core/pack.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "records/Player.h"
#include "screens/accessibility.h"
#include "screens/host.h"

#include <optional>

namespace vorn {

namespace highscore = layout::highscore;

Thighscore::Thighscore(GameHost& host)
    : Screen(QStringLiteral("highscore")),
      Image1(this, highscore::Image1),
      titre(this, highscore::titre),
      Timer1(host.platform().clock, highscore::Timer1Ms, [this] { Timer1Timer(); }),
      host_(host) {
    static_assert(kPlaces == highscore::places);
    Image1.setStretch(true);
    for (int k = 1; k <= kPlaces; ++k) {
        place_[k - 1] = std::make_unique<Label>(this, highscore::place[k - 1]);
        place(k).stackBefore(&titre);  // the place numbers lie under the title, as laid out
    }
    for (int k = 1; k <= kPlaces; ++k)
        nom_[k - 1] = std::make_unique<Label>(this, highscore::nom[k - 1]);
    for (int k = 1; k <= kPlaces; ++k)
        score_[k - 1] = std::make_unique<Label>(this, highscore::score[k - 1]);

    expose(Image1);
    for (int k = 1; k <= kPlaces; ++k) expose(place(k));
    expose(titre);
    for (int k = 1; k <= kPlaces; ++k) expose(nom(k));
    for (int k = 1; k <= kPlaces; ++k) expose(score(k));
    expose(QStringLiteral("Timer1"), Timer1);
    // A row is read as one text: its place, the name and the score.
    std::vector<Reading> readings{{QAccessible::Heading, [this] { return titre.text(); }, &titre}};
    for (int k = 1; k <= kPlaces; ++k)
        readings.push_back(
            {QAccessible::StaticText, [this, k] { return bestPlayerRow(k); }, &nom(k)});
    describeForReading(*this, std::move(readings));
}

QString Thighscore::bestPlayerRow(int k) {
    return spoken(place(k).text()) + QStringLiteral(" : ") + spoken(nom(k).text()) +
           QStringLiteral(", ") + spoken(score(k).text()) + QStringLiteral(" points");
}

Thighscore::~Thighscore() = default;

void Thighscore::affich(tscores& table) {
    highscoreScreenDone_ = false;
    Timer1.setEnabled(true);  // the seven seconds count from here
    std::optional<QString> pictureError;
    try {
        Image1.load(pack::file(pack::resultsPicture));
    } catch (const Error& e) {
        // Without its background the table is still worth showing, and the game still goes on
        // after it.
        pictureError = e.message();
    }
    for (int k = 1; k <= kPlaces; ++k) nom(k).setText(table.entry(k).name);
    for (int k = 1; k <= kPlaces; ++k) score(k).setText(QString::number(table.entry(k).score));
    QString said = spoken(titre.text()) + u'.';
    for (int k = 1; k <= kPlaces; ++k) said += u' ' + bestPlayerRow(k) + u'.';
    announce(*this, said);
    if (pictureError) host_.platform().errors.present(messageBoxText(*pictureError));

    host_.waitUntil([this] { return highscoreScreenDone_; });
}

void Thighscore::Timer1Timer() {
    Timer1.setEnabled(false);
    highscoreScreenDone_ = true;
}

void Thighscore::shutdown() {
    Timer1.setEnabled(false);
}

}  // namespace vorn
