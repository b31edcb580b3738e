#pragma once
// `vorn [GAME_DIR]`: the game reads every file relative to its working directory, so a game
// folder named on the command line becomes the working directory before anything is built.

#include <QStringList>
#include <QTextStream>

#include <optional>

namespace vorn {

// `args` as the application gives them (the program's name first, Qt's own options taken out).
// Moves into the folder when one is named. Returns the exit status when the program must stop
// instead (a wrong command line, a folder that does not exist), after saying why on `err`.
std::optional<int> enterGameFolder(const QStringList& args, QTextStream& err);

}  // namespace vorn
