#include "server/judgement_json.h"

#include <nlohmann/json.hpp>

std::string judgementJson(const ChallengeJudgement& judgement)
{
    nlohmann::json json{{"verified", judgement.verified}};
    if (judgement.verified) {
        json["score"] = judgement.score;
        json["level"] = judgement.level;
    } else {
        json["reason"] = judgement.reason;
    }
    return json.dump();
}

std::optional<ChallengeJudgement> parseJudgementJson(const std::string& text)
{
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    const auto field = [&json](const char* name, bool (nlohmann::json::*isKind)() const) {
        return json.is_object() && json.contains(name) && (json[name].*isKind)();
    };
    if (!field("verified", &nlohmann::json::is_boolean)) return std::nullopt;
    ChallengeJudgement judgement;
    judgement.verified = json["verified"].get<bool>();
    if (judgement.verified) {
        if (!field("score", &nlohmann::json::is_number_integer) || !field("level", &nlohmann::json::is_number_integer)) {
            return std::nullopt;
        }
        judgement.score = json["score"].get<int>();
        judgement.level = json["level"].get<int>();
    } else {
        if (!field("reason", &nlohmann::json::is_string)) return std::nullopt;
        judgement.reason = json["reason"].get<std::string>();
    }
    return judgement;
}
