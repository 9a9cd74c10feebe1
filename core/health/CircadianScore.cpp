#include "core/health/CircadianScore.h"

#include <algorithm>

namespace solvara {

CircadianScore::DailyScore CircadianScore::calculate(std::int64_t exposureScore, std::int64_t breakScore,
                                                     std::int64_t protocolScore, Date date) {
    DailyScore score;
    score.date = date;
    score.exposureScore = std::clamp<std::int64_t>(exposureScore, 0, 40);
    score.breakScore = std::clamp<std::int64_t>(breakScore, 0, 30);
    score.protocolScore = std::clamp<std::int64_t>(protocolScore, 0, 30);
    score.totalScore = score.exposureScore + score.breakScore + score.protocolScore;
    // The total lies within 0...100, where the bands agree with Grade::from.
    score.grade = Grade::from(score.totalScore);
    return score;
}

}  // namespace solvara
