// A long random sequence of keys, menu commands and waits must never break the screens' rules:
// at most one full-size screen shown, every shown screen flagged, no message on a complete pack.

#include "app/main.h"
#include "platform/screen.h"
#include "support/scenario.h"
#include "tools/script/scriptrunner.h"

#include <QDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <random>

using namespace vorn;
using namespace vorn::test;

namespace {

QString randomCommand(std::mt19937& random) {
    static const QStringList keys = {"Enter", "Enter", "KP1", "KP2", "KP3", "KP4", "KP1", "KP2", "F12", "1", "a", "F1"};
    static const QStringList menus = {"fichier/redémarrer", "fichier", "fichier/Les meilleurs joueurs",
                                      "options/640x480 plein écran", "options/640x480 fenêtré", "aide/à propos",
                                      "fichier/sauvegarder/Block 2", "fichier/charger/Block2", "fichier/charger/Block 4"};
    const int kind = std::uniform_int_distribution<int>(0, 99)(random);
    if (kind < 55) return "key " + keys[std::uniform_int_distribution<int>(0, int(keys.size()) - 1)(random)];
    if (kind < 60) return "menu " + menus[std::uniform_int_distribution<int>(0, int(menus.size()) - 1)(random)];
    if (kind < 61 && std::uniform_int_distribution<int>(0, 9)(random) == 0) return "key Esc";
    const int waits[] = {1, 10, 250, 500, 1000, 2500, 4000, 7000, 9850, 12000};
    return QStringLiteral("wait %1").arg(waits[std::uniform_int_distribution<int>(0, 9)(random)]);
}

void checkScreens(Tprincipal& window, int step) {
    // A complete pack gives no message, whatever the keys and commands.
    const auto* messages = dynamic_cast<const RecordingErrorPresenter*>(&window.platform().errors);
    ASSERT_NE(messages, nullptr);
    ASSERT_TRUE(messages->shown().empty()) << "message at step " << step << ": "
                                           << messages->shown().front().toStdString();
    const std::vector<Screen*> shownScreens = window.attachedScreens();
    ASSERT_LE(shownScreens.size(), 1u) << "two full-size screens at step " << step;
    const ScreenFlags& f = window.flags();
    for (const Screen* screen : shownScreens) {
        const QString name = screen->layoutName();
        const bool flagged = (name == u"ecrantitre" && f.titleScreenPresent) || (name == u"niv" && f.levelScreenPresent) ||
                             (name == u"ecran_resultat" && f.resultScreenPresent) ||
                             (name == u"highscore" && f.highscoreScreenPresent) ||
                             (name == u"enternom" && f.nameEntryScreenPresent);
        ASSERT_TRUE(flagged) << name.toStdString() << " shown without its flag at step " << step;
    }
    if (f.levelScreenPresent) {
        ASSERT_NE(window.niv(), nullptr);
    }
    if (f.titleScreenPresent) {
        ASSERT_NE(window.titre(), nullptr);
    }
    if (window.exited()) {
        ASSERT_TRUE(shownScreens.empty());
    }
}

TEST(Monkey, RandomKeysMenusAndWaitsKeepEveryScreenRule) {
    TestPack pack;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        int step = 0;
        QString text;
        QTextStream out(&text);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(pack.dir());
        {
            ScriptRunner runner(
                [&]() -> std::optional<QString> {
                    if (++step > 400) return std::nullopt;
                    return randomCommand(random);
                },
                out);
            runner.setObserver([&](Tprincipal& window) { checkScreens(window, step); });
            EXPECT_EQ(runner.run(), 0) << text.toStdString();
            EXPECT_GT(step, 400) << "the script was not played to its end";
        }
        QDir::setCurrent(previous);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "seed " << seed;
            return;
        }
    }
}

}  // namespace
