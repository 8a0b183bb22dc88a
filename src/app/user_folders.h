// Where the user's own files live, by the XDG base-directory rules: settings under
// $XDG_CONFIG_HOME (by default ~/.config), data such as an edited ship under
// $XDG_DATA_HOME (by default ~/.local/share), each in a folder of the game's own. The
// environment is passed in, so tests never read or write the real home folder.
#pragma once

#include <functional>
#include <string>

// Looks up an environment variable; empty when it is not set.
using Environment = std::function<std::string(const std::string& name)>;
// The process's own environment.
Environment processEnvironment();

// The name of the folder that the game's files have under each base folder.
inline const std::string kUserFolderName = "space-game";

// "$XDG_DATA_HOME/space-game", else "$HOME/.local/share/space-game"; empty when
// neither variable gives an absolute path (XDG says to ignore relative ones).
std::string userDataFolder(const Environment& environment);
// "$XDG_CONFIG_HOME/space-game", else "$HOME/.config/space-game"; empty likewise.
std::string userConfigFolder(const Environment& environment);
// The base those are in: "$XDG_CONFIG_HOME", else "$HOME/.config"; empty likewise.
std::string configHome(const Environment& environment);

// Why the folders above are empty when no XDG variable gives them, in words for the
// user: "HOME is not set" or "HOME is not an absolute path (x)"; empty when HOME is fine.
std::string homeProblem(const Environment& environment);

// Makes the folder and any missing parents, private to the user (0700) as XDG asks.
// True when it exists as a folder afterwards; otherwise error names the path and why.
bool makeFolders(const std::string& path, std::string& error);
