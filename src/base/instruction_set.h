// The one choice that every subsystem's hot loops follow: their SSE2 form where the
// compiler targets SSE2 (x86-64), their portable C++ form everywhere else (64-bit ARM)
// and whenever the build option PORTABLE_PATHS asks for it, so that the portable forms
// are tested on x86-64 too. Both forms give the same bits; each subsystem has one
// header that includes the form this build runs.
#pragma once

#if defined(__SSE2__) && !defined(SPACE_GAME_PORTABLE_PATHS)
#define SPACE_GAME_SSE2 1
#else
#define SPACE_GAME_SSE2 0
#endif
