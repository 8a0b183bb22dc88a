// The recording sound library never finishes a sound and keeps every call: a turn ends
// each one-off sound (the looping thrust and shield voices go on) and clears the calls.
#include "replay/headless_turn.h"

#include "platform/headless/fbsound_fake.h"
#include "game/game_session.h"
#include "render/framebuffer.h"

namespace {

void settleSounds(const Game& game)
{
    for (const NamedSound& sound : game.soundBank.sounds) {
        if (&sound == &game.soundBank.sounds[game.sounds.thrust] || &sound == &game.soundBank.sounds[game.sounds.shield]) {
            continue;
        }
        for (const SoundVoice& voice : sound.voices) fbsound_fake::setLoopsLeft(voice.sound, 0);
    }
    fbsound_fake::clearCalls();
}

} // namespace

bool playHeadlessTurn(PlaySession& session, Game& game)
{
    const bool running = playTurn(session, game);
    settleSounds(game);
    return running;
}

bool playReplayTurnDrawingLastFrame(PlaySession& session, Game& game)
{
    const DemoReplay& replay = *session.replay;
    skipScreenPixels(replay.played + 1 < replay.demo.frames.size());
    const bool running = playHeadlessTurn(session, game);
    skipScreenPixels(false);
    return running;
}
