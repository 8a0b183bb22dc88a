// Screenshots: the 640 x 480 picture on screen saved as a PNG in the player's
// pictures folder, named by the local date and time. The file appears whole or not
// at all (it is written under a temporary name and renamed).
#pragma once

#include "app/user_folders.h"

#include <ctime>
#include <string>
#include <vector>

// "space-game" in the user's Pictures folder (see pictures_folder.h), or in the home
// folder when there is none; empty without a home. Adds the lookup's warnings.
std::string screenshotFolder(const Environment& environment, std::vector<std::string>& warnings);
// "FOLDER/space-game-2026-12-07-153012.png" for that time, with "-2", "-3", ... before
// the extension while the name is taken.
std::string freeScreenshotPath(const std::string& folder, const std::tm& localTime);
// Saves the screen as it is now into folder, making the folder if needed. True with
// the file's path; false with the reason, naming the file or folder, and no file left.
bool saveScreenshot(const std::string& folder, const std::tm& localTime, std::string& path, std::string& error);
