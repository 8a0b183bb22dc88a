// The game's pictures: the three textures the triangle filler lays on things, the
// flame sprite, and the background that also fixes the size of the world.
#pragma once

#include <string>

struct Image;

struct GameImages {
    Image* rock = nullptr;  // asteroids
    Image* ship = nullptr;
    Image* shot = nullptr;
    Image* flame = nullptr; // thrust flames, drawn by the blender
    Image* background = nullptr;
};

// Loads the textures from dataFolder/visual/ in the order rock, ship, shot, flame, then
// sets the world size from space.png's header and loads it as the background. A
// picture that is missing or broken, or a texture that the filler cannot wrap (a side
// or pitch that is not a power of two), fails the whole load: error names the file and
// the problem, and nothing stays loaded.
bool loadGameImages(GameImages& images, const std::string& dataFolder, std::string& error);
void freeGameImages(GameImages& images);
