#include "engine/note_lanes.h"

#include <algorithm>
#include <cassert>

namespace sordanel {

void NoteLanes::Run(std::span<SoundEngine* const> engines, std::span<GenerationResult> results,
                    std::span<std::exception_ptr> failures) {
    const std::size_t count = engines.size();
    assert(count <= kMaxNotes && results.size() == count && failures.size() == count);
    std::array<bool, kMaxNotes> running{};
    std::array<bool, kMaxNotes> asked{};  // the note waits for steps up to until
    std::array<std::uint32_t, kMaxNotes> until{};
    // A note that throws ends alone, as a render of its own would; the others go on.
    const auto attempt = [&](std::size_t i, auto&& action) {
        try {
            action();
            return true;
        } catch (const std::exception&) {
            failures[i] = std::current_exception();
            results[i] = GenerationResult::WriteFailed;
            running[i] = false;
            return false;
        }
    };

    std::int32_t pointCount = 0;
    std::int32_t bowPoint = 0;
    for (std::size_t i = 0; i < count; ++i) {
        attempt(i, [&] {
            if (auto ended = engines[i]->StartNote(false)) {
                results[i] = *ended;
                return;
            }
            const BowedString& string = engines[i]->string();
            if (pointCount == 0) {
                pointCount = string.pointCount();
                bowPoint = string.bowPoint();
            }
            if (string.pointCount() == pointCount && string.bowPoint() == bowPoint) {
                running[i] = true;
            } else {
                results[i] = engines[i]->RunToEnd();  // a string of another shape steps alone
            }
        });
    }
    if (pointCount == 0) {
        return;
    }
    lanes_.Setup(pointCount, bowPoint);
    const std::int32_t middle = pointCount / 2;
    for (;;) {
        // Every note that runs asks for steps; the pass takes as many as the nearest asks.
        std::uint32_t pass = kPassSteps;
        bool any = false;
        for (std::size_t i = 0; i < count; ++i) {
            const auto lane = static_cast<std::int32_t>(i);
            if (running[i] && !asked[i]) {
                bool more = false;
                attempt(i, [&] {
                    more = engines[i]->NextSteps(until[i]);
                    if (!more) {
                        results[i] = engines[i]->FinishNote();
                        running[i] = false;
                    }
                });
                if (!more) {
                    lanes_.Rest(lane);
                    continue;
                }
                asked[i] = true;
                if (engines[i]->TakeStringReplaced()) {
                    lanes_.Load(lane, engines[i]->string());
                }
                lanes_.SetBow(lane, engines[i]->string().bow(), engines[i]->stepBowVelocity(),
                              engines[i]->prevBowVelocity());
            }
            if (running[i]) {
                pass = std::min(pass, until[i] - engines[i]->stepCount());
                any = true;
            }
        }
        if (!any) {
            return;
        }
        for (std::uint32_t step = 0; step < pass; ++step) {
            lanes_.Step();
            for (std::size_t i = 0; i < count; ++i) {
                const auto lane = static_cast<std::int32_t>(i);
                steps_[i][step] = {lanes_.bridgeForce(lane), lanes_.stringSum(lane)};
                middles_[i][step] = lanes_.displacement(lane, middle);
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (running[i]) {
                const auto lane = static_cast<std::int32_t>(i);
                engines[i]->TakeSteps(lanes_, lane, steps_[i].data(), middles_[i].data(), pass);
                asked[i] = engines[i]->stepCount() < until[i];
            }
        }
    }
}

}  // namespace sordanel
