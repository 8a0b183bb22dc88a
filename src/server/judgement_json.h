// A judgement as the verifying child prints it and the server reads it back: one JSON
// object, {"verified": true, "score": S, "level": L} or {"verified": false, "reason": R}.
#pragma once

#include "replay/challenge_judgement.h"

#include <optional>
#include <string>

std::string judgementJson(const ChallengeJudgement& judgement);
// Nothing when the text is not such an object (a child that died mid-sentence).
std::optional<ChallengeJudgement> parseJudgementJson(const std::string& text);
