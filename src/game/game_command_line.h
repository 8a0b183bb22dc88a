// What the game says about itself on its command line: its options and its keys.
#pragma once

#include "app/program_launch.h"

extern const ProgramText kGameProgram;
